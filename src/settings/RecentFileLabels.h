#pragma once

#include <QStringList>

// What the Recent files menu shows for each file: its name, and where two or more of the files
// share a name, the folder each lies in (the folder's name, or its whole path when those are
// alike too), so that the entries can be told apart.
QStringList RecentFileLabels(const QStringList& files);
