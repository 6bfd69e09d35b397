#include "compare/RowText.h"

#include "engine/TextDecoding.h"
#include "engine/TextNormalizer.h"

#include <algorithm>

namespace RowText {
namespace {

constexpr int kTabWidth = 3;

// Characters drawn without a width of their own in a fixed-pitch font.
bool IsZeroWidth(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format: return true;
    default: return false;
    }
}

// The most UTF-16 units a part of `columns` columns may hold.
qsizetype UnitLimit(qsizetype columns)
{
    return (std::max<qsizetype>(columns, 0) + 1) * kUnitsPerColumnLimit;
}

}  // namespace

bool IsValidUtf8(QByteArrayView bytes)
{
    return TextNormalizer::IsValidUtf8(std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
}

QString DecodeLine(QByteArrayView bytes)
{
    return TextDecoding::DecodeLine(bytes);
}

QString WidenTabs(QStringView text)
{
    const qsizetype tabs = text.count(u'\t');
    if (tabs == 0) {
        return text.toString();
    }
    QString out;
    out.reserve(text.size() + tabs * (kTabWidth - 1));
    for (const QChar c : text) {
        if (c == u'\t') {
            out.append(QLatin1StringView("   "));
        } else {
            out.append(c);
        }
    }
    return out;
}

QString ShownLine(QByteArrayView bytes)
{
    return WidenTabs(DecodeLine(bytes));
}

QString Format(std::int64_t lineNumber, QByteArrayView bytes)
{
    const QString decoded = DecodeLine(bytes);
    const QString number = QString::number(lineNumber);
    const qsizetype tabs = decoded.count(u'\t');
    QString row;
    row.reserve(2 + number.size() + decoded.size() + tabs * (kTabWidth - 1));
    row.append(u' ').append(number).append(u'.');
    if (tabs == 0) {
        row.append(decoded);
        return row;
    }
    for (const QChar c : decoded) {
        if (c == u'\t') {
            row.append(QLatin1StringView("   "));
        } else {
            row.append(c);
        }
    }
    return row;
}

QString WithVisibleSeparators(QString text)
{
    return text.replace(QChar::LineSeparator, QChar(0x21B5))
        .replace(QChar::ParagraphSeparator, QChar(0x00B6))
        .replace(QLatin1Char('\r'), QChar(0x2190));
}

QString LineOfRowText(QStringView rowText)
{
    const qsizetype period = rowText.indexOf(QLatin1Char('.'));
    return (period < 0 ? rowText : rowText.sliced(period + 1)).toString();
}

Part LeadingColumns(QStringView text, qsizetype columns)
{
    const qsizetype limit = UnitLimit(columns);
    qsizetype units = 0;
    qsizetype used = 0;
    while (units < text.size()) {
        const bool pair = text[units].isHighSurrogate() && units + 1 < text.size() && text[units + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[units], text[units + 1]) : text[units].unicode();
        const qsizetype length = pair ? 2 : 1;
        const qsizetype width = IsZeroWidth(c) ? 0 : 1;
        if (used + width > columns || units + length > limit)
            break;
        used += width;
        units += length;
    }
    return {text.first(units).toString(), units < text.size()};
}

Part FormatPart(std::int64_t lineNumber, QByteArrayView bytes, bool utf8, qsizetype columns)
{
    // A decoded UTF-16 unit comes from at most three bytes. Decoding this
    // many bytes yields more units than a part may hold, so the part and
    // the look-ahead past its end both lie inside the decoded prefix.
    qsizetype take = std::min(bytes.size(), 3 * (UnitLimit(columns) + 2));
    if (utf8) {
        // Cut before a sequence's first byte, never inside it.
        while (take > 0 && take < bytes.size() && (static_cast<unsigned char>(bytes[take]) & 0xC0) == 0x80)
            --take;
    }
    const QByteArrayView prefix = bytes.first(take);
    const QString decoded = utf8 ? QString::fromUtf8(prefix) : TextDecoding::DecodeWindows1252(prefix);
    const QString row = QLatin1Char(' ') + QString::number(lineNumber) + QLatin1Char('.') + WidenTabs(decoded);
    Part part = LeadingColumns(row, columns);
    // Bytes left undecoded are more text, whatever they hold.
    part.more = part.more || take < bytes.size();
    return part;
}

}  // namespace RowText
