#include "app/Locations.h"

#include "app/Globals.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace modVantrel {

QString gIniFolder;
QString gLogFolder;

namespace {

// The folder a path relative to the program's folder names, as the build
// defines it for the installed layout (e.g. "../lib/vantrel").
QString Below(const QString& programFolder, const char* relative)
{
    return AddTrailingBackslash(QDir::toNativeSeparators(QDir::cleanPath(programFolder + QLatin1String(relative))));
}

}  // namespace

QString IniFolder()
{
    return gIniFolder.isEmpty() ? gAppFolder : gIniFolder;
}

QString LogFolder()
{
    return gLogFolder.isEmpty() ? gAppFolder : gLogFolder;
}

bool IsPortableCopy(const QString& programFolder, const QString& iniFileName)
{
    const QFileInfo ini(programFolder + iniFileName);
    return ini.isFile() && ini.isWritable() && QFileInfo(programFolder).isWritable();
}

void ChooseSettingsFolders(const QString& programFolder, const QString& iniFileName)
{
    if (IsPortableCopy(programFolder, iniFileName)) {
        gIniFolder = gLogFolder = programFolder;
        return;
    }
    const auto userFolder = [](QStandardPaths::StandardLocation location) {
        return AddTrailingBackslash(QDir::toNativeSeparators(QStandardPaths::writableLocation(location)));
    };
    gIniFolder = userFolder(QStandardPaths::AppConfigLocation);
    gLogFolder = userFolder(QStandardPaths::AppLocalDataLocation);
}

QStringList LibraryFolders(const QString& programFolder)
{
    return {programFolder, Below(programFolder, VANTREL_LIBRARY_FROM_PROGRAM)};
}

QStringList HelpFolders(const QString& programFolder)
{
    return {AddTrailingBackslash(programFolder + QStringLiteral("help")),
            Below(programFolder, VANTREL_HELP_FROM_PROGRAM)};
}

QString HelpFolder(const QString& programFolder)
{
    for (const QString& folder : HelpFolders(programFolder)) {
        if (QFileInfo(folder + QLatin1String(kHelpStartPage)).isFile())
            return folder;
    }
    return QString();
}

}  // namespace modVantrel
