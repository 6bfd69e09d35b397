// A running copy: the lock that keeps one Vantrel running per user (where
// it lies, and what taking it gives in each state its file and folder may
// be in), and the signals that ask it to close.

#include "app/InstanceLock.h"
#include "app/Termination.h"
#include "support/FileBytes.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QScopeGuard>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <optional>

using namespace modVantrel;
using Outcome = InstanceLock::Outcome;

class tst_InstanceLock : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_folder;

private slots:
    void init() { m_folder = std::make_unique<QTemporaryDir>(); }
    void cleanup() { qunsetenv("XDG_RUNTIME_DIR"); }

    // The state before; the outcome, and for a failure what was refused.
    void outcomes_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("reason");  // @ the lock file's path, # its folder
        QTest::newRow("no lock, no folders yet") << "new" << Outcome::Taken << "";
        QTest::newRow("started without standard input") << "no stdin" << Outcome::Taken << "";
        QTest::newRow("folder in a read-only folder")
            << "read-only parent" << Outcome::Failed << "Cannot create the folder #: Permission denied";
        QTest::newRow("a link in its place")
            << "link" << Outcome::Failed << "Cannot open @: Too many levels of symbolic links";
    }

    void outcomes()
    {
        QFETCH(QString, state);
        QFETCH(Outcome, outcome);
        QFETCH(QString, reason);
        const QString folder = m_folder->filePath(QStringLiteral("sub"));
        const QString lockPath = folder + (state == "new" ? "/more/vantrel.lock" : "/vantrel.lock");
        QVERIFY(state == "new" || state == "read-only parent" || QDir().mkpath(folder));
        if (state == "link")
            QVERIFY(QFile::link(m_folder->filePath(QStringLiteral("elsewhere")), lockPath));
        std::optional<Unprivileged> user;
        if (state == "read-only parent") {
            QVERIFY(QFile::setPermissions(m_folder->path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ExeOther));
            user.emplace();
        }
        // The lock may get descriptor 0, which is as good as any other.
        const int input = state == "no stdin" ? ::dup(STDIN_FILENO) : -1;
        if (input >= 0)
            ::close(STDIN_FILENO);
        const mode_t umask = ::umask(0);
        const auto restore = qScopeGuard([&] {
            ::umask(umask);
            if (input >= 0 && ::dup2(input, STDIN_FILENO) == STDIN_FILENO)
                ::close(input);
            user.reset();
            QFile::setPermissions(m_folder->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        {
            const InstanceLock lock(lockPath);
            QCOMPARE(lock.outcome(), outcome);
            QCOMPARE(lock.reason(), reason.replace(u'@', lockPath).replace(u'#', QFileInfo(lockPath).absolutePath()));
            QCOMPARE(lock.errorCode() != 0, outcome == Outcome::Failed);
        }
        // Folders are made as mkdir -p makes them, the umask alone deciding.
        struct stat made = {};
        QVERIFY(state != "new"
                || (::stat(QFile::encodeName(QFileInfo(lockPath).absolutePath()), &made) == 0
                    && (made.st_mode & 07777) == 0777));
        // Once its holder is gone, the lock is free again, though its file
        // is left behind as a copy that ended leaves it.
        if (outcome != Outcome::Failed)
            QCOMPARE(InstanceLock(lockPath).outcome(), Outcome::Taken);
    }

    // Only a runtime folder of this user's that no one else may write to
    // holds the lock; otherwise it goes to the user's configuration folder.
    void folder_data()
    {
        QTest::addColumn<QString>("runtime");  // a kind of XDG_RUNTIME_DIR
        QTest::addColumn<bool>("used");
        QTest::newRow("the user's own") << "private" << true;
        QTest::newRow("writable by others, as /tmp") << "shared" << false;
        QTest::newRow("writable by the group") << "group" << false;
        QTest::newRow("someone else's") << "other owner" << false;
        QTest::newRow("relative") << "relative" << false;
        QTest::newRow("a file") << "file" << false;
    }

    void folder()
    {
        QFETCH(QString, runtime);
        QFETCH(bool, used);
        const QString dir = m_folder->filePath(QStringLiteral("run"));
        QVERIFY(runtime == "file" ? FileBytes::Write(dir, "x") : QDir().mkpath(dir));
        const QFile::Permissions others = runtime == "shared"  ? QFile::WriteOther | QFile::ExeOther
                                          : runtime == "group" ? QFile::WriteGroup | QFile::ExeGroup
                                                               : QFile::Permissions();
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | others));
        if (runtime == "other owner"
            && (geteuid() != 0 || ::chown(QFile::encodeName(dir).constData(), Unprivileged::kNobody, 0) != 0))
            QSKIP("needs root to give the folder away");
        // The relative name leads to the private folder, from where the program runs.
        qputenv("XDG_RUNTIME_DIR",
                QFile::encodeName(runtime == "relative" ? QDir::current().relativeFilePath(dir) : dir));
        const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + u'/';
        QCOMPARE(InstanceLockFolder(), used ? dir + u'/' : config);
    }

    // SIGTERM asks the program to close, through the event loop; a signal
    // it was started with ignored (nohup) stays ignored.
    void terminationRequest()
    {
        static int requests = 0;
        std::signal(SIGHUP, SIG_IGN);
        OnTerminationRequest([] { ++requests; });
        std::raise(SIGHUP);
        QTest::qWait(20);
        QVERIFY(!TerminationRequested());
        std::raise(SIGTERM);
        QTRY_COMPARE(requests, 1);
        QVERIFY(TerminationRequested());
    }
};

QTEST_GUILESS_MAIN(tst_InstanceLock)
#include "tst_InstanceLock.moc"
