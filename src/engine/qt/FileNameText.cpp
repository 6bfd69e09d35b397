#include "engine/FileNameText.h"

#include "engine/Unicode.h"

namespace FileNameText {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

int HexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool IsHex(unsigned char b)
{
    return (b >= '0' && b <= '9') || (b >= 'a' && b <= 'f') || (b >= 'A' && b <= 'F');
}

// Length of the valid UTF-8 sequence at p, 0 when the byte there is not
// the start of one.
int SequenceLength(const unsigned char* p, const unsigned char* end)
{
    char32_t ignored = 0;
    return Unicode::DecodeUtf8(p, end, ignored);
}

// Whether a literal backslash at p must be doubled: the text after it
// starts with another backslash (literal or escape) or with xHH.
bool BackslashNeedsEscape(const unsigned char* p, const unsigned char* end)
{
    const unsigned char* next = p + 1;
    if (next == end)
        return false;
    if (*next == '\\' || SequenceLength(next, end) == 0)
        return true;
    return *next == 'x' && end - next >= 3 && IsHex(next[1]) && IsHex(next[2]);
}

}  // namespace

QString FromBytes(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    QString text;
    text.reserve(bytes.size());
    while (p < end) {
        const int length = SequenceLength(p, end);
        if (length == 0) {
            text += QLatin1String("\\x");
            text += QLatin1Char(kHex[*p >> 4]);
            text += QLatin1Char(kHex[*p & 15]);
            ++p;
        } else if (*p == '\\') {
            text += BackslashNeedsEscape(p, end) ? QLatin1String("\\\\") : QLatin1String("\\");
            ++p;
        } else {
            text += QString::fromUtf8(reinterpret_cast<const char*>(p), length);
            p += length;
        }
    }
    return text;
}

QByteArray ToBytes(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype plain = 0;  // start of the characters not yet converted
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'\\')
            continue;
        int escaped = -1;  // the byte an escape at i stands for
        qsizetype length = 0;
        if (text[i + 1] == u'\\') {
            escaped = '\\';
            length = 2;
        } else if (text[i + 1] == u'x' && i + 3 < text.size() && HexValue(text[i + 2]) >= 0
                   && HexValue(text[i + 3]) >= 0) {
            escaped = HexValue(text[i + 2]) * 16 + HexValue(text[i + 3]);
            length = 4;
        }
        if (escaped < 0)
            continue;
        bytes += text.mid(plain, i - plain).toUtf8();
        bytes += static_cast<char>(escaped);
        plain = i + length;
        i = plain - 1;
    }
    bytes += text.mid(plain).toUtf8();
    return bytes;
}

}  // namespace FileNameText
