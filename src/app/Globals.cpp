#include "app/Globals.h"

#include "app/PathMix.h"
#include "engine/cDiffEngine.h"

#include <QDir>

namespace modVantrel {

QString gAppFolder;
std::unique_ptr<cViewFileDiffsOptions> gOptions;
std::unique_ptr<cDiffEngine> gDiffEngine;

QString AddTrailingBackslash(const QString& path)
{
    const QChar separator = QDir::separator();
    if (path.isEmpty() || path.endsWith(separator))
        return path;
    return path + separator;
}

bool FileExists(const QString& path)
{
    return PathMix::APIFileExists(path) != 0;
}

QString GetFolderOfPath(const QString& path)
{
    const qsizetype last = path.lastIndexOf(QDir::separator());
    if (last < 0)
        return QString();
    return path.left(last + 1);
}

QString TrimSpaces(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

}  // namespace modVantrel
