#pragma once
// Notices when the files of the displayed comparison change on disk: written
// in place, replaced by a rename (as editors save), deleted or created
// again. Each file's folder is watched too, since a file replaced by a
// rename is no longer the file the system was watching. A burst of changes
// is one change until it is acknowledged.

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>

class FileChangeWatcher : public QObject {
    Q_OBJECT
public:
    explicit FileChangeWatcher(QObject* parent = nullptr);

    // Watches these files from now on (none: stops watching).
    void Watch(const QStringList& paths);
    // The watched files that changed since Watch or the last Acknowledge,
    // in the order Watch was given them.
    [[nodiscard]] QStringList ChangedPaths() const;
    // Forgets the changes seen so far; only a later change counts.
    void Acknowledge();

signals:
    // A watched file changed and no change was pending before.
    void Changed();

private:
    // What a file looked like: a change is any difference in these.
    struct Stamp {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        QDateTime metadataChanged;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    [[nodiscard]] static Stamp StampOf(const QString& path);
    void Look();
    void Rewatch();

    QFileSystemWatcher m_watcher;
    QStringList m_paths;
    QHash<QString, Stamp> m_stamps;  // as last acknowledged
    QStringList m_changed;
};
