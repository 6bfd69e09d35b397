#pragma once
// What reading a file learns about its text besides its lines: the
// encoding it was read in and how its lines end. The line endings are
// counted on the pass that splits the lines, block by block while the
// bytes are in the cache.

#include <cstddef>
#include <cstdint>
#include <string_view>

enum class TextEncoding : std::uint8_t {
    Utf8,     // well-formed UTF-8 (plain ASCII included)
    Utf8Bom,  // the same, starting with the byte-order mark EF BB BF
    Utf16LE,  // decoded to UTF-8 from UTF-16 with a byte-order mark
    Utf16BE,
    Utf32LE,  // decoded to UTF-8 from UTF-32 with a byte-order mark
    Utf32BE,
    Windows1252,  // not UTF-8: each byte is one character
};

struct TextFacts {
    TextEncoding encoding = TextEncoding::Utf8;
    // Line ends by kind. Lines split at LF only (as diff does), so a CR
    // that no LF follows is counted here but ends no line of the file.
    std::int64_t lfEndings = 0;    // LF without a CR before it
    std::int64_t crlfEndings = 0;  // CR LF
    std::int64_t crEndings = 0;    // CR alone
    // The file ends with its line ending: LF, or CR in a file whose every
    // line ending is a CR. False for an empty file.
    bool finalNewline = false;
    // The text starts with U+FEFF (always so for UTF-16 and UTF-32).
    bool byteOrderMark = false;
    // The file starts with a UTF-16 or UTF-32 byte-order mark but is not
    // valid text in that encoding (odd length, a lone surrogate, a NUL
    // character): it was kept as its bytes, undecoded.
    bool undecodable = false;

    [[nodiscard]] std::int64_t Endings() const { return lfEndings + crlfEndings + crEndings; }
    // More than one kind of line ending occurs.
    [[nodiscard]] bool MixedEndings() const { return (lfEndings > 0) + (crlfEndings > 0) + (crEndings > 0) > 1; }
};

namespace WideText {

// The wide encoding a byte-order mark at the start of `bytes` announces
// (UTF-32 is tested first: its little-endian mark begins with UTF-16's),
// or TextEncoding::Utf8 when there is none.
[[nodiscard]] TextEncoding EncodingOfMark(std::string_view bytes);

// The most bytes DecodeToUtf8 writes for `size` input bytes.
[[nodiscard]] constexpr std::size_t MaxDecodedSize(std::size_t size)
{
    return size / 2 * 3 + 4;
}

// Decodes UTF-16 or UTF-32 `bytes` (mark included, kept as U+FEFF) into
// UTF-8 at `out`, which holds MaxDecodedSize(bytes.size()) bytes; returns
// the number written, or -1 when the bytes are not valid in that encoding
// or hold a NUL character, as binary data after a mark does.
[[nodiscard]] std::int64_t DecodeToUtf8(std::string_view bytes, TextEncoding encoding, char* out);

}  // namespace WideText
