#pragma once

#include <QByteArray>

#include <functional>

struct telnet_t;
union telnet_event_t;

// The Telnet side of a line over RFC 2217: the controller's bytes framed as Telnet data (an
// IAC byte doubled both ways), binary mode asked for both ways, and the COM port control option,
// through which the line settings reach the remote serial port. The framing itself is
// libtelnet's. Not thread-safe: its owner serialises every call.
class TRfc2217 {
public:
    // `toNetwork` takes the bytes that must go to the peer (data, answers to its negotiation).
    explicit TRfc2217(std::function<void(const char*, size_t)> toNetwork);
    ~TRfc2217();
    TRfc2217(const TRfc2217&) = delete;
    TRfc2217& operator=(const TRfc2217&) = delete;

    // Offers the options; the line settings go out once the server agrees to the COM port option.
    void Start();
    void SendData(const char* bytes, size_t count);
    // The data in what came from the peer (negotiation answered, option replies dropped).
    QByteArray Receive(const char* bytes, size_t count);
    // Baud rate, data bits (5..8), parity (0 none, 1 odd, 2 even, 3 mark, 4 space), stop bits
    // (0 one, 1 one and a half, 2 two): sent now, or when the option is agreed.
    void SetLine(quint32 baud, int dataBits, int parity, int stopBits);
    // The server agreed to the COM port option; it answered it (agreed or refused).
    bool ComPortAgreed() const { return agreed_; }
    bool ComPortAnswered() const { return agreed_ || refused_; }
    // Where the bytes for the peer go from now on.
    void SetToNetwork(std::function<void(const char*, size_t)> toNetwork) {
        toNetwork_ = std::move(toNetwork);
    }

private:
    static void Event(telnet_t* telnet, telnet_event_t* event, void* self);
    void SendLine();

    std::function<void(const char*, size_t)> toNetwork_;
    telnet_t* telnet_ = nullptr;
    QByteArray received_;
    bool agreed_ = false;
    bool refused_ = false;
    bool lineWanted_ = false;
    quint32 baud_ = 9600;
    int dataBits_ = 8, parity_ = 2, stopBits_ = 0;
};
