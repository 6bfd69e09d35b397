#include "compare/RowText.h"

#include <array>

namespace RowText {
namespace {

// Bytes 0x80..0x9F of Windows-1252. The five unassigned ones (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) keep their own value so that decoding never loses a byte.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr int kTabWidth = 3;

// Length of the sequence that a lead byte starts, and the smallest and
// largest value its second byte may take (which rules out overlong forms,
// surrogates and values above U+10FFFF); 0 for a byte that cannot lead.
struct Lead {
    int length;
    unsigned char secondMin;
    unsigned char secondMax;
};

Lead leadOf(unsigned char b)
{
    if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
    if (b == 0xE0) return {3, 0xA0, 0xBF};
    if (b == 0xED) return {3, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
    if (b == 0xF0) return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
    if (b == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

QString decodeCp1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

}  // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        const Lead lead = leadOf(b);
        if (lead.length == 0 || size - i < lead.length) {
            return false;
        }
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < lead.secondMin || second > lead.secondMax) {
            return false;
        }
        for (int k = 2; k < lead.length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += lead.length;
    }
    return true;
}

QString decodeLine(QByteArrayView bytes)
{
    return isValidUtf8(bytes) ? QString::fromUtf8(bytes) : decodeCp1252(bytes);
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
