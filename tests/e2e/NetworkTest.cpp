// A controller on the network: the simulator's pseudo-terminal behind a real ser2net on the
// loopback address, reached as tcp:// (the bytes as they are) and as rfc2217:// (Telnet, with
// the line settings sent to the remote port); the server stopped mid-list; addresses that refuse,
// time out or do not exist; the simulator listening on TCP itself; kvtctl over ser2net.
#include "FakeView.h"
#include "FastSimulator.h"
#include "NetworkPorts.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "SessionRooms.h"
#include "Wait.h"
#include "core/UnitCommonDatas.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "serial/ComPort.h"
#include "serial/NetworkLine.h"
#include "serial/SerialDevices.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <atomic>
#include <mutex>
#include <thread>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

class NetworkFixture : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartFastSimulator(simulator));
        ASSERT_NO_FATAL_FAILURE(StartServer(GetParam()));
        session = std::make_unique<TSession>(folder.Path(), view, &view);
        session->Controller().Connection().Choice().UseDevice(Address());
    }
    void TearDown() override {
        session.reset();
        server.kill();
        server.waitForFinished();
    }
    // ser2net in front of the simulator's terminal, one accepter of `kind` (tcp, rfc2217, or
    // telnet: Telnet without the COM port option); a second client refused unless `kick`.
    void StartServer(const QString& kind, bool kick = true) {
        const QString ser2net = QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"});
        ASSERT_FALSE(ser2net.isEmpty()) << "ser2net is not installed (make test installs it)";
        port = FreeLoopbackPort();
        const QString accepter = kind == "tcp"      ? "tcp,127.0.0.1,"
                                 : kind == "telnet" ? "telnet,tcp,127.0.0.1,"
                                                    : "telnet(rfc2217),tcp,127.0.0.1,";
        const QString config = folder.File("ser2net.yaml");
        folder.Write("ser2net.yaml", QString("connection: &controller\n"
                                             "  accepter: %1%2\n"
                                             "  connector: serialdev,%3,9600e81,local\n"
                                             "  options:\n"
                                             "    kickolduser: %4\n")
                                         .arg(accepter)
                                         .arg(port)
                                         .arg(QString::fromStdString(simulator.SlavePath()))
                                         .arg(kick ? "true" : "false")
                                         .toUtf8());
        address = QString("%1://127.0.0.1:%2").arg(kind == "telnet" ? "rfc2217" : kind).arg(port);
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.start(ser2net, {"-n", "-d", "-c", config, "-P", folder.File("ser2net.pid")});
        ASSERT_TRUE(server.waitForStarted());
        ASSERT_TRUE(WaitUntil([&] { return ListeningOn(port); }, 10000)) << "ser2net does not listen";
    }
    QString Address() const { return address; }
    bool WaitForEnd() {
        return WaitUntil([&] { return !session->Controller().Sending().IsSending(); }, 60000);
    }
    QString X(int id) const { return session->Lang().ExtraText(id); }

    ProgramFolder folder;
    ScriptedDialogs dialogs;
    kvtsim::Simulator simulator;
    FakeView view;
    QProcess server;
    int port = 0;
    QString address;
    std::unique_ptr<TSession> session;
};

} // namespace

TEST_P(NetworkFixture, AListIsSentAnsweredAndReadBackThroughTheServer) {
    // A port number keeps the address as it keeps a device: its link names the address.
    ASSERT_TRUE(
        SerialDevices::LinkPort(session->Controller().Connection().Choice().PortsFolder(), 3, Address())
            .linked);
    session->Controller().Connection().Choice().UseDevice({});
    session->Controller().Connection().ChoosePort(3);
    EXPECT_EQ(session->Controller().Connection().Choice().Device(), folder.File("ports/COM3"));
    std::vector<QString> opened;
    QObject::connect(&session->Controller().Connection(), &TConnection::Opened,
                     [&](const QString& d) { opened.push_back(d); });
    ASSERT_TRUE(session->Controller().Connection().Open())
        << session->Controller().Connection().OpenFailure().toStdString();
    EXPECT_EQ(opened, std::vector<QString>{Address()}) << "the log and the tooltip name the address";
    EXPECT_TRUE(view.log.isEmpty() || !view.redLines.contains(true)) << view.log.join('\n').toStdString();
    std::vector<TSendReport> reports;
    QObject::connect(&session->Controller().Sending(), &TSending::Ended,
                     [&](const TSendReport& r) { reports.push_back(r); });
    const QStringList program{"LD2", "BG", "SD300", "MV1000", "ED"};
    ASSERT_EQ(session->Controller().Sending().Send(program), TSending::Start::Started);
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].end, TSendReport::End::Completed);
    EXPECT_EQ(simulator.Program(2), (std::vector<std::string>{"BG", "SD300", "MV1000"}));

    QString text;
    QObject::connect(&session->Controller().ReadBack(), &TReadingBack::Done,
                     [&](TChanReadThread::Outcome, const QString& t) { text = t; });
    ASSERT_EQ(session->Controller().ReadBack().Begin(2), TReadingBack::Start::Started);
    ASSERT_TRUE(WaitUntil([&] { return !text.isEmpty(); }, 10000));
    EXPECT_EQ(text, "RD2*LD2*BG*SD300*MV1000*ED*");
}

TEST_P(NetworkFixture, TheServerStoppedMidListIsALostDeviceAndNothingHangs) {
    kvtsim::Options slow = simulator.GetOptions();
    slow.replyDelayMs = 20;
    simulator.SetOptions(slow);
    ASSERT_TRUE(session->Controller().Connection().Open());
    std::vector<TSendReport> reports;
    QObject::connect(&session->Controller().Sending(), &TSending::Ended,
                     [&](const TSendReport& r) { reports.push_back(r); });
    ASSERT_EQ(session->Controller().Sending().Send(QStringList(500, "SD100")), TSending::Start::Started);
    ASSERT_TRUE(simulator.WaitForCommands(5, 10000));
    server.kill();
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].end, TSendReport::End::Completed);
    EXPECT_LT(simulator.Commands().size(), 500u);
    EXPECT_FALSE(session->Controller().Connection().IsOpen());
    ASSERT_TRUE(WaitUntil([&] { return view.log.contains(X(Ext::DeviceConnectionLost).arg(Address())); }));
    EXPECT_TRUE(view.log.contains(X(Ext::NetworkReopen).arg(Address()))) << view.log.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(BothKinds, NetworkFixture, ::testing::Values("tcp", "rfc2217"),
                         [](const auto& info) { return std::string(info.param); });

using Rfc2217Fixture = NetworkFixture;

TEST_P(Rfc2217Fixture, TheLineSettingsReachTheRemotePortWhenItOpensAndWhenTheyChange) {
    TLineChoice line;
    line.baudIndex = 8; // 19200
    line.stopBits = 2;
    session->Controller().Connection().SetLineSettings(line);
    ASSERT_TRUE(session->Controller().Connection().Open());
    // Each setting is a message of its own: the last one sent is waited for.
    ASSERT_TRUE(WaitUntil(
        [&] { return simulator.TerminalSpeed() == B19200 && (simulator.TerminalControlFlags() & CSTOPB); },
        5000))
        << "the pseudo-terminal runs at " << simulator.TerminalSpeed();
    line.baudIndex = 5; // 4800
    line.stopBits = 0;
    line.parity = 1; // odd
    session->Controller().Connection().SetLineSettings(line);
    ASSERT_TRUE(WaitUntil(
        [&] {
            const unsigned flags = simulator.TerminalControlFlags();
            return simulator.TerminalSpeed() == B4800 && (flags & PARODD) && !(flags & CSTOPB);
        },
        5000));
    // The bytes still go through as they are, 0xFF included (Telnet doubles it on the way).
    ASSERT_TRUE(session->Controller().Connection().WriteBytes(QByteArray("\xff", 1) + "SD5*"));
    ASSERT_TRUE(WaitUntil([&] { return simulator.Received().find("\xffSD5*") != std::string::npos; }, 5000));
}

TEST_P(Rfc2217Fixture, KvtctlSendsAndVerifiesThroughTheServer) {
    session.reset(); // kvtctl has the line to itself
    QFile file(folder.File("Users/two.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("LD1\nSD100\nED\nLD3\nSD300\nMV30\nED\n");
    file.close();
    for (const char* command : {"send", "verify"}) {
        QProcess kvtctl;
        kvtctl.start(KVTCTL, {"--folder", folder.Path(), "--device", Address(), "--json", command, "--plain",
                              file.fileName()});
        ASSERT_TRUE(kvtctl.waitForFinished(60000));
        EXPECT_EQ(kvtctl.exitCode(), 0) << command << ": " << kvtctl.readAllStandardError().toStdString()
                                        << kvtctl.readAllStandardOutput().toStdString();
    }
    EXPECT_EQ(simulator.Program(3), (std::vector<std::string>{"SD300", "MV30"}));
}

// Between the program and a server: every byte passed on both ways, those of the program kept
// in order.
class TRelay {
public:
    explicit TRelay(int serverPort) : port(FreeLoopbackPort()) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int one = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in address = Loopback(port);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 1);
        thread_ = std::thread([this, serverPort] { Run(serverPort); });
    }
    ~TRelay() {
        stop_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }
    QByteArray FromProgram() const {
        std::lock_guard lock(mutex_);
        return fromProgram_;
    }
    const int port;

private:
    static sockaddr_in Loopback(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(quint16(port));
        return address;
    }
    void Run(int serverPort) {
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            return;
        const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address = Loopback(serverPort);
        if (::connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            char buffer[4096];
            while (!stop_) {
                pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
                if (::poll(fds, 2, 100) <= 0)
                    continue;
                const int from = fds[0].revents ? client : server;
                const ssize_t n = ::recv(from, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                if (from == client) {
                    std::lock_guard lock(mutex_);
                    fromProgram_.append(buffer, n);
                }
                ::send(from == client ? server : client, buffer, size_t(n), MSG_NOSIGNAL);
            }
        }
        ::close(server);
        ::close(client);
    }
    int listener_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    QByteArray fromProgram_;
    std::thread thread_;
};

TEST_P(Rfc2217Fixture, TheLineSettingsReachTheServerBeforeTheFirstByteOfTheProgram) {
    TRelay relay(port);
    session->Controller().Connection().Choice().UseDevice(QString("rfc2217://127.0.0.1:%1").arg(relay.port));
    ASSERT_TRUE(session->Controller().Connection().Open())
        << session->Controller().Connection().OpenFailure().toStdString();
    ASSERT_TRUE(session->Controller().Connection().WriteText("SD1*")); // what a script sends first
    ASSERT_TRUE(simulator.WaitForCommands(1, 10000));
    const QByteArray sent = relay.FromProgram();
    const qsizetype baud = sent.indexOf(QByteArray("\xff\xfa\x2c\x01", 4)); // IAC SB COM-PORT SET-BAUDRATE
    const qsizetype stop = sent.indexOf(QByteArray("\xff\xfa\x2c\x04", 4));
    ASSERT_GE(baud, 0) << sent.toHex().toStdString();
    ASSERT_GE(stop, 0);
    EXPECT_LT(std::max(baud, stop), sent.indexOf("SD1*")) << "every setting before the first data byte";
    EXPECT_FALSE(view.redLines.contains(true)) << view.log.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Telnet, Rfc2217Fixture, ::testing::Values("rfc2217"),
                         [](const auto& info) { return std::string(info.param); });

TEST(NetworkAddresses, ARefusedATimedOutAndAnUnknownAddressAreNamedWithTheirReason) {
    // A listener whose queue is full and never accepts: a new connection is never answered.
    const int full = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(full, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(full, 0), 0);
    socklen_t length = sizeof address;
    ::getsockname(full, reinterpret_cast<sockaddr*>(&address), &length);
    const int fullPort = ntohs(address.sin_port);
    std::vector<int> queued;
    for (int i = 0; i < 3; ++i) {
        queued.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        ::connect(queued.back(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    RunEventsFor(200);

    ProgramFolder folder;
    ScriptedDialogs dialogs;
    FakeView view;
    TSession session(folder.Path(), view, &view);
    const auto x = [&](int id) { return session.Lang().ExtraText(id); };
    const struct {
        QString address;
        QString reason;
    } cases[] = {
        {QString("tcp://127.0.0.1:%1").arg(FreeLoopbackPort()), x(Ext::NetworkRefused)},
        {QString("rfc2217://127.0.0.1:%1").arg(fullPort),
         x(Ext::NetworkTimedOut).arg(TNetworkLine::ConnectTimeoutMs / 1000)},
        {"tcp://no-such-host.invalid:2000", x(Ext::NetworkNameNotFound)},
        {"tcp://127.0.0.1:99999", x(Ext::NetworkBadAddress)},
    };
    for (const auto& c : cases) {
        session.Controller().Connection().Choice().UseDevice(c.address);
        EXPECT_FALSE(session.Controller().Connection().Open()) << c.address.toStdString();
        EXPECT_EQ(session.Controller().Connection().OpenFailure(),
                  x(Ext::DeviceCannotOpen).arg(c.address, c.reason));
        EXPECT_TRUE(view.redLines.last());
    }
    for (int fd : queued)
        ::close(fd);
    ::close(full);
}

TEST(NetworkAddresses, TheSimulatorListeningOnTcpAnswersAsOnATerminal) {
    kvtsim::Simulator simulator;
    std::string error;
    ASSERT_TRUE(simulator.Listen("127.0.0.1", 0, &error)) << error;
    ProgramFolder folder;
    ScriptedDialogs dialogs;
    FakeView view;
    for (int round = 0; round < 2; ++round) { // a client that goes lets the next one in
        TSession session(folder.Path(), view, &view);
        session.Controller().Connection().Choice().UseDevice(
            QString("tcp://127.0.0.1:%1").arg(simulator.ListenPort()));
        ASSERT_TRUE(session.Controller().Connection().Open())
            << session.Controller().Connection().OpenFailure().toStdString();
        ASSERT_EQ(session.Controller().Sending().Send({"LD1", "SD100", "ED"}), TSending::Start::Started);
        ASSERT_TRUE(WaitUntil([&] { return !session.Controller().Sending().IsSending(); }, 10000));
        EXPECT_EQ(simulator.Program(1), std::vector<std::string>{"SD100"});
    }
}

TEST(NetworkServers, ASettingsRefusingServerAndASecondClientAreSaidSo) {
    // Plain Telnet: the COM port option refused, the settings not applied there, said in red.
    class Plain : public NetworkFixture {
    public:
        void TestBody() override {}
        void Start(const QString& kind, bool kick) {
            ASSERT_TRUE(StartFastSimulator(simulator));
            ASSERT_NO_FATAL_FAILURE(StartServer(kind, kick));
            session = std::make_unique<TSession>(folder.Path(), view, &view);
            session->Controller().Connection().Choice().UseDevice(Address());
        }
        using NetworkFixture::Address;
        using NetworkFixture::port;
        using NetworkFixture::session;
        using NetworkFixture::view;
        using NetworkFixture::X;
        void Stop() { TearDown(); }
    };
    {
        Plain telnet;
        ASSERT_NO_FATAL_FAILURE(telnet.Start("telnet", true));
        ASSERT_TRUE(telnet.session->Controller().Connection().Open());
        const QString warning = telnet.X(Ext::NetworkSettingsNotApplied).arg(telnet.Address());
        ASSERT_TRUE(telnet.view.log.contains(warning)) << telnet.view.log.join('\n').toStdString();
        EXPECT_TRUE(telnet.view.redLines[telnet.view.log.indexOf(warning)]);
        telnet.Stop();
    }
    // A server that turns a second client away: the loss says so.
    Plain busy;
    ASSERT_NO_FATAL_FAILURE(busy.Start("tcp", false));
    const int first = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(busy.port));
    ASSERT_EQ(::connect(first, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    RunEventsFor(200); // the server has the first client
    busy.session->Controller().Connection().Open();
    const QString said = busy.X(Ext::ServerClosedAtOnceLoss).arg(busy.Address());
    EXPECT_TRUE(WaitUntil([&] { return busy.view.log.contains(said); }, 10000))
        << busy.view.log.join('\n').toStdString();
    ::close(first);
    busy.Stop();
}

TEST(NetworkAddresses, AConnectionBeingMadeLeavesTheCallerFreeAndCanBeGivenUp) {
    // A listener whose queue is full: a connection to it is never answered.
    const int full = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(full, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(full, 0), 0);
    socklen_t length = sizeof address;
    ::getsockname(full, reinterpret_cast<sockaddr*>(&address), &length);
    std::vector<int> queued;
    for (int i = 0; i < 3; ++i) {
        queued.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        ::connect(queued.back(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    ProgramFolder folder;
    ScriptedDialogs dialogs;
    FakeView view;
    TSession session(folder.Path(), view, &view);
    TConnection& connection = session.Controller().Connection();
    connection.Choice().UseDevice(QString("tcp://127.0.0.1:%1").arg(ntohs(address.sin_port)));
    QList<bool> done;
    QObject::connect(&connection, &TConnection::OpenDone, [&](bool opened) { done << opened; });
    for (const bool giveUp : {true, false}) {
        done.clear();
        connection.BeginOpen();
        EXPECT_TRUE(connection.IsOpening()) << "the call returned while the connection is being made";
        EXPECT_TRUE(done.isEmpty());
        if (giveUp) {
            connection.CancelOpen();
            EXPECT_EQ(done, QList<bool>{false});
            EXPECT_TRUE(connection.OpenFailure().isEmpty()) << "given up is no failure";
            RunEventsFor(100);
            continue;
        }
        ASSERT_TRUE(WaitUntil([&] { return !done.isEmpty(); }, 20000));
        EXPECT_EQ(done, QList<bool>{false});
        EXPECT_TRUE(connection.OpenFailure().contains(
            session.Lang().ExtraText(Ext::NetworkTimedOut).arg(TNetworkLine::ConnectTimeoutMs / 1000)));
    }
    for (int fd : queued)
        ::close(fd);
    ::close(full);
}
