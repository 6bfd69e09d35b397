#include "engine/TextFacts.h"

namespace WideText {
namespace {

bool StartsWith(std::string_view bytes, std::string_view mark)
{
    return bytes.substr(0, mark.size()) == mark;
}

// Appends code point c (valid, not a surrogate) as UTF-8.
char* PutUtf8(char* out, char32_t c)
{
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Reads one code unit of `width` bytes at p.
char32_t Unit(const unsigned char* p, int width, bool bigEndian)
{
    char32_t unit = 0;
    for (int i = 0; i < width; ++i)
        unit |= char32_t{p[bigEndian ? width - 1 - i : i]} << (8 * i);
    return unit;
}

}  // namespace

TextEncoding EncodingOfMark(std::string_view bytes)
{
    using namespace std::string_view_literals;
    if (StartsWith(bytes, "\xFF\xFE\0\0"sv))
        return TextEncoding::Utf32LE;
    if (StartsWith(bytes, "\0\0\xFE\xFF"sv))
        return TextEncoding::Utf32BE;
    if (StartsWith(bytes, "\xFF\xFE"sv))
        return TextEncoding::Utf16LE;
    if (StartsWith(bytes, "\xFE\xFF"sv))
        return TextEncoding::Utf16BE;
    return TextEncoding::Utf8;
}

std::int64_t DecodeToUtf8(std::string_view bytes, TextEncoding encoding, char* out)
{
    const bool wide32 = encoding == TextEncoding::Utf32LE || encoding == TextEncoding::Utf32BE;
    const bool bigEndian = encoding == TextEncoding::Utf16BE || encoding == TextEncoding::Utf32BE;
    const int width = wide32 ? 4 : 2;
    if (bytes.size() % static_cast<std::size_t>(width) != 0)
        return -1;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    char* const start = out;
    while (p < end) {
        char32_t c = Unit(p, width, bigEndian);
        p += width;
        if (!wide32 && c >= 0xD800 && c <= 0xDBFF) {
            // A high surrogate must be followed by a low one.
            const char32_t low = p < end ? Unit(p, width, bigEndian) : 0;
            if (low < 0xDC00 || low > 0xDFFF)
                return -1;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            p += width;
        } else if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return -1;
        }
        out = PutUtf8(out, c);
    }
    return out - start;
}

}  // namespace WideText
