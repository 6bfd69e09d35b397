#pragma once
// The way from the file view to the folder view: the file view knows only
// that two folders can be handed to whoever the program installed to
// compare them (the folder window), and nothing of that window itself.

#include <QString>
#include <QStringList>
#include <functional>

namespace modVantrel {

// Opens a comparison of two folders (either may be empty: the last ones
// compared are offered), compared at once when `compare`.
using FolderComparisonOpener = std::function<void(const QString& folderOne, const QString& folderTwo, bool compare)>;
void SetFolderComparisonOpener(FolderComparisonOpener opener);
// False when no opener is installed.
bool OpenFolderComparison(const QString& folderOne, const QString& folderTwo, bool compare);

// True for the path of an existing folder (a name in the text form of
// FileNameText), through a link.
[[nodiscard]] bool IsFolderPath(const QString& path);
// True when the first two arguments name existing folders.
[[nodiscard]] bool NamesTwoFolders(const QStringList& arguments);

}  // namespace modVantrel
