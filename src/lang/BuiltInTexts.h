#pragma once

#include <QStringList>

// The texts built into the program: the window texts and the messages the language table is
// created with. The messages are the English defaults shown whenever no language file sets them.
namespace BuiltIn {
const QStringList& WindowTexts(); // 55 entries
const QStringList& Messages();    // 86 entries
const QStringList& ExtraTexts();  // the extra texts of ExtraIds.h, entry 0 the file key
} // namespace BuiltIn
