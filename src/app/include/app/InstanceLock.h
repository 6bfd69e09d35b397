#pragma once
// The rule of one running copy per user. The lock is a file in a folder
// only the user may write to, held with a lock of the system's, which ends
// with the process that holds it: a copy that crashed leaves no lock behind,
// and no other user can create the file first. When no lock can be made at
// all, the program runs all the same; it never claims that another copy
// runs unless one holds the lock.

#include <QString>
#include <memory>

class QLockFile;

namespace modVantrel {

// $XDG_RUNTIME_DIR when it names a folder of this user's that no one else
// may write to (as it should), otherwise the per-user configuration folder.
// Ends in the separator. TMPDIR plays no part, so copies started with
// different temporary folders still see each other.
[[nodiscard]] QString InstanceLockFolder();

class InstanceLock {
public:
    enum class Outcome {
        Taken,    // this copy holds the lock until the object goes
        Running,  // another live process holds it
        Failed,   // no lock could be made; reason() says why
    };

    // Takes the lock in the file at path, creating the file and its folder
    // when missing.
    explicit InstanceLock(const QString& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    [[nodiscard]] Outcome outcome() const { return m_outcome; }
    // For Failed: what the system refused, with its reason.
    [[nodiscard]] const QString& reason() const { return m_reason; }
    // For Failed: the system's error code, 0 when there is none.
    [[nodiscard]] int errorCode() const { return m_errorCode; }

private:
    void Fail(const QString& what, int code);

    Outcome m_outcome = Outcome::Failed;
    QString m_reason;
    int m_errorCode = 0;
    int m_fd = -1;                          // the locked file, on Unix
    std::unique_ptr<QLockFile> m_lockFile;  // elsewhere
};

}  // namespace modVantrel
