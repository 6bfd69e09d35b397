#include "Quote.h"

#include <algorithm>

namespace {

bool NeedsQuotes(unsigned char c)
{
    return c <= ' ' || c == '"' || c == '\\' || c >= 0x80;
}

bool ShellSafe(char c, bool first)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    if (c == '#' || c == '~')
        return !first;
    return std::string_view("%+,-./:@_]{}").find(c) != std::string_view::npos;
}

}  // namespace

std::string Cat(std::initializer_list<std::string_view> pieces)
{
    std::size_t size = 0;
    for (const std::string_view piece : pieces)
        size += piece.size();
    std::string out;
    out.reserve(size);
    for (const std::string_view piece : pieces)
        out.append(piece);
    return out;
}

std::string QuotedName(std::string_view name)
{
    if (std::none_of(name.begin(), name.end(), [](char c) { return NeedsQuotes(static_cast<unsigned char>(c)); }))
        return std::string(name);
    std::string out = "\"";
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        const char* named = nullptr;
        switch (c) {
        case '\a': named = "\\a"; break;
        case '\b': named = "\\b"; break;
        case '\t': named = "\\t"; break;
        case '\n': named = "\\n"; break;
        case '\v': named = "\\v"; break;
        case '\f': named = "\\f"; break;
        case '\r': named = "\\r"; break;
        case '"': named = "\\\""; break;
        case '\\': named = "\\\\"; break;
        default: break;
        }
        if (named) {
            out += named;
        } else if (c < ' ' || c >= 0x80) {
            const char octal[] = {'\\', static_cast<char>('0' + (c >> 6)), static_cast<char>('0' + ((c >> 3) & 7)),
                                  static_cast<char>('0' + (c & 7))};
            out.append(octal, sizeof octal);
        } else {
            out += ch;
        }
    }
    out += '"';
    return out;
}

std::string ShellQuoted(std::string_view arg)
{
    bool safe = !arg.empty();
    for (std::size_t i = 0; i < arg.size() && safe; ++i)
        safe = ShellSafe(arg[i], i == 0);
    if (safe)
        return std::string(arg);
    if (arg.find('\'') == std::string_view::npos)
        return Cat({"'", arg, "'"});
    if (arg.find_first_of("$`\\\"") == std::string_view::npos)
        return Cat({"\"", arg, "\""});
    std::string out = "'";
    for (const char c : arg)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    out += '\'';
    return out;
}
