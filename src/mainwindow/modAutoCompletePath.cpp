#include "mainwindow/modAutoCompletePath.h"

#include <QDir>

namespace modAutoCompletePath {
namespace {

QChar Separator()
{
    return QDir::separator();
}

}  // namespace

bool IsTypedCharacter(const QString& keyText, bool commandModifier)
{
    if (commandModifier || keyText.size() != 1)
        return false;
    const char16_t code = keyText.at(0).unicode();
    return code >= 32 && code <= 122;
}

bool IsCompletable(const QString& typed)
{
    const QString network = QString(2, Separator());
    return !typed.isEmpty() && !typed.startsWith(network) && !typed.endsWith(Separator())
           && !typed.endsWith(QLatin1Char('/'));
}

TypedPath SplitTyped(const QString& typed)
{
    const qsizetype last = typed.lastIndexOf(Separator());
    return {typed.left(last + 1), typed.mid(last + 1)};
}

bool ComesBefore(const QString& a, const QString& b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

bool FirstMatch::Matches(const QString& name) const
{
    return name.startsWith(m_prefix, Qt::CaseInsensitive);
}

bool FirstMatch::Offer(const QString& name)
{
    if (!Matches(name) || (m_winner && !ComesBefore(name, *m_winner)))
        return false;
    m_winner = name;
    return true;
}

QString GetCompletedPath(const QString& typed, bool typedIsFolder, const std::vector<FolderEntry>& entries)
{
    if (typedIsFolder)
        return typed + Separator();
    const TypedPath parts = SplitTyped(typed);
    FirstMatch first(parts.prefix);
    bool folder = false;
    for (const FolderEntry& entry : entries) {
        if (first.Offer(entry.name))
            folder = entry.folder;
    }
    // A file that comes first ends the completion, even when a folder with
    // the same prefix follows it.
    if (!first.Winner() || !folder)
        return QString();
    return parts.folder + *first.Winner() + Separator();
}

QString AppendedPart(const QString& typed, const QString& completed)
{
    const qsizetype typedLength = typed.size();
    if (completed.size() <= typedLength)
        return QString();
    const qsizetype separator = completed.indexOf(Separator(), typedLength);
    return separator < 0 ? completed.mid(typedLength) : completed.mid(typedLength, separator - typedLength + 1);
}

}  // namespace modAutoCompletePath
