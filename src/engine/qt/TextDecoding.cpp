#include "engine/TextDecoding.h"

#include "engine/Unicode.h"

namespace TextDecoding {

QString DecodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    // Every Windows-1252 character lies in the Basic Multilingual Plane.
    for (const char c : bytes)
        *out++ = QChar(static_cast<char16_t>(Unicode::FromWindows1252(static_cast<unsigned char>(c))));
    return text;
}

QString DecodeLine(QByteArrayView bytes)
{
    if (Unicode::IsValidUtf8(std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size()))))
        return QString::fromUtf8(bytes);
    return DecodeWindows1252(bytes);
}

}  // namespace TextDecoding
