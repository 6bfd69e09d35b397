#include "mainwindow/PathListing.h"

#include "mainwindow/modAutoCompletePath.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#include <memory>
#else
#include <QDirIterator>
#include <QFileInfo>
#endif

namespace modAutoCompletePath {
namespace {

// The file system's bytes of a path; empty for a path no call could take
// (a NUL would cut it short and name another path).
QByteArray Encoded(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return {};
    return QFile::encodeName(path);
}

#ifdef Q_OS_UNIX

struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};
// Closed on every way out of a search.
using OpenedFolder = std::unique_ptr<DIR, FolderCloser>;

OpenedFolder OpenFolder(const QString& path)
{
    const QByteArray bytes = Encoded(path);
    return OpenedFolder(bytes.isEmpty() ? nullptr : opendir(bytes.constData()));
}

// Follows symbolic links, so that a link to a folder completes like the
// folder; a dangling or looping link is not a folder.
bool IsFolder(const QByteArray& path, unsigned char type)
{
    if (type == DT_DIR)
        return true;
    if (type != DT_LNK && type != DT_UNKNOWN)
        return false;
    struct stat status {};
    return stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Judges a name on its raw bytes while both the name and the prefix are
// ASCII: there, ignoring case means ASCII letters only, and one byte is one
// character. Most names of a large folder are thus refused without being
// decoded. A name is decoded and judged in full once a non-ASCII character
// is reached on either side (a non-ASCII letter may fold to an ASCII one).
class AsciiFilter {
public:
    explicit AsciiFilter(const QString& prefix) : m_prefix(prefix) {}
    [[nodiscard]] bool CannotMatch(const char* name) const
    {
        for (qsizetype i = 0; i < m_prefix.size(); ++i) {
            const char16_t wanted = m_prefix.at(i).unicode();
            const auto byte = static_cast<unsigned char>(name[i]);
            if (wanted >= 0x80 || byte >= 0x80)
                return false;
            if (byte == 0 || Lower(byte) != Lower(wanted))
                return true;
        }
        return false;
    }

private:
    static char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }
    const QString& m_prefix;
};

#endif

}  // namespace

#ifdef Q_OS_UNIX

bool FolderExists(const QString& path)
{
    return OpenFolder(path) != nullptr;
}

QString FindCompletedPath(const QString& typed, const std::atomic<bool>& cancelled)
{
    if (cancelled.load(std::memory_order_relaxed) || !IsCompletable(typed))
        return QString();
    if (FolderExists(typed))
        return GetCompletedPath(typed, true, {});
    const TypedPath parts = SplitTyped(typed);
    const OpenedFolder folder = OpenFolder(parts.folder);
    if (!folder)
        return QString();
    FirstMatch first(parts.prefix);
    const AsciiFilter quick(parts.prefix);
    unsigned char winnerType = DT_UNKNOWN;
    while (!cancelled.load(std::memory_order_relaxed)) {
        const dirent* entry = readdir(folder.get());
        if (!entry)
            break;
        if (quick.CannotMatch(entry->d_name))
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (!first.Matches(name) || QFile::encodeName(name) != entry->d_name)
            continue;
        if (first.Offer(name))
            winnerType = entry->d_type;
    }
    if (cancelled.load(std::memory_order_relaxed) || !first.Winner())
        return QString();
    const QString path = parts.folder + *first.Winner();
    return GetCompletedPath(typed, false, {{*first.Winner(), IsFolder(Encoded(path), winnerType)}});
}

#else

bool FolderExists(const QString& path)
{
    return !Encoded(path).isEmpty() && QDir(path).isReadable() && QFileInfo(path).isDir();
}

QString FindCompletedPath(const QString& typed, const std::atomic<bool>& cancelled)
{
    if (cancelled.load(std::memory_order_relaxed) || !IsCompletable(typed))
        return QString();
    if (FolderExists(typed))
        return GetCompletedPath(typed, true, {});
    const TypedPath parts = SplitTyped(typed);
    if (!FolderExists(parts.folder))
        return QString();
    FirstMatch first(parts.prefix);
    bool folder = false;
    QDirIterator it(parts.folder, QDir::AllEntries | QDir::Hidden | QDir::System);
    while (!cancelled.load(std::memory_order_relaxed) && it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        if (first.Offer(info.fileName()))
            folder = info.isDir();
    }
    if (cancelled.load(std::memory_order_relaxed) || !first.Winner())
        return QString();
    return GetCompletedPath(typed, false, {{*first.Winner(), folder}});
}

#endif

}  // namespace modAutoCompletePath
