#pragma once

#include "core/UnitCommonDatas.h"

// Changes some of the settings of a shared state, as the session's dialogs do: the whole value
// is taken, changed and handed back.
template <typename Change> void ChangeSettings(TCommonDatas& datas, Change change) {
    TSettings settings = datas.Settings();
    change(settings);
    datas.SetSettings(settings);
}
