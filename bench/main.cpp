// kvt_bench: the program's benchmarks, run on request (`make bench`). Each prints its figures;
// README.md records them.
//
//   kvt_bench [port] [sending] [session] [flood] [startup] [editor] [preview] [command-line] [network]
//   [journal] ...
//       run the named benchmarks (all when none is named)
#include "Benches.h"

#include <QApplication>

#include <cstring>
#include <functional>
#include <map>
#include <string>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::map<std::string, std::function<void()>> benches = {
        {"port", [] { RunPortBench(2000); }},          {"sending", [] { RunSendingBench(1000, 7); }},
        {"session", [] { RunSessionBench(); }},        {"flood", [] { RunFloodBench(); }},
        {"startup", [] { RunStartupBench(); }},        {"editor", [] { RunEditorBench(); }},
        {"preview", [] { RunPreviewBench(); }},        {"command-line", [] { RunCommandLineBench(); }},
        {"network", [] { RunNetworkBench(1000, 5); }}, {"journal", [] { RunJournalBench(); }},
    };
    bool ran = false;
    for (int i = 1; i < argc; ++i) {
        const auto it = benches.find(argv[i]);
        if (it == benches.end()) {
            std::fprintf(stderr, "kvt_bench: no benchmark named %s\n", argv[i]);
            return 2;
        }
        it->second();
        ran = true;
    }
    if (!ran) {
        for (const auto& [name, run] : benches)
            run();
    }
    return 0;
}
