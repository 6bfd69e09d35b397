// Fuzzes the INI text layer: a key written into any text reads back as
// written (trimmed, one pair of quotes removed, line breaks as spaces), and
// every other key of the text keeps the value it had; several keys written
// in one pass give what writing them one after another gives.

#include "FuzzInput.h"
#include "options/IniText.h"

#include <QList>
#include <QString>
#include <utility>

namespace {

// Names a reader finds again: letters, digits, '_' and inner blanks.
QByteArray Name(const QByteArray& raw)
{
    QByteArray name;
    for (const char c : raw) {
        const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (word || (c == ' ' && !name.isEmpty()))
            name += c;
    }
    return name.trimmed().isEmpty() ? QByteArray("k") : name.trimmed();
}

// What Read gives for a written value.
QByteArray Expected(QByteArray value)
{
    value.replace('\r', ' ').replace('\n', ' ');
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

// Every (section, key) the text names, in a rough reading of its lines.
QList<std::pair<QByteArray, QByteArray>> KeysOf(const QByteArray& text)
{
    QList<std::pair<QByteArray, QByteArray>> keys;
    QByteArray section;
    for (const QByteArray& line : QByteArray(text).replace('\r', '\n').split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('[') && trimmed.contains(']'))
            section = trimmed.mid(1, trimmed.indexOf(']') - 1).trimmed();
        else if (trimmed.contains('=') && !trimmed.startsWith(';'))
            keys.append({section, line.left(line.indexOf('=')).trimmed()});
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const QByteArray section = Name(input.Bytes(12));
    const QByteArray key = Name(input.Bytes(12));
    const QByteArray value = input.Bytes(40);
    const QByteArray text = input.Rest();

    const QByteArray written = IniText::Write(text, section, key, value);
    Check(IniText::Read(written, section, key) == Expected(value));
    const QList<std::pair<QByteArray, QByteArray>> keys = KeysOf(text);
    const auto sameName = [](const QByteArray& a, const QByteArray& b) {
        return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
    };
    for (const auto& [otherSection, otherKey] : keys)
        Check((sameName(otherSection, section) && sameName(otherKey, key))
              || IniText::Read(written, otherSection, otherKey) == IniText::Read(text, otherSection, otherKey));
    // A key of the text, a new key of a new section, then the first key again.
    const QList<IniText::Entry> entries = {{section, key, value},
                                           {keys.value(0).first, keys.isEmpty() ? key : keys[0].second, "x"},
                                           {section + "2", key, value + "y"},
                                           {section, key, "z"}};
    QByteArray oneByOne = text;
    for (const IniText::Entry& e : entries)
        oneByOne = IniText::Write(oneByOne, e.section, e.key, e.value);
    Check(IniText::Write(text, entries) == oneByOne);
    return 0;
}
