#include "about/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace ShellOpen {
namespace {

void OpenWithPlatform(const QString& target)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

Opener& Current()
{
    static Opener opener = OpenWithPlatform;
    return opener;
}

}  // namespace

void Open(const QString& target)
{
    Current()(target);
}

Opener SetOpener(Opener opener)
{
    Opener previous = Current();
    Current() = opener ? std::move(opener) : Opener(OpenWithPlatform);
    return previous;
}

}  // namespace ShellOpen
