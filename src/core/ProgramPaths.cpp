#include "ProgramPaths.h"

#include <QDir>

TProgramPaths::TProgramPaths(QString programFolder) : folder_(QDir::cleanPath(programFolder)) {
    while (folder_.size() > 1 && folder_.endsWith('/'))
        folder_.chop(1);
}
