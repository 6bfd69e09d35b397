#include "compare/RowText.h"

#include "engine/TextDecoding.h"
#include "engine/TextNormalizer.h"

namespace RowText {
namespace {

constexpr int kTabWidth = 3;

}  // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    return TextNormalizer::IsValidUtf8(std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
}

QString decodeLine(QByteArrayView bytes)
{
    return TextDecoding::DecodeLine(bytes);
}

QString widenTabs(QStringView text)
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

QString lineText(QByteArrayView bytes)
{
    return widenTabs(decodeLine(bytes));
}

QString rowText(std::int64_t lineNumber, QByteArrayView bytes)
{
    const QString decoded = decodeLine(bytes);
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

}  // namespace RowText
