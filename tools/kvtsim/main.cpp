// kvtsim: a stand-in for the stepper-motor controller on a pseudo-terminal, or on TCP.
//
//   kvtsim --link <program folder>/ports/COM1 [options]
//   kvtsim --listen [HOST:]PORT [options]
//
// It prints the terminal's path, answers until it is interrupted, and removes the link on exit.
#include "Simulator.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <signal.h>
#include <string>

namespace {

volatile std::sig_atomic_t interrupted = 0;
void OnSignal(int) {
    interrupted = 1;
}

void Usage() {
    std::puts("usage: kvtsim [--link PATH | --listen [HOST:]PORT] [--time-scale X] [--silent] [--delay MS] "
              "[--split] [--join]\n"
              "              [--garbage N] [--comm-error N] [--comm-error-along N] [--hang-up-after N]\n"
              "  --link PATH        link the terminal as PATH (a program folder's ports/COM<n>)\n"
              "  --listen [HOST:]PORT  answer over TCP instead (tcp://HOST:PORT), on 127.0.0.1 unless\n"
              "                     HOST is given; one client at a time\n"
              "  --time-scale X     programs run X times their real duration (default 1)\n"
              "  --silent           never answer\n"
              "  --delay MS         answer every command MS milliseconds late\n"
              "  --split            send answers one byte at a time\n"
              "  --join             send echo and status in one write\n"
              "  --garbage N        precede every N-th answer with garbage bytes\n"
              "  --split-us N       answers one byte at a time, N microseconds apart\n"
              "  --gap-us N         echo and status N microseconds apart (default 200; 0: one write)\n"
              "  --comm-error N     answer every N-th command with a communication error (E15*)\n"
              "  --comm-error-along N  put E15* between every N-th command's echo and its status\n"
              "  --hang-up-after N  hang up after N commands");
}

} // namespace

int main(int argc, char** argv) {
    kvtsim::Options options;
    std::string link, listen;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "kvtsim: %s needs a value\n", arg.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--link")
            link = value();
        else if (arg == "--listen")
            listen = value();
        else if (arg == "--time-scale")
            options.timeScale = std::atof(value());
        else if (arg == "--silent")
            options.silent = true;
        else if (arg == "--delay")
            options.replyDelayMs = std::atoi(value());
        else if (arg == "--split")
            options.splitBytes = true;
        else if (arg == "--split-us") {
            options.splitBytes = true;
            options.splitGapUs = std::atoi(value());
        } else if (arg == "--gap-us")
            options.statusGapUs = std::atoi(value());
        else if (arg == "--join")
            options.joinReplies = true;
        else if (arg == "--garbage")
            options.garbageEvery = std::atoi(value());
        else if (arg == "--comm-error")
            options.commErrorEvery = std::atoi(value());
        else if (arg == "--comm-error-along")
            options.commErrorAlongEvery = std::atoi(value());
        else if (arg == "--hang-up-after")
            options.hangUpAfter = std::atoi(value());
        else if (arg == "--help" || arg == "-h") {
            Usage();
            return 0;
        } else {
            std::fprintf(stderr, "kvtsim: unknown option %s\n", arg.c_str());
            Usage();
            return 2;
        }
    }

    // The signals stay blocked except inside sigsuspend, so none is lost between the check of
    // the flag and the wait.
    sigset_t block, old;
    sigemptyset(&block);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        std::signal(s, OnSignal);
        sigaddset(&block, s);
    }
    sigprocmask(SIG_BLOCK, &block, &old);

    kvtsim::Simulator simulator(options);
    std::string error;
    if (!listen.empty()) {
        // HOST:PORT, [V6]:PORT or PORT alone (on the loopback address).
        const size_t colon = listen.rfind(':');
        std::string host = colon == std::string::npos ? "127.0.0.1" : listen.substr(0, colon);
        if (host.size() > 1 && host.front() == '[' && host.back() == ']')
            host = host.substr(1, host.size() - 2);
        const int port = std::atoi(listen.c_str() + (colon == std::string::npos ? 0 : colon + 1));
        if (!simulator.Listen(host, port, &error)) {
            std::fprintf(stderr, "kvtsim: cannot listen on %s: %s\n", listen.c_str(), error.c_str());
            return 1;
        }
        std::printf("kvtsim: controller on tcp://%s:%d\n",
                    host.find(':') == std::string::npos ? host.c_str() : ("[" + host + "]").c_str(),
                    simulator.ListenPort());
    } else if (!simulator.Start(link, &error)) {
        std::fprintf(stderr, "kvtsim: cannot start: %s\n", error.c_str());
        return 1;
    } else {
        std::printf("kvtsim: controller on %s%s%s\n", simulator.SlavePath().c_str(),
                    link.empty() ? "" : ", linked as ", link.c_str());
    }
    std::fflush(stdout);
    while (!interrupted)
        sigsuspend(&old);
    simulator.Stop();
    return 0;
}
