#pragma once

#include <QStringList>

class QMenu;
class QMenuBar;

// Keyboard access to the menus: each menu title and each entry gets a mnemonic ('&' before a
// letter) chosen from its caption in the language in use, no letter twice within one menu, so
// that Alt+letter opens a menu and a letter then chooses its entry.
namespace Mnemonics {

// The caption without its mnemonic mark ("&&" stands for a '&' and stays one, and so does a
// '&' that stands before no letter or digit).
QString Bare(const QString& caption);

// `captions` (their old marks dropped), each marked at a letter not taken in the list: the
// first letter of the caption, else the first letter of another of its words, else any other
// letter or digit of it. A caption with no free letter, or an empty one, stays without.
QStringList Assign(const QStringList& captions);

// Marks the menus of `bar` and, within each menu and its sub-menus, their entries. A menu whose
// property "numbered" is set keeps its entries' own marks ("&1 ...").
void Apply(QMenuBar* bar);

} // namespace Mnemonics
