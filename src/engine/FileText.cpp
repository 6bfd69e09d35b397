#include "engine/FileText.h"

#include "engine/Unicode.h"

#include <array>
#include <utility>

namespace FileText {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

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

std::string ReadableName(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    std::string text;
    text.reserve(bytes.size());
    while (p < end) {
        const int length = SequenceLength(p, end);
        if (length == 0) {
            text += "\\x";
            text += kHex[*p >> 4];
            text += kHex[*p & 15];
            ++p;
        } else if (*p == '\\') {
            text += BackslashNeedsEscape(p, end) ? "\\\\" : "\\";
            ++p;
        } else {
            text.append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(length));
            p += length;
        }
    }
    return text;
}

std::string_view EncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf8Bom: return "UTF-8 with BOM";
    case TextEncoding::Utf16LE: return "UTF-16 LE";
    case TextEncoding::Utf16BE: return "UTF-16 BE";
    case TextEncoding::Utf32LE: return "UTF-32 LE";
    case TextEncoding::Utf32BE: return "UTF-32 BE";
    case TextEncoding::Windows1252: return "Windows-1252";
    }
    return {};
}

std::string EndingCounts(const TextFacts& facts)
{
    std::string counts;
    const std::array<std::pair<std::int64_t, const char*>, 3> kinds = {
        {{facts.crlfEndings, "CR LF"}, {facts.lfEndings, "LF"}, {facts.crEndings, "CR"}}};
    for (const auto& [count, name] : kinds) {
        if (count <= 0)
            continue;
        if (!counts.empty())
            counts += ", ";
        counts += std::to_string(count) + ' ' + name;
    }
    return counts;
}

std::string EndingsName(const TextFacts& facts)
{
    if (facts.Endings() == 0)
        return "none";
    if (!facts.MixedEndings()) {
        return facts.crlfEndings > 0 ? "CR LF (Windows)" : facts.lfEndings > 0 ? "LF (Unix)" : "CR (classic Mac)";
    }
    return "mixed (" + EndingCounts(facts) + ")";
}

std::string Summary(const LineFile& file)
{
    const TextFacts& facts = file.Facts();
    std::string text = "Encoding: ";
    text += EncodingName(facts.encoding);
    if (facts.undecodable) {
        text += " (not valid ";
        text += EncodingName(WideText::EncodingOfMark(file.Bytes()));
        text += " after its byte-order mark)";
    }
    text += "\nLine endings: " + EndingsName(facts) + '\n';
    const std::int64_t lines = file.LineCount();
    text += std::to_string(lines) + (lines == 1 ? " line" : " lines");
    if (lines > 0 && !facts.finalNewline)
        text += ", no newline at the end";
    return text;
}

}  // namespace FileText
