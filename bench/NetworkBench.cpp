// Sending over the network, through a real ser2net on the loopback address in front of two
// simulator processes (one for the raw TCP port, one for the RFC 2217 port): the program (a real
// main window on tcp:// and on rfc2217://), a bare C++ send-and-wait loop over the same raw TCP
// port (the floor: nothing of ours in between), and pyserial's socket:// and rfc2217:// URLs
// (what an integrator would write instead), interleaved round by round.
#include "BenchSetting.h"
#include "Benches.h"
#include "NetworkPorts.h"
#include "Responder.h"
#include "SessionRooms.h"
#include "Stats.h"
#include "Unit1.h"
#include "editor/CommandList.h"
#include "widgets/RadioGroup.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <netinet/tcp.h>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Per line, in milliseconds, from a real main window talking to `address`.
double ProgramRun(const QString& folder, const QString& address, const QStringList& lines) {
    TForm1 form(folder, 0, address);
    form.rgrSingl_Mult->Click(1);
    form.show();
    form.Session().Editor().Replace(lines);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    if (!form.Session().Controller().Connection().IsOpen())
        return -1;
    QEventLoop loop;
    QObject::connect(&form.Session().Controller().Sending(), &TSending::Ended, &loop, &QEventLoop::quit);
    const auto start = Clock::now();
    form.btnRunTRClick();
    loop.exec();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / double(lines.size());
}

// The same lines over a plain socket: write a line, read its echo and status, the next.
double FloorRun(int port, const QStringList& lines) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    const auto start = Clock::now();
    char buffer[256];
    for (const QString& line : lines) {
        const QByteArray out = (line + "*").toLatin1();
        if (::send(fd, out.constData(), size_t(out.size()), MSG_NOSIGNAL) != out.size())
            break;
        // The echo and the status: two stars.
        for (int stars = 0; stars < 2;) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return -1;
            stars += int(std::count(buffer, buffer + n, '*'));
        }
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    ::close(fd);
    return ms / double(lines.size());
}

const char* const kPyserialLoop = R"(import serial, sys, time
port = serial.serial_for_url(sys.argv[1], 9600, parity=serial.PARITY_EVEN, timeout=2)
lines = open(sys.argv[2]).read().split()
wall = time.perf_counter()
for line in lines:
    port.write((line + '*').encode())
    got = b''
    while got.count(b'*') < 2:
        chunk = port.read(1 if not port.in_waiting else port.in_waiting)
        if not chunk:
            sys.exit(1)
        got += chunk
print(time.perf_counter() - wall)
)";

std::optional<double> PyserialRun(const QString& url, const QStringList& lines, const QString& folder) {
    const auto printed = RunPythonLoop(kPyserialLoop, url, lines, folder);
    if (!printed)
        return std::nullopt;
    return printed->toDouble() * 1000 / double(lines.size());
}

} // namespace

void RunNetworkBench(int lineCount, int rounds) {
    TBenchSetting setting;
    QTemporaryDir second;
    QDir(second.path()).mkpath("ports");
    const QString ser2net = QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"});
    if (ser2net.isEmpty()) {
        std::printf("Network: not run (ser2net is not installed)\n\n");
        return;
    }
    Responder raw, telnet;
    if (!raw.Start(setting.Folder(), {"--gap-us", "200"}) ||
        !telnet.Start(second.path(), {"--gap-us", "200"})) {
        std::printf("Network: not run (the simulator did not start)\n\n");
        return;
    }
    const int rawPort = FreeLoopbackPort(), telnetPort = FreeLoopbackPort();
    const QString config = setting.Folder() + "/ser2net.yaml";
    QFile yaml(config);
    yaml.open(QIODevice::WriteOnly);
    yaml.write(
        QString("connection: &raw\n  accepter: tcp,127.0.0.1,%1\n  connector: serialdev,%2,9600e81,local\n"
                "  options:\n    kickolduser: true\n"
                "connection: &telnet\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%3\n"
                "  connector: serialdev,%4,9600e81,local\n  options:\n    kickolduser: true\n")
            .arg(rawPort)
            .arg(QFileInfo(raw.Link()).canonicalFilePath())
            .arg(telnetPort)
            .arg(QFileInfo(telnet.Link()).canonicalFilePath())
            .toUtf8());
    yaml.close();
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedChannels);
    server.start(ser2net, {"-n", "-c", config, "-P", setting.Folder() + "/ser2net.pid"});
    QElapsedTimer waited;
    waited.start();
    while (!(ListeningOn(rawPort) && ListeningOn(telnetPort)) && waited.elapsed() < 10000)
        QThread::msleep(10);
    QStringList lines;
    for (int i = 0; i < lineCount; ++i)
        lines << "SD" + QString::number(100 + i % 900);
    const QString tcp = QString("tcp://127.0.0.1:%1").arg(rawPort);
    const QString rfc = QString("rfc2217://127.0.0.1:%1").arg(telnetPort);
    std::vector<double> program, programRfc, floor, pySocket, pyRfc;
    const auto keep = [](std::vector<double>& into, std::optional<double> v) {
        if (v && *v > 0)
            into.push_back(*v);
    };
    for (int round = 0; round < rounds; ++round) {
        keep(program, ProgramRun(setting.Folder(), tcp, lines));
        keep(floor, FloorRun(rawPort, lines));
        keep(pySocket, PyserialRun(QString("socket://127.0.0.1:%1").arg(rawPort), lines, setting.Folder()));
        keep(programRfc, ProgramRun(second.path(), rfc, lines));
        keep(pyRfc, PyserialRun(rfc + "?ign_set_control", lines, setting.Folder()));
    }
    server.kill();
    server.waitForFinished();
    std::printf("Over ser2net on the loopback address, %d rounds of %d lines, per line (ms, median):\n",
                rounds, lineCount);
    const auto row = [](const char* name, const std::vector<double>& v) {
        if (v.empty())
            std::printf("  %-42s (not run)\n", name);
        else
            std::printf("  %-42s %7.4f\n", name, Median(v));
    };
    row("bare C++ loop, raw TCP (the floor)", floor);
    row("the program, tcp://", program);
    row("pyserial, socket://", pySocket);
    row("the program, rfc2217://", programRfc);
    row("pyserial, rfc2217:// (ign_set_control)", pyRfc);
    if (!floor.empty() && !program.empty())
        std::printf("  program tcp:// / floor: %.2f", Median(program) / Median(floor));
    if (!pySocket.empty() && !program.empty())
        std::printf("   program tcp:// / pyserial socket://: %.2f", Median(program) / Median(pySocket));
    if (!pyRfc.empty() && !programRfc.empty())
        std::printf("   program rfc2217:// / pyserial rfc2217://: %.2f", Median(programRfc) / Median(pyRfc));
    std::printf("\n\n");
}
