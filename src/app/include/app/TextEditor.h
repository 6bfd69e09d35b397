#pragma once
// The platform's plain-text editor, the program behind "Use Notepad", and
// the seam through which it is started. The file is always handed over as
// one argument of a program started directly, never through a shell.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace TextEditor {

enum class Platform { Freedesktop, Windows, MacOS };

struct Command {
    QString program;
    QStringList arguments;  // the file among them
    bool operator==(const Command&) const = default;
};

[[nodiscard]] Platform CurrentPlatform();

// The editor for file, decided by the environment alone (PATH, HOME,
// XDG_DATA_HOME, XDG_DATA_DIRS, VISUAL, SystemRoot) and by what the
// folders it names hold:
// - Windows: Notepad in the Windows folder.
// - macOS: TextEdit, through open -e.
// - Otherwise the desktop's default application for plain text
//   (defaultTextApp, a desktop entry id as xdg-mime names it) when its entry
//   is found, runs without a terminal and its program is there; else the
//   first common graphical editor on PATH; else $VISUAL when its program is
//   on PATH.
// Nothing when none of these is there.
[[nodiscard]] std::optional<Command> Choose(Platform platform, const QProcessEnvironment& environment,
                                            const QString& defaultTextApp, const QString& file);

// What `xdg-mime query default text/plain` prints, or empty when xdg-mime
// is not on PATH or names nothing.
[[nodiscard]] QString DefaultTextApplication();

// Starts a program detached from this one; false when it cannot be started.
using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;
[[nodiscard]] bool Launch(const Command& command);
// Installs a replacement and returns the previous one; an empty function
// restores the real launcher.
Launcher SetLauncher(Launcher launcher);

}  // namespace TextEditor

namespace modVantrel {

// Starts the platform's plain-text editor on the file; false when there is
// none or it cannot be started. The path is made absolute first, so that a
// name beginning with "-" is never taken for an option.
[[nodiscard]] bool LoadFileInNotepad(const QString& path);

}  // namespace modVantrel
