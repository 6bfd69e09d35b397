#include "compare/LineText.h"

#include "compare/RowText.h"
#include "engine/TextDecoding.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

bool IsAscii(QByteArrayView bytes)
{
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    // Eight bytes at a time: long lines are what this is for.
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ull)
            return false;
    }
    return std::all_of(p, end, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

LineText LineText::FromBytes(QByteArrayView bytes, std::shared_ptr<const void> owner)
{
    // A valid UTF-8 line with any byte above 0x7F has characters of more
    // than one byte; a line that is not UTF-8 reads one character per byte.
    const bool oneBytePerCharacter = IsAscii(bytes) || !RowText::IsValidUtf8(bytes);
    if (!owner || !oneBytePerCharacter || bytes.contains('\t'))
        return LineText(RowText::ShownLine(bytes));
    LineText line;
    line.m_owner = std::move(owner);
    line.m_bytes = bytes;
    return line;
}

QString LineText::mid(qsizetype from, qsizetype length) const
{
    from = std::clamp<qsizetype>(from, 0, size());
    length = std::clamp<qsizetype>(length, 0, size() - from);
    if (!m_owner)
        return m_text.mid(from, length);
    return TextDecoding::DecodeWindows1252(m_bytes.sliced(from, length));
}

char16_t LineText::ByteChar(unsigned char byte)
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> chars{};
        char all[256];
        for (int b = 0; b < 256; ++b)
            all[b] = static_cast<char>(b);
        const QString decoded = TextDecoding::DecodeWindows1252(QByteArrayView(all, 256));
        for (int b = 0; b < 256; ++b)
            chars[static_cast<std::size_t>(b)] = decoded[b].unicode();
        return chars;
    }();
    return table[byte];
}
