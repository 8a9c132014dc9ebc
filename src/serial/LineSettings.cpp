// The termios part of PortDevice. It uses the kernel's termios2 interface, which takes any baud
// rate (14400 and 56000 have no Bxxx constant), and so includes the kernel headers instead of
// <termios.h>; the two cannot meet in one translation unit.
#include "PortDevice.h"

#include <asm/termbits.h>
#include <linux/serial.h>
#include <sys/ioctl.h>

namespace PortDevice {

namespace {

void BuildTermios(struct termios2& tio, const LineSettings& s) {
    tio.c_iflag &=
        ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~tcflag_t(OPOST);
    tio.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &=
        ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);

    switch (s.dataBits) {
    case 5:
        tio.c_cflag |= CS5;
        break;
    case 6:
        tio.c_cflag |= CS6;
        break;
    case 7:
        tio.c_cflag |= CS7;
        break;
    default:
        tio.c_cflag |= CS8;
        break;
    }
    switch (s.parity) {
    case 1: // odd
        tio.c_cflag |= PARENB | PARODD;
        break;
    case 2: // even
        tio.c_cflag |= PARENB;
        break;
    case 3: // mark: the parity bit is always 1
        tio.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case 4: // space: the parity bit is always 0
        tio.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    // Linux has no one and a half stop bits; two is the nearest the drivers offer.
    if (s.stopBits != 0)
        tio.c_cflag |= CSTOPB;

    tio.c_ispeed = tio.c_ospeed = static_cast<speed_t>(s.baudRate);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
}

} // namespace

TermiosFlags TermiosFor(const LineSettings& settings) {
    struct termios2 tio {};
    tio.c_cflag = CS8 | CREAD; // what a fresh terminal has
    BuildTermios(tio, settings);
    return {tio.c_iflag, tio.c_oflag, tio.c_cflag, tio.c_lflag, tio.c_ospeed};
}

bool ApplyLineSettings(int fd, const LineSettings& s) {
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return false;
    BuildTermios(tio, s);
    if (ioctl(fd, TCSETS2, &tio) != 0)
        return false;

    // RTS asserted; pseudo-terminals have no modem lines and refuse, which is harmless.
    int rts = TIOCM_RTS;
    ioctl(fd, TIOCMBIS, &rts);
    return true;
}

quint32 TakeLineErrors(int fd, ErrorCounters& counters) {
    // A driver that keeps no counters (a pseudo-terminal, many USB adapters) is asked once.
    if (counters.unsupported)
        return 0;
    struct serial_icounter_struct icount {};
    if (ioctl(fd, TIOCGICOUNT, &icount) != 0) {
        counters.unsupported = true;
        return 0;
    }
    // Flag values as the controller software has always received them.
    constexpr quint32 kOverrun = 0x0002, kParity = 0x0004, kFrame = 0x0008, kBreak = 0x0010;
    quint32 flags = 0;
    if (counters.valid) {
        if (icount.overrun + icount.buf_overrun != counters.overrun)
            flags |= kOverrun;
        if (icount.parity != counters.parity)
            flags |= kParity;
        if (icount.frame != counters.frame)
            flags |= kFrame;
        if (icount.brk != counters.brk)
            flags |= kBreak;
    }
    counters = {icount.frame, icount.parity, icount.overrun + icount.buf_overrun, icount.brk, true};
    return flags;
}

} // namespace PortDevice
