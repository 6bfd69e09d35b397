#pragma once
// The View menu's commands: File One or File Two opened outside the
// program, in the program associated with its type or in the platform's
// plain-text editor ("Notepad"). The main window's handlers pass the text of
// the path box; nothing of the window changes.

#include <QString>

namespace ExternalViewing {

enum class File { One, Two };

// "Use Notepad": checks the file and starts the editor on it, or tells why not.
void UseNotepad(const QString& pathBoxText, File file);

// "Use Associated Program": checks the file and opens it. True when the
// platform could not open it and the user then asked for Notepad; the
// caller runs its Use Notepad command, which reads the path box again.
[[nodiscard]] bool UseAssociatedProgram(const QString& pathBoxText, File file);

// Opens path in its associated program; false when the platform cannot.
[[nodiscard]] bool ShowFileInAssociatedProgram(const QString& path);

}  // namespace ExternalViewing
