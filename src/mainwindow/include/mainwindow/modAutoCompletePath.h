#pragma once
// Type-ahead completion of folder names in a path box: the rule alone,
// without the disk. A typed path "/usr/lo" names a folder to list ("/usr/")
// and a prefix ("lo"); of that folder's entries whose names begin with the
// prefix (letter case aside), the first in name order decides: a folder is
// proposed with its separator ("/usr/local/"), a file ends the completion.
// The disk search that feeds this rule lives in PathListing.h.

#include <QString>
#include <optional>
#include <vector>

namespace modAutoCompletePath {

// True for the key texts that may start a completion: one character from
// space to 'z', typed without Ctrl, Alt or Meta. Backspace, Delete, Enter,
// Ctrl+V and characters above 'z' (braces, tilde, accented letters) are not.
[[nodiscard]] bool IsTypedCharacter(const QString& keyText, bool commandModifier);

// False for texts that are never completed: empty ones, network paths
// ("//server/share") and texts ending in a separator.
[[nodiscard]] bool IsCompletable(const QString& typed);

struct TypedPath {
    QString folder;  // the part up to and including the last separator; may be empty
    QString prefix;  // the text after the last separator
};
[[nodiscard]] TypedPath SplitTyped(const QString& typed);

// The order in which entries are looked at: by name without regard to case,
// then by exact name, so that "Foo" and "foo" still come in a fixed order.
[[nodiscard]] bool ComesBefore(const QString& a, const QString& b);

// Keeps the first entry, in the order above, whose name begins with the
// prefix without regard to case. Entries may be offered in any order.
class FirstMatch {
public:
    explicit FirstMatch(QString prefix) : m_prefix(std::move(prefix)) {}
    [[nodiscard]] bool Matches(const QString& name) const;
    // True when the name matches and now is the first match.
    bool Offer(const QString& name);
    [[nodiscard]] const std::optional<QString>& Winner() const { return m_winner; }

private:
    QString m_prefix;
    std::optional<QString> m_winner;
};

struct FolderEntry {
    QString name;
    bool folder = false;
};

// The completed path for a typed text, given whether the typed text itself
// names a folder that can be listed and the entries of the folder it ends
// in: the typed folder with a separator, the folder path of the first
// matching entry when that entry is a folder, or "" for no completion.
[[nodiscard]] QString GetCompletedPath(const QString& typed, bool typedIsFolder,
                                       const std::vector<FolderEntry>& entries);

// The text to append to the typed text and select: the completed path's
// characters after the typed ones up to and including the next separator;
// "" when the completed path is not longer than the typed text.
[[nodiscard]] QString AppendedPart(const QString& typed, const QString& completed);

}  // namespace modAutoCompletePath
