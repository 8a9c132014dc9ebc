#include "Guide.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace {

// A guide larger than this is no guide of ours: it is not read.
constexpr qint64 MaxGuideBytes = 4 << 20;

QString ReadGuide(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.size() > MaxGuideBytes)
        return {};
    return QString::fromUtf8(f.readAll());
}

QString FindGuide(const QString& langFolder, const QString& language) {
    if (!language.isEmpty() && !language.contains('/') && !language.contains('.')) {
        for (const QString& file :
             {langFolder + '/' + language + "/guide.md", ":/guide/" + language + "/guide.md"}) {
            const QString text = ReadGuide(file);
            if (!text.isEmpty())
                return text;
        }
    }
    return {};
}

} // namespace

TGuide TGuide::Load(const QString& langFolder, const QString& language) {
    const QString own = FindGuide(langFolder, language);
    if (!own.isEmpty())
        return FromMarkdown(own, language);
    return FromMarkdown(FindGuide(langFolder, "en"), "en", language != "en");
}

TGuide TGuide::FromMarkdown(const QString& markdown, const QString& language, bool fellBack) {
    static const QRegularExpression marker(R"(^\s*<!--\s*topic:\s*([\w-]+)\s*-->\s*$)");
    static const QRegularExpression heading(R"(^(#{1,6})\s+(.*?)\s*#*\s*$)");
    TGuide guide;
    guide.language_ = language;
    guide.fellBack_ = fellBack;
    QStringList shown;
    QString pendingKey;
    bool fenced = false;
    for (const QString& line : markdown.split('\n')) {
        if (line.trimmed().startsWith("```"))
            fenced = !fenced;
        const auto isMarker = fenced ? QRegularExpressionMatch() : marker.match(line);
        if (isMarker.hasMatch()) {
            pendingKey = isMarker.captured(1);
            continue;
        }
        shown << line;
        const auto isHeading = fenced ? QRegularExpressionMatch() : heading.match(line);
        if (isHeading.hasMatch()) {
            guide.topics_.append({pendingKey, isHeading.captured(2), int(isHeading.captured(1).size()), {}});
            pendingKey.clear();
        } else if (!guide.topics_.isEmpty()) {
            guide.topics_.last().text += line + '\n';
        }
    }
    guide.markdown_ = shown.join('\n');
    return guide;
}

int TGuide::TopicOf(const QString& key) const {
    for (qsizetype i = 0; i < topics_.size(); ++i) {
        if (!key.isEmpty() && topics_[i].key == key)
            return int(i);
    }
    return -1;
}

QList<int> TGuide::Find(const QString& words) const {
    const QStringList wanted = words.simplified().split(' ', Qt::SkipEmptyParts);
    QList<int> found;
    for (qsizetype i = 0; i < topics_.size(); ++i) {
        const QString text = topics_[i].title + '\n' + topics_[i].text;
        bool all = true;
        for (const QString& word : wanted)
            all = all && text.contains(word, Qt::CaseInsensitive);
        if (all)
            found.append(int(i));
    }
    return found;
}
