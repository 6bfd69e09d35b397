#pragma once
// Opening a web address, a mail address or a document through the
// platform, as the user's own programs would. Replaceable, so that tests
// can see what would be opened without starting a browser.

#include <QString>
#include <functional>

namespace ShellOpen {

using Opener = std::function<void(const QString& target)>;

// Opens the target; the outcome is not examined.
void Open(const QString& target);
// Installs a replacement and returns the previous one; an empty function
// restores the platform's opener.
Opener SetOpener(Opener opener);

}  // namespace ShellOpen
