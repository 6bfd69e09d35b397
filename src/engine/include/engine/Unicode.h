#pragma once
// The few Unicode facts the comparison needs, without a Unicode library:
// UTF-8 decoding, simple case folding, white space, and the Windows-1252
// reading of bytes that are not UTF-8.

#include <cstdint>
#include <string_view>

namespace Unicode {

// Decodes one UTF-8 sequence at p (end is the limit). Returns its length,
// or 0 when the bytes there are not a valid, shortest-form sequence.
[[nodiscard]] int DecodeUtf8(const unsigned char* p, const unsigned char* end, char32_t& out);

// True when the bytes are well-formed UTF-8: no overlong forms, no encoded
// surrogates, nothing above U+10FFFF, no truncated sequence.
[[nodiscard]] bool IsValidUtf8(std::string_view bytes);

// The simple case folding of a character (one character to one), so that
// characters differing only in case fold to the same one.
[[nodiscard]] char32_t FoldCase(char32_t c);

// White space: the ASCII controls TAB to CR, space, NEL, no-break space
// and the separators of the Unicode space, line and paragraph categories.
[[nodiscard]] bool IsSpace(char32_t c);

// The character byte b stands for in Windows-1252; the five bytes that
// code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the
// control characters of the same value, as in Latin-1.
[[nodiscard]] char32_t FromWindows1252(unsigned char b);

}  // namespace Unicode
