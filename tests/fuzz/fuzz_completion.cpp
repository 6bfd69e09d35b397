// Fuzzes the type-ahead completion rule over listed folders. The proposal is
// the typed folder plus the first matching entry in name order (letter case
// aside), whatever order the folder lists its entries in; a first match that
// is a file proposes nothing; what is appended to the typed text is the
// proposal's next part, up to its separator.

#include "FuzzInput.h"
#include "mainwindow/modAutoCompletePath.h"

#include <QDir>
#include <QSet>
#include <algorithm>
#include <vector>

using namespace modAutoCompletePath;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const QString typed = QStringLiteral("/t/") + QString::fromUtf8(input.Bytes(6)).remove(QDir::separator());
    std::vector<FolderEntry> entries;
    QSet<QString> names;
    while (!input.AtEnd() && entries.size() < 40) {
        const std::uint8_t kind = input.Byte();
        const QString name = QString::fromUtf8(input.Bytes(6)).remove(QDir::separator());
        if (!name.isEmpty() && !names.contains(name)) {
            names.insert(name);
            entries.push_back({name, (kind & 1) != 0});
        }
    }
    const QString proposed = GetCompletedPath(typed, false, entries);

    // The first match by name, found by sorting every entry.
    const TypedPath parts = SplitTyped(typed);
    std::vector<FolderEntry> sorted = entries;
    std::sort(sorted.begin(), sorted.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return ComesBefore(a.name, b.name); });
    const auto first = std::find_if(sorted.begin(), sorted.end(), [&](const FolderEntry& entry) {
        return entry.name.startsWith(parts.prefix, Qt::CaseInsensitive);
    });
    const QString expected =
        first == sorted.end() || !first->folder ? QString() : parts.folder + first->name + QDir::separator();
    Check(proposed == expected);
    // Listed in reverse, the same proposal.
    Check(GetCompletedPath(typed, false, {entries.rbegin(), entries.rend()}) == proposed);
    const QString appended = AppendedPart(typed, proposed);
    Check(proposed.isEmpty() || proposed.size() <= typed.size()
          || (!appended.isEmpty() && appended == proposed.mid(typed.size(), appended.size())
              && (appended.size() >= proposed.size() - typed.size() || appended.endsWith(QDir::separator()))));
    return 0;
}
