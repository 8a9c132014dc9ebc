// A controller on the network: the simulator's pseudo-terminal behind a real ser2net on the
// loopback address, reached as tcp:// (the bytes as they are) and as rfc2217:// (Telnet, with
// the line settings sent to the remote port); the server stopped mid-list; addresses that refuse,
// time out or do not exist; the simulator listening on TCP itself; kvtctl over ser2net.
#include "FakeView.h"
#include "NetworkPorts.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "SessionRooms.h"
#include "Simulator.h"
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

#include <netinet/in.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

class NetworkFixture : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        kvtsim::Options options;
        options.timeScale = 0.01;
        simulator.SetOptions(options);
        std::string error;
        ASSERT_TRUE(simulator.Start({}, &error)) << error;
        ASSERT_NO_FATAL_FAILURE(StartServer(GetParam()));
        session = std::make_unique<TSession>(folder.Path(), view, &view);
        session->Connection().UseDevice(Address());
    }
    void TearDown() override {
        session.reset();
        server.kill();
        server.waitForFinished();
    }
    // ser2net in front of the simulator's terminal, one accepter of `kind` (tcp or rfc2217).
    void StartServer(const QString& kind) {
        const QString ser2net = QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"});
        ASSERT_FALSE(ser2net.isEmpty()) << "ser2net is not installed (make test installs it)";
        port = FreeLoopbackPort();
        const QString accepter = kind == "tcp" ? "tcp,127.0.0.1," : "telnet(rfc2217),tcp,127.0.0.1,";
        const QString config = folder.File("ser2net.yaml");
        folder.Write("ser2net.yaml", QString("connection: &controller\n"
                                             "  accepter: %1%2\n"
                                             "  connector: serialdev,%3,9600e81,local\n"
                                             "  options:\n"
                                             "    kickolduser: true\n")
                                         .arg(accepter)
                                         .arg(port)
                                         .arg(QString::fromStdString(simulator.SlavePath()))
                                         .toUtf8());
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.start(ser2net, {"-n", "-d", "-c", config, "-P", folder.File("ser2net.pid")});
        ASSERT_TRUE(server.waitForStarted());
        ASSERT_TRUE(WaitUntil([&] { return ListeningOn(port); }, 10000)) << "ser2net does not listen";
        address = QString("%1://127.0.0.1:%2").arg(kind).arg(port);
    }
    QString Address() const { return address; }
    bool WaitForEnd() {
        return WaitUntil([&] { return !session->Sending().IsSending(); }, 60000);
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
    ASSERT_TRUE(SerialDevices::LinkPort(session->Connection().PortsFolder(), 3, Address()).linked);
    session->Connection().UseDevice({});
    session->Connection().ChoosePort(3);
    EXPECT_EQ(session->Connection().Device(), folder.File("ports/COM3"));
    std::vector<QString> opened;
    QObject::connect(&session->Connection(), &TConnection::Opened,
                     [&](const QString& d) { opened.push_back(d); });
    ASSERT_TRUE(session->Connection().Open()) << session->Connection().OpenFailure().toStdString();
    EXPECT_EQ(opened, std::vector<QString>{Address()}) << "the log and the tooltip name the address";
    EXPECT_TRUE(view.log.isEmpty() || !view.redLines.contains(true)) << view.log.join('\n').toStdString();
    std::vector<TSendReport> reports;
    QObject::connect(&session->Sending(), &TSending::Ended,
                     [&](const TSendReport& r) { reports.push_back(r); });
    const QStringList program{"LD2", "BG", "SD300", "MV1000", "ED"};
    ASSERT_EQ(session->Sending().Send(program), TSending::Start::Started);
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].end, TSendReport::End::Completed);
    EXPECT_EQ(simulator.Program(2), (std::vector<std::string>{"BG", "SD300", "MV1000"}));

    QString text;
    QObject::connect(&session->ReadBack(), &TReadingBack::Done,
                     [&](TChanReadThread::Outcome, const QString& t) { text = t; });
    ASSERT_EQ(session->ReadBack().Begin(2), TReadingBack::Start::Started);
    ASSERT_TRUE(WaitUntil([&] { return !text.isEmpty(); }, 10000));
    EXPECT_EQ(text, "RD2*LD2*BG*SD300*MV1000*ED*");
}

TEST_P(NetworkFixture, TheServerStoppedMidListIsALostDeviceAndNothingHangs) {
    kvtsim::Options slow = simulator.GetOptions();
    slow.replyDelayMs = 20;
    simulator.SetOptions(slow);
    ASSERT_TRUE(session->Connection().Open());
    std::vector<TSendReport> reports;
    QObject::connect(&session->Sending(), &TSending::Ended,
                     [&](const TSendReport& r) { reports.push_back(r); });
    ASSERT_EQ(session->Sending().Send(QStringList(500, "SD100")), TSending::Start::Started);
    ASSERT_TRUE(simulator.WaitForCommands(5, 10000));
    server.kill();
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].end, TSendReport::End::Completed);
    EXPECT_LT(simulator.Commands().size(), 500u);
    EXPECT_FALSE(session->Connection().IsOpen());
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
    session->Connection().SetLineSettings(line);
    ASSERT_TRUE(session->Connection().Open());
    // Each setting is a message of its own: the last one sent is waited for.
    ASSERT_TRUE(WaitUntil(
        [&] { return simulator.TerminalSpeed() == B19200 && (simulator.TerminalControlFlags() & CSTOPB); },
        5000))
        << "the pseudo-terminal runs at " << simulator.TerminalSpeed();
    line.baudIndex = 5; // 4800
    line.stopBits = 0;
    line.parity = 1; // odd
    session->Connection().SetLineSettings(line);
    ASSERT_TRUE(WaitUntil(
        [&] {
            const unsigned flags = simulator.TerminalControlFlags();
            return simulator.TerminalSpeed() == B4800 && (flags & PARODD) && !(flags & CSTOPB);
        },
        5000));
    // The bytes still go through as they are, 0xFF included (Telnet doubles it on the way).
    ASSERT_TRUE(session->Connection().WriteBytes(QByteArray("\xff", 1) + "SD5*"));
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
        session.Connection().UseDevice(c.address);
        EXPECT_FALSE(session.Connection().Open()) << c.address.toStdString();
        EXPECT_EQ(session.Connection().OpenFailure(), x(Ext::DeviceCannotOpen).arg(c.address, c.reason));
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
        session.Connection().UseDevice(QString("tcp://127.0.0.1:%1").arg(simulator.ListenPort()));
        ASSERT_TRUE(session.Connection().Open()) << session.Connection().OpenFailure().toStdString();
        ASSERT_EQ(session.Sending().Send({"LD1", "SD100", "ED"}), TSending::Start::Started);
        ASSERT_TRUE(WaitUntil([&] { return !session.Sending().IsSending(); }, 10000));
        EXPECT_EQ(simulator.Program(1), std::vector<std::string>{"SD100"});
    }
}
