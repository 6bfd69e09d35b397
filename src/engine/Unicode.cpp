#include "engine/Unicode.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace Unicode {
namespace {

// Case folding above U+007F as runs: every `stride`-th character from
// `first` to `last` folds to itself plus `delta`. Built from the simple
// case folding of the Unicode database (the table Qt uses as well, which
// the tests check it against character by character).
struct FoldRun {
    char32_t first;
    char32_t last;
    std::uint8_t stride;
    std::int32_t delta;
};

// One run a line, in code-point order.
// clang-format off
constexpr FoldRun kFoldRuns[] = {
    {0x000B5, 0x000B5, 1, 775},
    {0x000C0, 0x000D6, 1, 32},
    {0x000D8, 0x000DE, 1, 32},
    {0x00100, 0x0012E, 2, 1},
    {0x00132, 0x00136, 2, 1},
    {0x00139, 0x00147, 2, 1},
    {0x0014A, 0x00176, 2, 1},
    {0x00178, 0x00178, 1, -121},
    {0x00179, 0x0017D, 2, 1},
    {0x0017F, 0x0017F, 1, -268},
    {0x00181, 0x00181, 1, 210},
    {0x00182, 0x00184, 2, 1},
    {0x00186, 0x00186, 1, 206},
    {0x00187, 0x00187, 1, 1},
    {0x00189, 0x0018A, 1, 205},
    {0x0018B, 0x0018B, 1, 1},
    {0x0018E, 0x0018E, 1, 79},
    {0x0018F, 0x0018F, 1, 202},
    {0x00190, 0x00190, 1, 203},
    {0x00191, 0x00191, 1, 1},
    {0x00193, 0x00193, 1, 205},
    {0x00194, 0x00194, 1, 207},
    {0x00196, 0x00196, 1, 211},
    {0x00197, 0x00197, 1, 209},
    {0x00198, 0x00198, 1, 1},
    {0x0019C, 0x0019C, 1, 211},
    {0x0019D, 0x0019D, 1, 213},
    {0x0019F, 0x0019F, 1, 214},
    {0x001A0, 0x001A4, 2, 1},
    {0x001A6, 0x001A6, 1, 218},
    {0x001A7, 0x001A7, 1, 1},
    {0x001A9, 0x001A9, 1, 218},
    {0x001AC, 0x001AC, 1, 1},
    {0x001AE, 0x001AE, 1, 218},
    {0x001AF, 0x001AF, 1, 1},
    {0x001B1, 0x001B2, 1, 217},
    {0x001B3, 0x001B5, 2, 1},
    {0x001B7, 0x001B7, 1, 219},
    {0x001B8, 0x001B8, 1, 1},
    {0x001BC, 0x001BC, 1, 1},
    {0x001C4, 0x001C4, 1, 2},
    {0x001C5, 0x001C5, 1, 1},
    {0x001C7, 0x001C7, 1, 2},
    {0x001C8, 0x001C8, 1, 1},
    {0x001CA, 0x001CA, 1, 2},
    {0x001CB, 0x001DB, 2, 1},
    {0x001DE, 0x001EE, 2, 1},
    {0x001F1, 0x001F1, 1, 2},
    {0x001F2, 0x001F4, 2, 1},
    {0x001F6, 0x001F6, 1, -97},
    {0x001F7, 0x001F7, 1, -56},
    {0x001F8, 0x0021E, 2, 1},
    {0x00220, 0x00220, 1, -130},
    {0x00222, 0x00232, 2, 1},
    {0x0023A, 0x0023A, 1, 10795},
    {0x0023B, 0x0023B, 1, 1},
    {0x0023D, 0x0023D, 1, -163},
    {0x0023E, 0x0023E, 1, 10792},
    {0x00241, 0x00241, 1, 1},
    {0x00243, 0x00243, 1, -195},
    {0x00244, 0x00244, 1, 69},
    {0x00245, 0x00245, 1, 71},
    {0x00246, 0x0024E, 2, 1},
    {0x00345, 0x00345, 1, 116},
    {0x00370, 0x00372, 2, 1},
    {0x00376, 0x00376, 1, 1},
    {0x0037F, 0x0037F, 1, 116},
    {0x00386, 0x00386, 1, 38},
    {0x00388, 0x0038A, 1, 37},
    {0x0038C, 0x0038C, 1, 64},
    {0x0038E, 0x0038F, 1, 63},
    {0x00391, 0x003A1, 1, 32},
    {0x003A3, 0x003AB, 1, 32},
    {0x003C2, 0x003C2, 1, 1},
    {0x003CF, 0x003CF, 1, 8},
    {0x003D0, 0x003D0, 1, -30},
    {0x003D1, 0x003D1, 1, -25},
    {0x003D5, 0x003D5, 1, -15},
    {0x003D6, 0x003D6, 1, -22},
    {0x003D8, 0x003EE, 2, 1},
    {0x003F0, 0x003F0, 1, -54},
    {0x003F1, 0x003F1, 1, -48},
    {0x003F4, 0x003F4, 1, -60},
    {0x003F5, 0x003F5, 1, -64},
    {0x003F7, 0x003F7, 1, 1},
    {0x003F9, 0x003F9, 1, -7},
    {0x003FA, 0x003FA, 1, 1},
    {0x003FD, 0x003FF, 1, -130},
    {0x00400, 0x0040F, 1, 80},
    {0x00410, 0x0042F, 1, 32},
    {0x00460, 0x00480, 2, 1},
    {0x0048A, 0x004BE, 2, 1},
    {0x004C0, 0x004C0, 1, 15},
    {0x004C1, 0x004CD, 2, 1},
    {0x004D0, 0x0052E, 2, 1},
    {0x00531, 0x00556, 1, 48},
    {0x010A0, 0x010C5, 1, 7264},
    {0x010C7, 0x010C7, 1, 7264},
    {0x010CD, 0x010CD, 1, 7264},
    {0x013F8, 0x013FD, 1, -8},
    {0x01C80, 0x01C80, 1, -6222},
    {0x01C81, 0x01C81, 1, -6221},
    {0x01C82, 0x01C82, 1, -6212},
    {0x01C83, 0x01C84, 1, -6210},
    {0x01C85, 0x01C85, 1, -6211},
    {0x01C86, 0x01C86, 1, -6204},
    {0x01C87, 0x01C87, 1, -6180},
    {0x01C88, 0x01C88, 1, 35267},
    {0x01C90, 0x01CBA, 1, -3008},
    {0x01CBD, 0x01CBF, 1, -3008},
    {0x01E00, 0x01E94, 2, 1},
    {0x01E9B, 0x01E9B, 1, -58},
    {0x01E9E, 0x01E9E, 1, -7615},
    {0x01EA0, 0x01EFE, 2, 1},
    {0x01F08, 0x01F0F, 1, -8},
    {0x01F18, 0x01F1D, 1, -8},
    {0x01F28, 0x01F2F, 1, -8},
    {0x01F38, 0x01F3F, 1, -8},
    {0x01F48, 0x01F4D, 1, -8},
    {0x01F59, 0x01F5F, 2, -8},
    {0x01F68, 0x01F6F, 1, -8},
    {0x01F88, 0x01F8F, 1, -8},
    {0x01F98, 0x01F9F, 1, -8},
    {0x01FA8, 0x01FAF, 1, -8},
    {0x01FB8, 0x01FB9, 1, -8},
    {0x01FBA, 0x01FBB, 1, -74},
    {0x01FBC, 0x01FBC, 1, -9},
    {0x01FBE, 0x01FBE, 1, -7173},
    {0x01FC8, 0x01FCB, 1, -86},
    {0x01FCC, 0x01FCC, 1, -9},
    {0x01FD8, 0x01FD9, 1, -8},
    {0x01FDA, 0x01FDB, 1, -100},
    {0x01FE8, 0x01FE9, 1, -8},
    {0x01FEA, 0x01FEB, 1, -112},
    {0x01FEC, 0x01FEC, 1, -7},
    {0x01FF8, 0x01FF9, 1, -128},
    {0x01FFA, 0x01FFB, 1, -126},
    {0x01FFC, 0x01FFC, 1, -9},
    {0x02126, 0x02126, 1, -7517},
    {0x0212A, 0x0212A, 1, -8383},
    {0x0212B, 0x0212B, 1, -8262},
    {0x02132, 0x02132, 1, 28},
    {0x02160, 0x0216F, 1, 16},
    {0x02183, 0x02183, 1, 1},
    {0x024B6, 0x024CF, 1, 26},
    {0x02C00, 0x02C2F, 1, 48},
    {0x02C60, 0x02C60, 1, 1},
    {0x02C62, 0x02C62, 1, -10743},
    {0x02C63, 0x02C63, 1, -3814},
    {0x02C64, 0x02C64, 1, -10727},
    {0x02C67, 0x02C6B, 2, 1},
    {0x02C6D, 0x02C6D, 1, -10780},
    {0x02C6E, 0x02C6E, 1, -10749},
    {0x02C6F, 0x02C6F, 1, -10783},
    {0x02C70, 0x02C70, 1, -10782},
    {0x02C72, 0x02C72, 1, 1},
    {0x02C75, 0x02C75, 1, 1},
    {0x02C7E, 0x02C7F, 1, -10815},
    {0x02C80, 0x02CE2, 2, 1},
    {0x02CEB, 0x02CED, 2, 1},
    {0x02CF2, 0x02CF2, 1, 1},
    {0x0A640, 0x0A66C, 2, 1},
    {0x0A680, 0x0A69A, 2, 1},
    {0x0A722, 0x0A72E, 2, 1},
    {0x0A732, 0x0A76E, 2, 1},
    {0x0A779, 0x0A77B, 2, 1},
    {0x0A77D, 0x0A77D, 1, -35332},
    {0x0A77E, 0x0A786, 2, 1},
    {0x0A78B, 0x0A78B, 1, 1},
    {0x0A78D, 0x0A78D, 1, -42280},
    {0x0A790, 0x0A792, 2, 1},
    {0x0A796, 0x0A7A8, 2, 1},
    {0x0A7AA, 0x0A7AA, 1, -42308},
    {0x0A7AB, 0x0A7AB, 1, -42319},
    {0x0A7AC, 0x0A7AC, 1, -42315},
    {0x0A7AD, 0x0A7AD, 1, -42305},
    {0x0A7AE, 0x0A7AE, 1, -42308},
    {0x0A7B0, 0x0A7B0, 1, -42258},
    {0x0A7B1, 0x0A7B1, 1, -42282},
    {0x0A7B2, 0x0A7B2, 1, -42261},
    {0x0A7B3, 0x0A7B3, 1, 928},
    {0x0A7B4, 0x0A7C2, 2, 1},
    {0x0A7C4, 0x0A7C4, 1, -48},
    {0x0A7C5, 0x0A7C5, 1, -42307},
    {0x0A7C6, 0x0A7C6, 1, -35384},
    {0x0A7C7, 0x0A7C9, 2, 1},
    {0x0A7D0, 0x0A7D0, 1, 1},
    {0x0A7D6, 0x0A7D8, 2, 1},
    {0x0A7F5, 0x0A7F5, 1, 1},
    {0x0AB70, 0x0ABBF, 1, -38864},
    {0x0FF21, 0x0FF3A, 1, 32},
    {0x10400, 0x10427, 1, 40},
    {0x104B0, 0x104D3, 1, 40},
    {0x10570, 0x1057A, 1, 39},
    {0x1057C, 0x1058A, 1, 39},
    {0x1058C, 0x10592, 1, 39},
    {0x10594, 0x10595, 1, 39},
    {0x10C80, 0x10CB2, 1, 64},
    {0x118A0, 0x118BF, 1, 32},
    {0x16E40, 0x16E5F, 1, 32},
    {0x1E900, 0x1E921, 1, 34},
};
// clang-format on

// Bytes 0x80..0x9F of Windows-1252, eight a line; the unassigned ones keep
// their value.
// clang-format off
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
// clang-format on

}  // namespace

int DecodeUtf8(const unsigned char* p, const unsigned char* end, char32_t& out)
{
    const unsigned char lead = p[0];
    if (lead < 0x80) {
        out = lead;
        return 1;
    }
    int len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((lead & 0xE0) == 0xC0) {
        len = 2;
        cp = lead & 0x1Fu;
        min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3;
        cp = lead & 0x0Fu;
        min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4;
        cp = lead & 0x07u;
        min = 0x10000;
    } else {
        return 0;
    }
    if (end - p < len)
        return 0;
    for (int i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    out = cp;
    return len;
}

bool IsValidUtf8(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Skip ASCII eight bytes at a time: most lines are plain ASCII.
        while (end - p >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            if (w & 0x8080808080808080ull)
                break;
            p += 8;
        }
        if (p == end)
            break;
        char32_t c;
        const int len = DecodeUtf8(p, end, c);
        if (len == 0)
            return false;
        p += len;
    }
    return true;
}

char32_t FoldCase(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    const auto* end = std::end(kFoldRuns);
    const auto* run = std::upper_bound(std::begin(kFoldRuns), end, c,
                                       [](char32_t value, const FoldRun& r) { return value < r.first; });
    if (run == std::begin(kFoldRuns))
        return c;
    --run;
    if (c > run->last || (c - run->first) % run->stride != 0)
        return c;
    return static_cast<char32_t>(static_cast<std::int32_t>(c) + run->delta);
}

bool IsSpace(char32_t c)
{
    if (c < 0x80)
        return c == ' ' || (c >= '\t' && c <= '\r');
    switch (c) {
    case 0x85:
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000: return true;
    default: return c >= 0x2000 && c <= 0x200A;
    }
}

char32_t FromWindows1252(unsigned char b)
{
    return (b >= 0x80 && b <= 0x9F) ? kHighControls[b - 0x80u] : char32_t{b};
}

}  // namespace Unicode
