#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>

// The POSIX side of a serial port: which device a port number names, opening it for exclusive
// use, the line settings through termios, and the reasons a device cannot be opened, in words.
namespace PortDevice {

// Port n opens <program folder>/ports/COM<n> when that entry exists (a link to any terminal
// device), and <systemFolder>/ttyS<n-1> otherwise, so COM1 is /dev/ttyS0.
QString DeviceForPort(const QString& portsFolder, quint32 portNumber, const QString& systemFolder = "/dev");
// Whether ports/COM<n> exists (as a link, whether or not its device is there).
bool HasPortLink(const QString& portsFolder, quint32 portNumber);

struct LineSettings {
    qint32 baudRate = 9600;
    int dataBits = 8; // 5..8
    int parity = 2;   // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int stopBits = 0; // 0 one, 1 one and a half (two on Linux), 2 two
};

// The terminal flags that ApplyLineSettings asks the driver for. (A pseudo-terminal keeps only
// some of them: it always reports 8 data bits and no parity.)
struct TermiosFlags {
    quint32 iflag, oflag, cflag, lflag, speed;
};
TermiosFlags TermiosFor(const LineSettings& settings);

// Raw mode, the given line settings, receiver on, modem lines ignored, no hardware flow
// control; RTS asserted where the driver has it. Returns false when the driver refuses.
bool ApplyLineSettings(int fd, const LineSettings& settings);

// Line error flags since the previous call (frame, parity, overrun, break), where the driver
// counts them; 0 otherwise. `counters` keeps the previous counts between calls.
struct ErrorCounters {
    int frame = 0, parity = 0, overrun = 0, brk = 0;
    bool valid = false;
    bool unsupported = false; // the driver keeps no counters: not asked again
};
quint32 TakeLineErrors(int fd, ErrorCounters& counters);

// Why an open failed, by the errno it left; the words for the operator come from the language.
enum class OpenFailure { NoDevice, PermissionDenied, Busy, NotSerial, Other };
OpenFailure ClassifyOpenError(int error);
// The system's own words for an errno, for failures of the kind Other.
QString SystemErrorText(int error);

} // namespace PortDevice

// An open device, shared by the port, its read thread and any thread that is writing. The device
// is closed when the last of them lets go. `closing` is signalled by TComPort::Close so that a
// writer blocked on a full output queue gives up at once.
class TPortHandle {
public:
    // Opens `device` for reading and writing, exclusively (flock and TIOCEXCL). On failure
    // returns nullptr and stores errno in `error`.
    static std::shared_ptr<TPortHandle> Open(const QString& device, int& error);
    ~TPortHandle();
    TPortHandle(const TPortHandle&) = delete;
    TPortHandle& operator=(const TPortHandle&) = delete;

    int Fd() const { return fd_; }
    int ClosingFd() const { return closingFd_; }
    void SignalClosing();

    // Writes all of `count` bytes, waiting while the output queue is full, but not beyond
    // `timeoutMs` in all and never once Close has begun. True when every byte was taken.
    bool WriteAll(const char* bytes, qsizetype count, int timeoutMs);

private:
    TPortHandle(int fd, int closingFd) : fd_(fd), closingFd_(closingFd) {}
    int fd_;
    int closingFd_;
    std::mutex writeMutex_; // one write at a time, so that lines are never interleaved
};
