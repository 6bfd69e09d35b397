#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/Locations.h"
#include "app/PathMix.h"
#include "app/Prompt.h"
#include "app/VantrelError.h"
#include "engine/cDiffEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QLoggingCategory>

#include <unistd.h>

Q_LOGGING_CATEGORY(lcStartup, "vantrel.startup", QtWarningMsg)

namespace modVantrel {
namespace {

std::unique_ptr<QLockFile> gInstanceLock;

// One lock per user. QLockFile records the owner's process id, so a lock
// left by a killed run is recognised as stale and taken over.
bool TakeInstanceLock()
{
    const QString path =
        QDir::tempPath() + QStringLiteral("/vantrel-") + QString::number(getuid()) + QStringLiteral(".lock");
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    gInstanceLock = std::move(lock);
    return true;
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
        if (!TakeInstanceLock()) {
            MsgBox(QStringLiteral("Vantrel is already running"), PromptButtons::Ok, PromptIcon::None,
                   QStringLiteral("Vantrel"));
            return false;
        }
        gArguments = arguments;
        gAppFolder = AddTrailingBackslash(QDir::toNativeSeparators(QFileInfo(programPath).absolutePath()));
        ChooseSettingsFolders(gAppFolder, QFileInfo(programPath).completeBaseName() + QStringLiteral(".ini"));
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
