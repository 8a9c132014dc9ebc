#include "settings/RecentFileLabels.h"

#include <gtest/gtest.h>

TEST(RecentFileLabels, AlikeNamesShowTheirFolderAndAlikeFoldersTheirPath) {
    const struct {
        QStringList files, labels;
    } cases[] = {
        {{}, {}},
        {{"/w/Users/pump.kvt", "/w/Users/mill.kvt"}, {"pump.kvt", "mill.kvt"}},
        {{"/w/a/pump.kvt", "/w/b/pump.kvt", "/w/a/mill.kvt"}, {"pump.kvt (a)", "pump.kvt (b)", "mill.kvt"}},
        // The folders' names are alike too: their paths tell them apart.
        {{"/x/Users/pump.kvt", "/y/Users/pump.kvt"}, {"pump.kvt (/x/Users)", "pump.kvt (/y/Users)"}},
        {{"/x/Users/pump.kvt", "/y/Users/pump.kvt", "/z/other/pump.kvt"},
         {"pump.kvt (/x/Users)", "pump.kvt (/y/Users)", "pump.kvt (other)"}},
        // Names differ in case only: two names on this file system.
        {{"/a/Pump.kvt", "/b/pump.kvt"}, {"Pump.kvt", "pump.kvt"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecentFileLabels(c.files), c.labels) << c.files.join(", ").toStdString();
}
