#pragma once
// Application-wide objects and the small path helpers every window uses.

#include "app/cViewFileDiffsOptions.h"

#include <QString>
#include <memory>

class cDiffEngine;

namespace modVantrel {

// The program's folder, always ending in the platform's separator.
extern QString gAppFolder;
extern std::unique_ptr<cViewFileDiffsOptions> gOptions;
extern std::unique_ptr<cDiffEngine> gDiffEngine;

// The path unchanged when empty or already ending in the separator,
// otherwise the path followed by it.
[[nodiscard]] QString AddTrailingBackslash(const QString& path);
// True when the path names an existing file (through the path library).
[[nodiscard]] bool FileExists(const QString& path);
// The path up to and including its last separator; empty when it has none.
[[nodiscard]] QString GetFolderOfPath(const QString& path);
// Creates the folder and the folders above it that are missing. 0 when the
// folder exists afterwards, otherwise the system's error code of the step
// that failed (ENOTDIR when a file stands in its way).
[[nodiscard]] int MakeFolder(const QString& folder);
// text without leading and trailing spaces; other blanks such as a TAB are
// part of a name and stay.
[[nodiscard]] QString TrimSpaces(const QString& text);

}  // namespace modVantrel
