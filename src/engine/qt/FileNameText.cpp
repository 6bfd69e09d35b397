#include "engine/FileNameText.h"

#include "engine/FileText.h"

namespace FileNameText {
namespace {

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

}  // namespace

QString FromBytes(QByteArrayView bytes)
{
    return QString::fromStdString(
        FileText::ReadableName(std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size()))));
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
