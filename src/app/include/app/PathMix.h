#pragma once
// The path library, loaded at run time from the program's folder, and Qt
// string wrappers for its functions. Every call records the last error code
// for the central error report.

#include <QString>

namespace PathMix {

// The platform's file name of the library ("libpathmix.so" on Linux).
[[nodiscard]] QString LibraryFileName();
// Loads the library from folder (which ends in a separator). False when it
// cannot be loaded or lacks one of its functions.
[[nodiscard]] bool Load(const QString& folder);
[[nodiscard]] bool IsLoaded();
// Frees the library for as long as the process still holds it.
void Unload();

// Throw VantrelError when the library is not loaded. APIFileExists takes a
// file name in the window's text form (FileNameText), so a name that is
// not valid UTF-8 is looked up by its own bytes.
[[nodiscard]] short APIFileExists(const QString& path);
[[nodiscard]] QString RemainingString(const QString& text, const QString& leading);
[[nodiscard]] QString ReplaceString(const QString& text, const QString& find, const QString& replacement);
[[nodiscard]] QString NormalizePath(const QString& path);
[[nodiscard]] QString GetLastItemInPath(const QString& path);
[[nodiscard]] short GetNextSlashPos(const QString& path, short start);
[[nodiscard]] QString StripNull(const QByteArray& buffer);

}  // namespace PathMix
