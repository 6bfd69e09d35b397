#include "app/Globals.h"

#include "app/PathMix.h"
#include "engine/cDiffEngine.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

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

namespace {

#if defined(Q_OS_UNIX)
int MakeFolderBytes(const QByteArray& path)
{
    struct stat info = {};
    if (::stat(path.constData(), &info) == 0)
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0) {
        if (const int parent = MakeFolderBytes(path.left(slash)))
            return parent;
    }
    // Another process may have made it meanwhile.
    return ::mkdir(path.constData(), 0777) == 0 || errno == EEXIST ? 0 : errno;
}
#endif

}  // namespace

int MakeFolder(const QString& folder)
{
#if defined(Q_OS_UNIX)
    return MakeFolderBytes(QFile::encodeName(QDir::cleanPath(folder)));
#else
    return QDir().mkpath(folder) ? 0 : EACCES;
#endif
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
