#pragma once
// Pure edits of INI text, kept apart from the file access so they can be
// tested on their own. Text is handled as bytes: lines that are not touched
// are written back byte for byte, whatever their encoding. A line ends in
// LF, CR LF or a lone CR.

#include <QByteArray>
#include <QList>
#include <optional>

namespace IniText {

// The value of key in section, trimmed of blanks and of one pair of
// enclosing quotes; nothing when the section or key is absent.
[[nodiscard]] std::optional<QByteArray> Read(const QByteArray& text, const QByteArray& section, const QByteArray& key);

// text with key in section set to value. The key's line is replaced in
// place; a new key goes after the last key of its section; a new section
// goes at the end. New lines end as the text's first line does (LF when
// it has none).
[[nodiscard]] QByteArray Write(const QByteArray& text, const QByteArray& section, const QByteArray& key,
                               const QByteArray& value);

struct Entry {
    QByteArray section;
    QByteArray key;
    QByteArray value;
};

// Every key of the section's first occurrence with its value (as Read gives
// it), in the order of the text; empty when the section is absent.
[[nodiscard]] QList<Entry> ReadSection(const QByteArray& text, const QByteArray& section);

// text with every entry written, in order, as one Write after another would
// write them, in one pass over the text.
[[nodiscard]] QByteArray Write(const QByteArray& text, const QList<Entry>& entries);

}  // namespace IniText
