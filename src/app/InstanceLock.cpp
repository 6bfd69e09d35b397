#include "app/InstanceLock.h"

#include "app/ErrorReport.h"
#include "app/Globals.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <cerrno>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace modVantrel {
namespace {

// A folder that only this user may write to: anyone else able to create
// the lock file there first could keep the user from starting.
bool IsPrivateFolder(const QByteArray& folder)
{
#if defined(Q_OS_UNIX)
    struct stat info = {};
    return folder.startsWith('/') && ::stat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode)
           && info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
#else
    (void)folder;
    return false;
#endif
}

}  // namespace

QString InstanceLockFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (IsPrivateFolder(runtime))
        return AddTrailingBackslash(QFile::decodeName(runtime));
    return AddTrailingBackslash(
        QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
}

InstanceLock::InstanceLock(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (const int code = MakeFolder(folder)) {
        Fail(QStringLiteral("Cannot create the folder ") + folder, code);
        return;
    }
#if defined(Q_OS_UNIX)
    // Read-only is enough to lock; a symbolic link put in the lock's place
    // is not followed.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0) {
        Fail(QStringLiteral("Cannot open ") + path, errno);
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_outcome = Outcome::Taken;
        return;
    }
    const int code = errno;
    ::close(m_fd);
    m_fd = -1;
    if (code == EWOULDBLOCK)
        m_outcome = Outcome::Running;
    else
        Fail(QStringLiteral("Cannot lock ") + path, code);
#else
    // The lock file records its holder's process, so the lock of a copy
    // that crashed is taken over.
    m_lockFile = std::make_unique<QLockFile>(path);
    m_lockFile->setStaleLockTime(0);
    if (m_lockFile->tryLock(0))
        m_outcome = Outcome::Taken;
    else if (m_lockFile->error() == QLockFile::LockFailedError)
        m_outcome = Outcome::Running;
    else
        Fail(QStringLiteral("Cannot create ") + path, 0);
#endif
}

InstanceLock::~InstanceLock()
{
#if defined(Q_OS_UNIX)
    if (m_fd >= 0)
        ::close(m_fd);  // which releases the lock
#endif
}

void InstanceLock::Fail(const QString& what, int code)
{
    m_outcome = Outcome::Failed;
    m_errorCode = code;
    m_reason = code ? what + QStringLiteral(": ") + GetApiErrorText(code) : what;
}

}  // namespace modVantrel
