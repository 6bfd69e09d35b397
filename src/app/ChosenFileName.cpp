#include "app/ChosenFileName.h"

#include "engine/FileNameText.h"

#include <QStringList>

#include <memory>
#include <optional>

#if defined(Q_OS_UNIX)
#include <dirent.h>
#endif

namespace modVantrel {
namespace {

// The one entry of folder (bytes, "" for the current folder) that Qt
// decodes to `part`; nothing when none or several do. Elsewhere than on
// Unix names are text, and Qt never needs a replacement mark.
std::optional<QByteArray> OnlyEntryDecodingTo(const QByteArray& folder, const QString& part)
{
#if !defined(Q_OS_UNIX)
    return std::nullopt;
#else
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.isEmpty() ? "." : folder.constData()), ::closedir);
    if (!dir)
        return std::nullopt;
    std::optional<QByteArray> found;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (QString::fromUtf8(entry->d_name) != part)
            continue;
        if (found)
            return std::nullopt;
        found = QByteArray(entry->d_name);
    }
    return found;
#endif
}

}  // namespace

QString ChosenFileName(const QString& qtPath)
{
    if (!qtPath.contains(QChar::ReplacementCharacter))
        return FileNameText::FromBytes(qtPath.toUtf8());
    QByteArray bytes;
    const QStringList parts = qtPath.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            bytes += '/';
        const std::optional<QByteArray> entry =
            parts[i].contains(QChar::ReplacementCharacter) ? OnlyEntryDecodingTo(bytes, parts[i]) : std::nullopt;
        bytes += entry ? *entry : parts[i].toUtf8();
    }
    return FileNameText::FromBytes(bytes);
}

}  // namespace modVantrel
