#include "engine/NamePattern.h"

#include <string_view>

namespace {

// A bracket expression at pattern[at] ('[' already read); sets `matched`
// and returns the index after it, or npos when it is not closed.
std::size_t MatchBracket(std::string_view pattern, std::size_t at, char c, bool& matched)
{
    const bool negated = at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^');
    if (negated)
        ++at;
    matched = false;
    for (bool first = true; at < pattern.size() && (first || pattern[at] != ']'); first = false) {
        char low = pattern[at++];
        if (low == '\\' && at < pattern.size())
            low = pattern[at++];
        char high = low;
        if (at + 1 < pattern.size() && pattern[at] == '-' && pattern[at + 1] != ']') {
            high = pattern[at + 1];
            at += 2;
        }
        matched = matched || (c >= low && c <= high);
    }
    if (at >= pattern.size())
        return std::string_view::npos;
    matched = matched != negated;
    return at + 1;
}

}  // namespace

bool MatchesPattern(std::string_view pattern, std::string_view name)
{
    if (pattern.empty())
        return name.empty();
    const char p = pattern[0];
    if (p == '*')
        for (std::size_t skip = 0; skip <= name.size(); ++skip)
            if (MatchesPattern(pattern.substr(1), name.substr(skip)))
                return true;
    if (p == '*' || name.empty())
        return false;
    if (p == '[') {
        bool matched = false;
        const std::size_t next = MatchBracket(pattern, 1, name[0], matched);
        if (next != std::string_view::npos)
            return matched && MatchesPattern(pattern.substr(next), name.substr(1));
    }
    if (p == '\\' && pattern.size() > 1)
        return pattern[1] == name[0] && MatchesPattern(pattern.substr(2), name.substr(1));
    return (p == '?' || p == name[0]) && MatchesPattern(pattern.substr(1), name.substr(1));
}
