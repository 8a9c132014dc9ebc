#include "Rfc2217.h"

#include <libtelnet.h>

#include <array>

namespace {

// RFC 2217's option and the client's commands of it.
constexpr unsigned char kComPortOption = 44;
constexpr unsigned char kSetBaudRate = 1, kSetDataSize = 2, kSetParity = 3, kSetStopSize = 4;

const telnet_telopt_t kOptions[] = {
    {TELNET_TELOPT_BINARY, TELNET_WILL, TELNET_DO},
    {TELNET_TELOPT_SGA, TELNET_WILL, TELNET_DO},
    {kComPortOption, TELNET_WILL, TELNET_DONT},
    {-1, 0, 0},
};

} // namespace

TRfc2217::TRfc2217(std::function<void(const char*, size_t)> toNetwork)
    : toNetwork_(std::move(toNetwork)), telnet_(telnet_init(kOptions, &TRfc2217::Event, 0, this)) {}

TRfc2217::~TRfc2217() {
    if (telnet_)
        telnet_free(telnet_);
}

void TRfc2217::Event(telnet_t*, telnet_event_t* event, void* self) {
    auto* me = static_cast<TRfc2217*>(self);
    switch (event->type) {
    case TELNET_EV_DATA:
        me->received_.append(event->data.buffer, qsizetype(event->data.size));
        break;
    case TELNET_EV_SEND:
        me->toNetwork_(event->data.buffer, event->data.size);
        break;
    case TELNET_EV_DO:
        if (event->neg.telopt == kComPortOption) {
            me->agreed_ = true;
            if (me->lineWanted_)
                me->SendLine();
        }
        break;
    case TELNET_EV_DONT: // the server refuses the option we offered
        if (event->neg.telopt == kComPortOption)
            me->refused_ = !me->agreed_;
        break;
    default:
        break; // the server's option replies and warnings change nothing here
    }
}

void TRfc2217::Start() {
    if (!telnet_)
        return;
    telnet_negotiate(telnet_, TELNET_WILL, TELNET_TELOPT_BINARY);
    telnet_negotiate(telnet_, TELNET_DO, TELNET_TELOPT_BINARY);
    telnet_negotiate(telnet_, TELNET_WILL, TELNET_TELOPT_SGA);
    telnet_negotiate(telnet_, TELNET_DO, TELNET_TELOPT_SGA);
    telnet_negotiate(telnet_, TELNET_WILL, kComPortOption);
}

void TRfc2217::SendData(const char* bytes, size_t count) {
    if (telnet_)
        telnet_send(telnet_, bytes, count);
}

QByteArray TRfc2217::Receive(const char* bytes, size_t count) {
    received_.clear();
    if (telnet_)
        telnet_recv(telnet_, bytes, count);
    return received_;
}

void TRfc2217::SetLine(quint32 baud, int dataBits, int parity, int stopBits) {
    baud_ = baud;
    dataBits_ = dataBits;
    parity_ = parity;
    stopBits_ = stopBits;
    lineWanted_ = true;
    if (agreed_)
        SendLine();
}

void TRfc2217::SendLine() {
    if (!telnet_)
        return;
    const std::array<char, 5> baud = {char(kSetBaudRate), char(baud_ >> 24), char(baud_ >> 16),
                                      char(baud_ >> 8), char(baud_)};
    telnet_subnegotiation(telnet_, kComPortOption, baud.data(), baud.size());
    const char size[] = {char(kSetDataSize), char(dataBits_)};
    telnet_subnegotiation(telnet_, kComPortOption, size, sizeof size);
    // RFC 2217 counts parity from 1 (none) and stop bits as 1 one, 2 two, 3 one and a half.
    const char parity[] = {char(kSetParity), char(parity_ + 1)};
    telnet_subnegotiation(telnet_, kComPortOption, parity, sizeof parity);
    const char stop[] = {char(kSetStopSize), char(stopBits_ == 0 ? 1 : stopBits_ == 1 ? 3 : 2)};
    telnet_subnegotiation(telnet_, kComPortOption, stop, sizeof stop);
}
