#pragma once

#include "FakeView.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "core/UnitCommonDatas.h"
#include "lang/Lang.h"

#include <QStringList>

// The two versions of a program pair and of the settings that the kill battery's saver writes in
// turn: whatever is on the disk after a kill must be one of them, whole.
namespace SaveVersions {

struct TVersion {
    QStringList lines, descriptions;
    TSettings settings;
};

inline TVersion Version(int n) {
    TVersion v;
    const int count = n == 0 ? 40 : 7;
    for (int i = 0; i < count; ++i) {
        v.lines << QString("MV%1").arg(n * 1000 + i);
        v.descriptions << QString("move %1 of version %2").arg(i).arg(n);
    }
    v.settings.ReplyTime = n == 0 ? 111 : 222;
    v.settings.UnitsName = n == 0 ? "aaa" : "bbbbbbbb";
    v.settings.PortNumber = n == 0 ? 3 : 4;
    v.settings.ShowPortLog = n == 1;
    return v;
}

// A language table for the saves' words (the built-in English ones).
inline const TLang& Lang(const TProgramPaths& paths) {
    static FakeView view;
    static TCommonDatas datas(view);
    static TLang lang(paths, datas, view);
    return lang;
}

} // namespace SaveVersions
