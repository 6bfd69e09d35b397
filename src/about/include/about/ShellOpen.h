#pragma once
// Opening a web address, a mail address or a document through the
// platform, as the user's own programs would. Replaceable, so that tests
// can see what would be opened without starting a browser.

#include <QString>
#include <QUrl>
#include <functional>

namespace ShellOpen {

// Opens the address; false when the platform could not hand it to any
// program.
using Opener = std::function<bool(const QUrl& address)>;

// A web or mail address, as typed.
bool Open(const QString& address);
// A local file, in the program the platform associates with its type.
[[nodiscard]] bool OpenFile(const QString& path);
// Installs a replacement and returns the previous one; an empty function
// restores the platform's opener.
Opener SetOpener(Opener opener);

}  // namespace ShellOpen
