#include "RecentFileLabels.h"

#include <QDir>
#include <QFileInfo>

QStringList RecentFileLabels(const QStringList& files) {
    QStringList names, folders, paths;
    for (const QString& file : files) {
        const QFileInfo info(file);
        names << info.fileName();
        paths << QDir::toNativeSeparators(info.absolutePath());
        folders << info.dir().dirName();
    }
    QStringList labels;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (names.count(names[i]) < 2) {
            labels << names[i];
            continue;
        }
        // The folders' names tell the files of this name apart only when they all differ.
        bool foldersDiffer = true;
        for (qsizetype j = 0; j < files.size(); ++j) {
            if (j != i && names[j] == names[i] && folders[j] == folders[i])
                foldersDiffer = false;
        }
        labels << QString("%1 (%2)").arg(names[i], foldersDiffer ? folders[i] : paths[i]);
    }
    return labels;
}
