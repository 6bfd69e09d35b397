#include "app/FolderComparison.h"

#include "engine/FileNameText.h"

#include <sys/stat.h>

namespace modVantrel {
namespace {

FolderComparisonOpener& Opener()
{
    static FolderComparisonOpener opener;
    return opener;
}

}  // namespace

void SetFolderComparisonOpener(FolderComparisonOpener opener)
{
    Opener() = std::move(opener);
}

bool OpenFolderComparison(const QString& folderOne, const QString& folderTwo, bool compare)
{
    if (!Opener())
        return false;
    Opener()(folderOne, folderTwo, compare);
    return true;
}

bool IsFolderPath(const QString& path)
{
    if (path.isEmpty())
        return false;
    struct stat info {};
    return ::stat(FileNameText::ToBytes(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool NamesTwoFolders(const QStringList& arguments)
{
    return arguments.size() >= 2 && IsFolderPath(arguments.at(0)) && IsFolderPath(arguments.at(1));
}

}  // namespace modVantrel
