#include "mainwindow/FileChangeWatcher.h"

#include <QFileInfo>

FileChangeWatcher::FileChangeWatcher(QObject* parent) : QObject(parent)
{
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &FileChangeWatcher::Look);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FileChangeWatcher::Look);
}

FileChangeWatcher::Stamp FileChangeWatcher::StampOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified(), info.metadataChangeTime()};
}

void FileChangeWatcher::Watch(const QStringList& paths)
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_paths = paths;
    m_changed.clear();
    m_stamps.clear();
    for (const QString& path : paths)
        m_stamps.insert(path, StampOf(path));
    Rewatch();
}

QStringList FileChangeWatcher::ChangedPaths() const
{
    QStringList changed;
    for (const QString& path : m_paths) {
        if (m_changed.contains(path))
            changed.append(path);
    }
    return changed;
}

void FileChangeWatcher::Acknowledge()
{
    m_changed.clear();
    for (const QString& path : std::as_const(m_paths))
        m_stamps.insert(path, StampOf(path));
    Rewatch();
}

// A file replaced by a rename is a new file at the same path, while the
// system may still be watching the old one, and drops a file from its
// watch list when the file goes away: each path is watched afresh, so
// in-place writes to whatever file the path names now are noticed.
void FileChangeWatcher::Rewatch()
{
    const QStringList watched = m_watcher.files();
    for (const QString& path : std::as_const(m_paths)) {
        if (watched.contains(path))
            m_watcher.removePath(path);
        if (QFileInfo::exists(path))
            m_watcher.addPath(path);
        const QString folder = QFileInfo(path).absolutePath();
        if (QFileInfo(folder).isDir() && !m_watcher.directories().contains(folder))
            m_watcher.addPath(folder);
    }
}

void FileChangeWatcher::Look()
{
    const bool wasPending = !m_changed.isEmpty();
    for (const QString& path : std::as_const(m_paths)) {
        if (!m_changed.contains(path) && !(StampOf(path) == m_stamps.value(path)))
            m_changed.append(path);
    }
    Rewatch();
    if (!wasPending && !m_changed.isEmpty())
        emit Changed();
}
