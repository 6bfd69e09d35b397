#include "about/ShellOpen.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace ShellOpen {
namespace {

bool OpenWithPlatform(const QUrl& address)
{
    return QDesktopServices::openUrl(address);
}

Opener& Current()
{
    static Opener opener = OpenWithPlatform;
    return opener;
}

}  // namespace

bool Open(const QString& address)
{
    return Current()(QUrl::fromUserInput(address));
}

bool OpenFile(const QString& path)
{
    // A file URL, never a guess from the text: a file named like a web
    // address must still open as the file.
    return Current()(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

Opener SetOpener(Opener opener)
{
    Opener previous = Current();
    Current() = opener ? std::move(opener) : Opener(OpenWithPlatform);
    return previous;
}

}  // namespace ShellOpen
