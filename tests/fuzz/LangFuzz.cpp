// libFuzzer target for the language files: any bytes as a window-text, message or extra-text
// file must load without crash, keep the message list whole and set no entry beyond its file.
#include "FakeView.h"
#include "ScriptedDialogs.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "lang/BuiltInTexts.h"
#include "lang/Lang.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScriptedDialogs dialogs; // message boxes are recorded, never shown
    static QTemporaryDir dir(QFile::exists("/dev/shm") ? "/dev/shm/kvt-fuzz-XXXXXX" : QString());
    dialogs.messages.clear();
    QDir(dir.path()).mkpath("lang/en");
    for (const char* part : {"f1", "msg", "ext"}) {
        QFile file(dir.filePath(QString("lang/en/en%1.lng").arg(part)));
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    FakeView view;
    TCommonDatas datas(view);
    TProgramPaths paths(dir.path());
    TLang lang(paths, datas, view);
    lang.LoadTexts("f1");
    lang.LoadMessages();
    lang.LoadExtraTexts();
    if (lang.Messages.size() < BuiltIn::Messages().size() ||
        lang.Extra.size() != BuiltIn::ExtraTexts().size())
        std::abort(); // no entry is ever lost
    if (lang.Texts.value(0) != "f1" || lang.Messages.value(0) != "msg")
        std::abort(); // entry 0 is the key of the file loaded
    return 0;
}
