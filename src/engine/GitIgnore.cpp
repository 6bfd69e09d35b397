#include "engine/GitIgnore.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <utility>

namespace {

// One step of a compiled pattern. Only Byte, AnyRun and the two steps of
// "**/" read a '/'.
struct Step {
    enum class Kind : std::uint8_t {
        Byte,        // this byte
        AnyByte,     // "?"
        Set,         // a bracket expression
        Star,        // "*": any run of bytes within one name
        AnyRun,      // "**" at a name's start and the pattern's end: any run of bytes
        Folders,     // "**/" at a name's start: any number of folders, "name/" each; the start of one
        FolderName,  // the rest of the name of a folder Folders began
    };
    Kind kind;
    unsigned char byte = 0;
    std::uint32_t set = 0;  // index in Pattern::sets
};

// Patterns most .gitignore files hold are told apart by a comparison or two
// of their literal part instead of by running the steps.
enum class Shape : std::uint8_t {
    Exact,     // "name"
    Prefix,    // "name*"
    Under,     // "dir/**"
    Suffix,    // "*.ext"
    AnyDepth,  // "**/name"
    General,
};

[[nodiscard]] unsigned char Byte(char c)
{
    return static_cast<unsigned char>(c);
}

}  // namespace

struct IgnoreChain::Pattern {
    std::vector<Step> steps;
    std::vector<std::bitset<256>> sets;
    std::string literal;  // the Byte steps, or for General those it opens with
    Shape shape = Shape::General;
    bool negative = false;    // "!": a match keeps the entry
    bool folderOnly = false;  // a trailing '/'
    bool anchored = false;    // a '/' before the end: matched against the path below the folder, else the name
};

namespace {

using Pattern = IgnoreChain::Pattern;

// The character classes of bracket expressions hold ASCII bytes only, as
// git's do; its "space" leaves out \v and \f.
[[nodiscard]] bool IsUpper(int c)
{
    return c >= 'A' && c <= 'Z';
}
[[nodiscard]] bool IsLower(int c)
{
    return c >= 'a' && c <= 'z';
}
[[nodiscard]] bool IsDigit(int c)
{
    return c >= '0' && c <= '9';
}
[[nodiscard]] bool IsAlnum(int c)
{
    return IsUpper(c) || IsLower(c) || IsDigit(c);
}
[[nodiscard]] bool IsGraph(int c)
{
    return c > ' ' && c < 127;
}

[[nodiscard]] bool AddClass(std::string_view name, std::bitset<256>& set)
{
    using Test = bool (*)(int);
    static constexpr std::array<std::pair<std::string_view, Test>, 12> kClasses{{
        {"alnum", IsAlnum},
        {"alpha", [](int c) { return IsUpper(c) || IsLower(c); }},
        {"blank", [](int c) { return c == ' ' || c == '\t'; }},
        {"cntrl", [](int c) { return c < ' ' || c == 127; }},
        {"digit", IsDigit},
        {"graph", IsGraph},
        {"lower", IsLower},
        {"print", [](int c) { return c == ' ' || IsGraph(c); }},
        {"punct", [](int c) { return IsGraph(c) && !IsAlnum(c); }},
        {"space", [](int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }},
        {"upper", IsUpper},
        {"xdigit", [](int c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }},
    }};
    const auto found = std::find_if(kClasses.begin(), kClasses.end(), [&](const auto& k) { return k.first == name; });
    if (found == kClasses.end())
        return false;
    for (int c = 0; c < 128; ++c)
        if (found->second(c))
            set.set(c);
    return true;
}

// For a "[:name:]" at body[k] in a bracket expression, adds the class and
// leaves `k` on its ']'. Without the closing ":]" the '[' is a member.
enum class ClassRead { None, Added, Bad };
[[nodiscard]] ClassRead ReadClass(std::string_view body, std::size_t& k, std::bitset<256>& set)
{
    if (k + 1 >= body.size() || body[k + 1] != ':')
        return ClassRead::None;
    const std::size_t close = body.find(']', k + 2);
    if (close == std::string_view::npos)
        return ClassRead::Bad;
    if (close == k + 2 || body[close - 1] != ':')
        return ClassRead::None;
    if (!AddClass(body.substr(k + 2, close - k - 3), set))
        return ClassRead::Bad;
    k = close;
    return ClassRead::Added;
}

// Reads the bracket expression opening at body[at] into `set`, leaving `at`
// on its closing ']'. Its first member may be ']'; a '-' between two members
// makes a range. False when it is not closed or names no known class: git
// then matches nothing with the pattern.
[[nodiscard]] bool ReadSet(std::string_view body, std::size_t& at, std::bitset<256>& set)
{
    std::size_t k = at + 1;
    const bool negated = k < body.size() && (body[k] == '!' || body[k] == '^');
    k += negated ? 1 : 0;
    int previous = -1;  // the member a '-' would start a range from
    for (bool first = true;; first = false, ++k) {
        if (k >= body.size())
            return false;
        const int c = Byte(body[k]);
        if (c == ']' && !first)
            break;
        const ClassRead read = c == '[' ? ReadClass(body, k, set) : ClassRead::None;
        if (read == ClassRead::Bad)
            return false;
        if (read == ClassRead::Added) {
            previous = -1;
        } else if (c == '\\') {
            if (++k == body.size())
                return false;
            previous = Byte(body[k]);
            set.set(previous);
        } else if (c == '-' && previous >= 0 && k + 1 < body.size() && body[k + 1] != ']') {
            // The range's last byte may be escaped.
            if (body[++k] == '\\' && ++k == body.size())
                return false;
            for (int b = previous; b <= Byte(body[k]); ++b)
                set.set(b);
            previous = -1;
        } else {
            set.set(c);
            previous = c;
        }
    }
    if (negated)
        set.flip();
    set.reset('/');
    at = k;
    return true;
}

// The step for the run of '*' starting at body[at]. git compares a
// pattern's literal start on its own and matches the rest, so a run right
// after that start counts as starting a name, as one after a '/' does.
[[nodiscard]] Step StarRun(std::string_view body, std::size_t at, std::size_t firstWildcard, std::size_t end)
{
    const std::string_view rest = body.substr(end);
    if (end - at == 1 || (at != firstWildcard && body[at - 1] != '/'))
        return {Step::Kind::Star};
    if (rest.empty() || rest.starts_with("\\/"))
        return {Step::Kind::AnyRun};
    return {rest[0] == '/' ? Step::Kind::Folders : Step::Kind::Star};
}

// Compiles `body` (the pattern without "!", the trailing '/' and an
// anchoring leading '/') into p.steps; false when git would match nothing.
[[nodiscard]] bool Compile(std::string_view body, Pattern& p)
{
    const std::size_t firstWildcard = body.find_first_of("*?[\\");
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '\\') {
            if (++i == body.size())
                return false;
            p.steps.push_back({Step::Kind::Byte, Byte(body[i])});
        } else if (c == '?') {
            p.steps.push_back({Step::Kind::AnyByte});
        } else if (c == '[') {
            std::bitset<256> set;
            if (!ReadSet(body, i, set))
                return false;
            p.steps.push_back({Step::Kind::Set, 0, static_cast<std::uint32_t>(p.sets.size())});
            p.sets.push_back(set);
        } else if (c == '*') {
            const std::size_t end = std::min(body.find_first_not_of('*', i), body.size());
            p.steps.push_back(StarRun(body, i, firstWildcard, end));
            i = end - 1;
            if (p.steps.back().kind == Step::Kind::Folders) {
                p.steps.push_back({Step::Kind::FolderName});
                i = end;  // the '/' is the two steps'
            }
        } else {
            p.steps.push_back({Step::Kind::Byte, Byte(c)});
        }
    }
    return true;
}

// Sets p.shape and p.literal.
void Classify(Pattern& p)
{
    const auto isByte = [](const Step& s) { return s.kind == Step::Kind::Byte; };
    const auto begin = p.steps.begin(), end = p.steps.end();
    const Step::Kind first = p.steps.front().kind, last = p.steps.back().kind;
    if (std::all_of(begin, end, isByte))
        p.shape = Shape::Exact;
    else if ((last == Step::Kind::Star || last == Step::Kind::AnyRun) && std::all_of(begin, end - 1, isByte))
        p.shape = last == Step::Kind::Star ? Shape::Prefix : Shape::Under;
    else if (first == Step::Kind::Star && std::all_of(begin + 1, end, isByte))
        p.shape = Shape::Suffix;
    else if (first == Step::Kind::Folders && std::all_of(begin + 2, end, isByte))
        p.shape = Shape::AnyDepth;
    else
        p.shape = Shape::General;
    if (p.shape == Shape::AnyDepth)
        p.literal.push_back('/');  // the name is either the whole path or follows a '/'
    for (const Step& s : p.steps) {
        if (s.kind == Step::Kind::Byte)
            p.literal += static_cast<char>(s.byte);
        else if (p.shape == Shape::General)
            break;
    }
}

// The pattern of one line that is neither blank nor a comment; none when it
// can match nothing.
[[nodiscard]] std::optional<Pattern> ReadLine(std::string_view line)
{
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    line = line.substr(0, line.find('\0'));  // git reads the line as a C string
    // Trailing spaces go, unless escaped by a backslash.
    std::size_t keep = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;  // the byte escaped is kept, a space too
        else if (line[i] == ' ')
            continue;
        keep = std::min(i + 1, line.size());
    }
    std::string_view body = line.substr(0, keep);
    Pattern p;
    p.negative = body.starts_with('!');
    body.remove_prefix(p.negative ? 1 : 0);
    p.folderOnly = body.ends_with('/');
    body.remove_suffix(p.folderOnly ? 1 : 0);
    p.anchored = body.find('/') != std::string_view::npos;
    body.remove_prefix(body.starts_with('/') ? 1 : 0);
    if (body.empty() || !Compile(body, p))
        return std::nullopt;
    Classify(p);
    return p;
}

// Takes the steps that match nothing from each step flagged in `at`: they
// only lead forward, so one pass in order finds them all.
void FollowEmpty(const Pattern& p, unsigned char* at)
{
    for (std::size_t i = 0; i < p.steps.size(); ++i) {
        if (!at[i])
            continue;
        const Step::Kind kind = p.steps[i].kind;
        if (kind == Step::Kind::Star || kind == Step::Kind::AnyRun)
            at[i + 1] = 1;
        else if (kind == Step::Kind::Folders)
            at[i + 2] = 1;  // no more folders
    }
}

// Whether the steps match all of `text`. Every step that the bytes read so
// far may have reached is followed at once, so no pattern costs more than
// its length times the text's.
[[nodiscard]] bool RunSteps(const Pattern& p, std::string_view text)
{
    const std::size_t n = p.steps.size();
    std::array<unsigned char, 128> small{};
    std::vector<unsigned char> large(2 * (n + 1) > small.size() ? 2 * (n + 1) : 0);
    unsigned char* now = large.empty() ? small.data() : large.data();
    unsigned char* next = now + n + 1;  // flags for each step, and for the end
    now[0] = 1;
    FollowEmpty(p, now);
    for (const char ch : text) {
        const unsigned char c = Byte(ch);
        std::fill(next, next + n + 1, 0);
        for (std::size_t i = 0; i < n; ++i) {
            if (!now[i])
                continue;
            const Step& s = p.steps[i];
            switch (s.kind) {
            case Step::Kind::Byte: next[i + 1] |= c == s.byte; break;
            case Step::Kind::AnyByte: next[i + 1] |= c != '/'; break;
            case Step::Kind::Set: next[i + 1] |= p.sets[s.set].test(c); break;
            case Step::Kind::Star: next[i] |= c != '/'; break;
            case Step::Kind::AnyRun: next[i] = 1; break;
            // A '/' ends a folder's name, and another may start.
            case Step::Kind::Folders: next[c == '/' ? i : i + 1] = 1; break;
            case Step::Kind::FolderName: next[c == '/' ? i - 1 : i] = 1; break;
            }
        }
        if (std::find(next, next + n + 1, 1) == next + n + 1)
            return false;
        FollowEmpty(p, next);
        std::swap(now, next);
    }
    return now[n] != 0;
}

// Whether `p` matches `text`: the path below the rules' folder for an
// anchored pattern, else the entry's name.
[[nodiscard]] bool Matches(const Pattern& p, std::string_view text)
{
    const std::string_view literal = p.literal;
    switch (p.shape) {
    case Shape::Exact: return text == literal;
    case Shape::Prefix: return text.starts_with(literal) && text.find('/', literal.size()) == std::string_view::npos;
    case Shape::Under: return text.starts_with(literal);
    case Shape::Suffix: return text.ends_with(literal) && text.find('/') >= text.size() - literal.size();
    case Shape::AnyDepth: return text.ends_with(literal) || text == literal.substr(1);
    case Shape::General: break;
    }
    return text.starts_with(literal) && RunSteps(p, text);
}

}  // namespace

IgnoreChain::IgnoreChain() = default;
IgnoreChain::~IgnoreChain() = default;

std::shared_ptr<const IgnoreChain> IgnoreChain::Extend(std::shared_ptr<const IgnoreChain> parent,
                                                       std::string folderFromRoot, std::string_view text)
{
    // A UTF-8 byte-order mark opening the file is not part of its first line.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<Pattern> patterns;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty() || line[0] == '#')
            continue;
        if (std::optional<Pattern> p = ReadLine(line))
            patterns.push_back(std::move(*p));
    }
    if (patterns.empty())
        return parent;
    std::shared_ptr<IgnoreChain> chain(new IgnoreChain());
    chain->m_parent = std::move(parent);
    chain->m_patterns = std::move(patterns);
    const std::size_t first = folderFromRoot.find_first_not_of('/');
    if (first != std::string::npos)
        chain->m_prefix = folderFromRoot.substr(first, folderFromRoot.find_last_not_of('/') + 1 - first) + '/';
    return chain;
}

bool IgnoreChain::Ignored(std::string_view pathFromRoot, bool isFolder) const
{
    // The deepest rules that match decide.
    for (const IgnoreChain* chain = this; chain; chain = chain->m_parent.get()) {
        const std::string_view prefix = chain->m_prefix;
        if (pathFromRoot.size() <= prefix.size() || !pathFromRoot.starts_with(prefix))
            continue;
        if (const std::optional<bool> verdict = chain->Verdict(pathFromRoot.substr(prefix.size()), isFolder))
            return *verdict;
    }
    return false;
}

std::optional<bool> IgnoreChain::Verdict(std::string_view fromFolder, bool isFolder) const
{
    const std::size_t slash = fromFolder.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? fromFolder : fromFolder.substr(slash + 1);
    // Within one file the last pattern that matches decides.
    for (auto p = m_patterns.rbegin(); p != m_patterns.rend(); ++p)
        if ((isFolder || !p->folderOnly) && Matches(*p, p->anchored ? fromFolder : name))
            return !p->negative;
    return std::nullopt;
}
