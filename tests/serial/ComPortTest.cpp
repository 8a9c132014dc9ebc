#include "serial/ComPort.h"
#include "Pty.h"
#include "Wait.h"
#include "serial/PortDevice.h"
#include "serial/PortReceiver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

namespace {

// Takes the port's chunks on its read thread, as the program's reply reader does. With `hold`,
// each chunk waits inside ChunkReceived until the port interrupts it (as a full queue does).
class ChunkRecorder : public IPortReceiver {
public:
    void ChunkReceived(const QByteArray& chunk, quint32) override {
        std::unique_lock lock(mutex_);
        if (hold) {
            ++held;
            changed_.notify_all();
            changed_.wait(lock, [&] { return interrupted_; });
            return;
        }
        chunks_.append(chunk);
    }
    void Interrupt() override {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
        changed_.notify_all();
    }
    void Resume() override {
        std::lock_guard lock(mutex_);
        interrupted_ = false;
    }
    QList<QByteArray> Chunks() const {
        std::lock_guard lock(mutex_);
        return chunks_;
    }
    // Waits until a chunk is held inside ChunkReceived.
    bool WaitUntilHeld() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::minutes(1), [&] { return held > 0; });
    }
    std::atomic<bool> hold{false};
    int held = 0;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    QList<QByteArray> chunks_;
    bool interrupted_ = false;
};

// A port on COM<n> of a temporary ports folder, linked to a pseudo-terminal the test drives.
class PortFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.Ok());
        Link(1, pty.SlavePath());
        port = std::make_unique<TComPort>(ports.path());
        port->SetReceiver(&receiver);
        port->SetPortNumber(1);
        port->SetDataBitsIndex(3);
        port->SetStopBits(0);
        port->SetParity(2);
        port->SetBaudIndex(6);
    }

    void Link(int n, const QString& device) {
        const QString link = ports.filePath("COM" + QString::number(n));
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(device, link));
    }

    void OpenAndRead() {
        port->Open();
        ASSERT_TRUE(port->Connected()) << port->LastOpenError();
        port->EnableReading(true);
    }

    QByteArray Received() const {
        QByteArray all;
        for (const QByteArray& c : receiver.Chunks())
            all += c;
        return all;
    }

    struct termios2 LineSettings() const {
        struct termios2 tio {};
        ioctl(pty.KeeperFd(), TCGETS2, &tio);
        return tio;
    }

    QTemporaryDir ports;
    Pty pty;
    ChunkRecorder receiver;
    std::unique_ptr<TComPort> port;
};

} // namespace

TEST_F(PortFixture, ASingleByteArrivesAsAChunkOfOne) {
    OpenAndRead();
    pty.Write("*");
    ASSERT_TRUE(WaitUntil([&] { return !receiver.Chunks().isEmpty(); }));
    EXPECT_EQ(receiver.Chunks(), QList<QByteArray>{"*"});
}

TEST_F(PortFixture, ChunksNeverExceedInBufSizeAndNothingIsLeftBehind) {
    OpenAndRead();
    pty.Write(QByteArray(1500, 'a'));
    ASSERT_TRUE(WaitUntil([&] { return Received().size() == 1500; }));
    const QList<QByteArray> chunks = receiver.Chunks();
    for (const QByteArray& c : chunks)
        EXPECT_LE(c.size(), 1000);
    EXPECT_EQ(chunks.first().size(), 1000) << "everything waiting is taken, up to the buffer";
}

TEST_F(PortFixture, WaitFullBufferHoldsBackUntilTheBufferIsFull) {
    port->WaitFullBuffer = true;
    OpenAndRead();
    pty.Write(QByteArray(999, 'x'));
    RunEventsFor(150);
    EXPECT_TRUE(receiver.Chunks().isEmpty()) << "999 bytes wait for more";
    pty.Write("y");
    ASSERT_TRUE(WaitUntil([&] { return !receiver.Chunks().isEmpty(); }));
    const QList<QByteArray> chunks = receiver.Chunks();
    ASSERT_EQ(chunks.size(), 1);
    EXPECT_EQ(chunks.first().size(), 1000);
    EXPECT_EQ(chunks.first().back(), 'y');
}

TEST_F(PortFixture, InBufSizeChangesOnlyWhileClosedAndNeverToZero) {
    port->SetInBufSize(0);
    EXPECT_EQ(port->InBufSize(), 1000);
    port->SetInBufSize(16);
    EXPECT_EQ(port->InBufSize(), 16);
    OpenAndRead();
    port->SetInBufSize(500);
    EXPECT_EQ(port->InBufSize(), 16);
    pty.Write(QByteArray(40, 'z'));
    ASSERT_TRUE(WaitUntil([&] { return Received().size() == 40; }));
    for (const QByteArray& c : receiver.Chunks())
        EXPECT_LE(c.size(), 16);
}

TEST_F(PortFixture, WritesReachTheDeviceAndFailAtOnceWhenClosed) {
    OpenAndRead();
    EXPECT_TRUE(port->WriteText("MV200*"));
    EXPECT_EQ(pty.Read(6), QByteArray("MV200*"));
    EXPECT_FALSE(port->WriteBuffer(nullptr, 3));
    port->Close();
    EXPECT_FALSE(port->WriteText("ED*"));
}

TEST_F(PortFixture, CloseAndReopenReceivesAgainAndRepeatsAreHarmless) {
    OpenAndRead();
    port->Open(); // already open: nothing
    EXPECT_TRUE(port->Connected());
    port->Close();
    port->Close(); // already closed: nothing
    EXPECT_FALSE(port->Connected());
    OpenAndRead();
    pty.Write("E10*");
    ASSERT_TRUE(WaitUntil([&] { return Received() == "E10*"; }));
}

TEST_F(PortFixture, ChangingThePortNumberReopensAndTheNewThreadWaitsForEnable) {
    Pty second;
    Link(7, second.SlavePath());
    OpenAndRead();
    port->SetPortNumber(1); // same number: the port stays as it is, still reading
    pty.Write("A*");
    ASSERT_TRUE(WaitUntil([&] { return Received() == "A*"; }));

    port->SetPortNumber(7);
    EXPECT_TRUE(port->Connected());
    EXPECT_EQ(port->DeviceName(), ports.filePath("COM7"));
    second.Write("B*");
    RunEventsFor(100);
    EXPECT_EQ(Received(), "A*") << "paused until EnableReading(true)";
    port->EnableReading(true);
    ASSERT_TRUE(WaitUntil([&] { return Received() == "A*B*"; }));
}

TEST_F(PortFixture, ASecondOpenerOfTheSameDeviceIsRefused) {
    OpenAndRead();
    ChunkRecorder otherReceiver;
    TComPort other(ports.path());
    other.SetReceiver(&otherReceiver);
    other.SetPortNumber(1);
    other.Open();
    EXPECT_FALSE(other.Connected());
    EXPECT_EQ(other.LastOpenError(), EBUSY);
    port->Close();
    other.Open();
    EXPECT_TRUE(other.Connected()) << "free again once the first lets go";
}

TEST_F(PortFixture, AMissingDeviceIsNotOpened) {
    port->SetPortNumber(9); // no link: /dev/ttyS8, which a test machine does not have
    if (QFile::exists("/dev/ttyS8"))
        GTEST_SKIP() << "this machine has /dev/ttyS8";
    port->Open();
    EXPECT_FALSE(port->Connected());
    EXPECT_NE(port->LastOpenError(), 0);
    Link(9, "/nonexistent/device");
    port->Open();
    EXPECT_EQ(port->LastOpenError(), ENOENT);
}

TEST_F(PortFixture, AHangUpEndsReadingOnceAndTheDeviceCanBeOpenedAgain) {
    OpenAndRead();
    QSignalSpy hungUp(port.get(), &TComPort::HungUp);
    pty.HangUp();
    ASSERT_TRUE(WaitUntil([&] { return hungUp.count() > 0; }));
    EXPECT_FALSE(port->Connected());
    RunEventsFor(100);
    EXPECT_EQ(hungUp.count(), 1);
    EXPECT_EQ(hungUp.first().first().toString(), ports.filePath("COM1"));
    EXPECT_FALSE(port->WriteText("BG*"));

    // The device comes back under the same name.
    Pty back;
    Link(1, back.SlavePath());
    OpenAndRead();
    back.Write("E10*");
    ASSERT_TRUE(WaitUntil([&] { return Received().endsWith("E10*"); }));
}

TEST_F(PortFixture, LineSettingsReachTheDeviceAtOnceWhileOpen) {
    // A pseudo-terminal keeps speed, stop bits and the raw mode, but always reports 8 data bits
    // without parity; the flags asked for are checked in PortLineSettings below.
    OpenAndRead();
    struct termios2 tio = LineSettings();
    EXPECT_EQ(tio.c_ospeed, 9600u);
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
    EXPECT_FALSE(tio.c_cflag & CRTSCTS) << "output never waits for CTS";
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG)) << "raw mode";
    EXPECT_FALSE(tio.c_iflag & (ICRNL | IXON)) << "bytes pass unchanged";

    port->SetStopBits(2);
    port->SetBaudIndex(7);
    tio = LineSettings();
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_EQ(tio.c_ospeed, 14400u) << "rates without a B constant are set exactly";
}

TEST(PortLineSettings, EveryParityDataBitsAndStopBitsChoiceBecomesItsFlags) {
    using PortDevice::TermiosFor;
    const auto flags = [](int dataBits, int parity, int stopBits) {
        return TermiosFor({9600, dataBits, parity, stopBits}).cflag;
    };
    const tcflag_t parityBits = PARENB | PARODD | CMSPAR;
    EXPECT_EQ(flags(8, 0, 0) & parityBits, tcflag_t(0));
    EXPECT_EQ(flags(8, 1, 0) & parityBits, tcflag_t(PARENB | PARODD));
    EXPECT_EQ(flags(8, 2, 0) & parityBits, tcflag_t(PARENB));
    EXPECT_EQ(flags(8, 3, 0) & parityBits, tcflag_t(PARENB | PARODD | CMSPAR)) << "mark: always 1";
    EXPECT_EQ(flags(8, 4, 0) & parityBits, tcflag_t(PARENB | CMSPAR)) << "space: always 0";
    EXPECT_EQ(flags(5, 0, 0) & CSIZE, tcflag_t(CS5));
    EXPECT_EQ(flags(6, 0, 0) & CSIZE, tcflag_t(CS6));
    EXPECT_EQ(flags(7, 0, 0) & CSIZE, tcflag_t(CS7));
    EXPECT_EQ(flags(8, 0, 0) & CSIZE, tcflag_t(CS8));
    EXPECT_FALSE(flags(8, 2, 0) & CSTOPB);
    EXPECT_TRUE(flags(5, 2, 1) & CSTOPB) << "one and a half stop bits: the nearest Linux has";
    EXPECT_TRUE(flags(8, 2, 2) & CSTOPB);
    const auto all = TermiosFor({115200, 8, 2, 0});
    EXPECT_TRUE(all.cflag & CLOCAL) << "modem lines ignored: no hang-up on a missing carrier";
    EXPECT_TRUE(all.cflag & CREAD);
    EXPECT_FALSE(all.cflag & CRTSCTS);
    EXPECT_FALSE(all.iflag & INPCK) << "no parity checking";
    EXPECT_EQ(all.speed, 115200u);
}

TEST_F(PortFixture, ASpeedChosenWhileClosedTakesEffectAtTheNextOpen) {
    port->SetBaudIndex(12);
    EXPECT_EQ(port->BaudIndex(), 12);
    EXPECT_NE(LineSettings().c_ospeed, 115200u);
    OpenAndRead();
    EXPECT_EQ(LineSettings().c_ospeed, 115200u);
}

TEST_F(PortFixture, ClosingWhileTheReceiverHoldsAChunkInterruptsIt) {
    receiver.hold = true;
    OpenAndRead();
    pty.Write("E10*");
    ASSERT_TRUE(receiver.WaitUntilHeld());
    port->Close(); // returns only once the read thread has ended: the receiver was interrupted
    EXPECT_FALSE(port->Connected());
    EXPECT_TRUE(receiver.Chunks().isEmpty());
}

TEST_F(PortFixture, LineSettingsChangeWhileAnotherThreadWrites) {
    // The writer reads the baud rate for its time-out while the main thread changes the line
    // settings (the port settings dialog does so on an open port). The ThreadSanitizer build
    // (make tsan) fails this test when the settings are not safe to share.
    OpenAndRead();
    std::atomic<bool> done{false};
    std::atomic<int> written{0};
    std::thread writer([&] {
        while (!done) {
            if (port->WriteText("BG*"))
                ++written;
            pty.Read(3, 1000);
        }
    });
    for (int i = 0; i < 200; ++i) {
        port->SetBaudIndex(quint8(i % 2 ? 6 : 12));
        port->SetParity(quint8(i % 3));
    }
    ASSERT_TRUE(WaitUntil([&] { return written > 0; }, 10000));
    done = true;
    writer.join();
    EXPECT_GT(written, 0);
}
