#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/ErrorReport.h"
#include "app/FolderComparison.h"
#include "app/Globals.h"
#include "app/InstanceLock.h"
#include "app/Locations.h"
#include "app/PathMix.h"
#include "app/Prompt.h"
#include "app/VantrelError.h"
#include "engine/cDiffEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcStartup, "vantrel.startup", QtWarningMsg)

namespace modVantrel {
namespace {

std::unique_ptr<InstanceLock> gInstanceLock;

// Puts why no lock could be made into the detail log, once the log's folder
// is known. Start-up goes on: only a copy that holds the lock keeps another
// from running.
void LogInstanceLockFailure(const InstanceLock& lock, const QString& path)
{
    const QString message = BuildErrorMessage(
        ErrorNumber::FileIo, QStringLiteral("Cannot make sure that only one Vantrel runs: ") + lock.reason(),
        lock.errorCode(), QStringLiteral("modVantrel.Main"));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString details = QStringLiteral("Lock file: ") + path + QStringLiteral("\r\nXDG_RUNTIME_DIR: ")
                            + (runtime.isEmpty() ? QStringLiteral("not set") : runtime)
                            + QStringLiteral("\r\nThis Vantrel runs all the same.");
    qCWarning(lcStartup).noquote() << message;
    if (const std::optional<QString> refused = AppendToDetailLog(message, details))
        qCWarning(lcStartup).noquote() << *refused;
}

bool LoadPathLibrary()
{
    for (const QString& folder : LibraryFolders(gAppFolder)) {
        if (PathMix::Load(folder)) {
            qCDebug(lcStartup).noquote() << "path library:" << folder + PathMix::LibraryFileName();
            return true;
        }
    }
    return false;
}

}  // namespace

bool Main(const QString& programPath, const QStringList& arguments, const std::function<void()>& openFirstWindow)
{
    try {
        const QString lockPath = InstanceLockFolder() + QStringLiteral("vantrel.lock");
        auto lock = std::make_unique<InstanceLock>(lockPath);
        // A comparison of two folders runs beside a Vantrel that is running:
        // handed over, its folders (git difftool's temporary ones) would be
        // gone once this start returned.
        const bool besideRunning = lock->outcome() == InstanceLock::Outcome::Running && NamesTwoFolders(arguments);
        if (lock->outcome() == InstanceLock::Outcome::Running && !besideRunning) {
            MsgBox(QStringLiteral("Vantrel is already running"), PromptButtons::Ok, PromptIcon::None,
                   QStringLiteral("Vantrel"));
            return false;
        }
        gArguments = arguments;
        gAppFolder = AddTrailingBackslash(QDir::toNativeSeparators(QFileInfo(programPath).absolutePath()));
        ChooseSettingsFolders(gAppFolder, QFileInfo(programPath).completeBaseName() + QStringLiteral(".ini"));
        if (lock->outcome() == InstanceLock::Outcome::Failed)
            LogInstanceLockFailure(*lock, lockPath);
        else if (!besideRunning)
            gInstanceLock = std::move(lock);
        qCDebug(lcStartup).noquote() << "options folder:" << gIniFolder << "log folder:" << gLogFolder
                                     << "help folder:" << HelpFolder(gAppFolder);
        if (!LoadPathLibrary())
            throw VantrelError(ErrorNumber::DllLoad,
                               QStringLiteral("Error loading DLL - ") + PathMix::LibraryFileName());
        gOptions = std::make_unique<cViewFileDiffsOptions>();
        gDiffEngine = std::make_unique<cDiffEngine>();
        openFirstWindow();
        return true;
    } catch (...) {
        ReportUnexpectedError(QStringLiteral("modVantrel.Main"));
        return false;
    }
}

void ReleaseApplicationObjects()
{
    gOptions.reset();
    QCoreApplication::processEvents();
    gDiffEngine.reset();
    QCoreApplication::processEvents();
    PathMix::Unload();
    gInstanceLock.reset();
}

}  // namespace modVantrel
