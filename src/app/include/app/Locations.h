#pragma once
// Where the program finds its parts and keeps its files. An installed
// program's folder is read-only and shared by every user, so the options
// file and the detail log live there only for a portable copy; otherwise
// they go to the user's own folders. Every folder here ends in the
// platform's separator.

#include <QString>
#include <QStringList>

namespace modVantrel {

// The folders of the options file and of the detail log; start-up sets
// them. While they are empty, as in tests that set only gAppFolder, both
// are the program's folder.
extern QString gIniFolder;
extern QString gLogFolder;
[[nodiscard]] QString IniFolder();
[[nodiscard]] QString LogFolder();

// A portable copy: the program's folder already holds the options file,
// and both may be written.
[[nodiscard]] bool IsPortableCopy(const QString& programFolder, const QString& iniFileName);

// Sets gIniFolder and gLogFolder: the program's folder for a portable copy,
// else the per-user configuration and data folders of the application.
void ChooseSettingsFolders(const QString& programFolder, const QString& iniFileName);

// Where the path library may lie, in the order tried: beside the program
// (the build tree, a portable copy), then where installing puts it.
[[nodiscard]] QStringList LibraryFolders(const QString& programFolder);

// Where the help may lie, in the order tried: the folder "help" beside the
// program, then where installing puts it; and the first of them that holds
// the start page, or empty when none does.
inline constexpr char kHelpStartPage[] = "index.html";
[[nodiscard]] QStringList HelpFolders(const QString& programFolder);
[[nodiscard]] QString HelpFolder(const QString& programFolder);

}  // namespace modVantrel
