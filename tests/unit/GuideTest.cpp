#include "lang/Guide.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

TEST(Guide, MarkersNameTheirHeadingsAndAreNotShown) {
    const TGuide guide =
        TGuide::FromMarkdown("<!-- topic: start -->\n# Guide\nIntro.\n"
                             "<!-- topic: units -->\n## Steps and units\nThe scale, in mm.\n"
                             "## Unnamed\nText.\n```\n<!-- topic: code -->\n# not a heading\n```\n",
                             "en");
    ASSERT_EQ(guide.Topics().size(), 3);
    EXPECT_EQ(guide.Topics()[1].key, "units");
    EXPECT_EQ(guide.Topics()[1].title, "Steps and units");
    EXPECT_EQ(guide.Topics()[1].level, 2);
    EXPECT_EQ(guide.Topics()[2].key, "") << "a heading without a marker has no key";
    EXPECT_EQ(guide.TopicOf("units"), 1);
    EXPECT_EQ(guide.TopicOf("code"), -1) << "a fenced block holds no marker and no heading";
    EXPECT_EQ(guide.TopicOf(""), -1);
    EXPECT_FALSE(guide.Markdown().contains("topic: start"));
    EXPECT_TRUE(guide.Markdown().contains("<!-- topic: code -->")) << "what a fenced block shows stays";

    const struct {
        QString words;
        QList<int> topics;
    } searches[] = {{"", {0, 1, 2}}, {"SCALE", {1}}, {"scale mm", {1}}, {"scale text", {}}, {"guide", {0}}};
    for (const auto& s : searches)
        EXPECT_EQ(guide.Find(s.words), s.topics) << s.words.toStdString();
}

TEST(Guide, ALanguageWithoutAGuideFallsBackToEnglishAndAFoldersOwnGuideComesFirst) {
    QTemporaryDir folder;
    const TGuide english = TGuide::Load(folder.path(), "en");
    ASSERT_FALSE(english.Markdown().isEmpty()) << "the built-in English guide";
    EXPECT_FALSE(english.FellBack());
    const TGuide russian = TGuide::Load(folder.path(), "ru");
    EXPECT_EQ(russian.Language(), "ru");
    EXPECT_FALSE(russian.FellBack());
    // Both built-in guides name the same topics, in the same order.
    ASSERT_EQ(russian.Topics().size(), english.Topics().size());
    for (qsizetype i = 0; i < english.Topics().size(); ++i)
        EXPECT_EQ(russian.Topics()[i].key, english.Topics()[i].key) << i;

    for (const char* missing : {"de", "../en", ""}) {
        const TGuide fallen = TGuide::Load(folder.path(), missing);
        EXPECT_TRUE(fallen.FellBack()) << missing;
        EXPECT_EQ(fallen.Language(), "en");
        EXPECT_EQ(fallen.Markdown(), english.Markdown());
    }

    ASSERT_TRUE(QDir().mkpath(folder.path() + "/de"));
    QFile own(folder.path() + "/de/guide.md");
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("<!-- topic: units -->\n# Schritte und Einheiten\n");
    own.close();
    const TGuide german = TGuide::Load(folder.path(), "de");
    EXPECT_FALSE(german.FellBack());
    EXPECT_EQ(german.Topics().value(german.TopicOf("units")).title, "Schritte und Einheiten");
}
