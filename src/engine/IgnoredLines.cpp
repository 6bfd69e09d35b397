#include "engine/IgnoredLines.h"

#include "engine/TextNormalizer.h"

#include <regex.h>

#include <algorithm>
#include <climits>
#include <cstdint>

// With the GNU C library the patterns are read by its GNU interface, with
// grep's syntax, which is what diff reads them with: "a**" and "\{1\}a"
// are accepted, a newline separates alternatives, and the messages are
// diff's. Elsewhere POSIX regcomp reads them, in its basic syntax.
#if defined(__GLIBC__)
#define VANTREL_GNU_REGEX 1
#else
#define VANTREL_GNU_REGEX 0
#endif

struct LinePatterns::Compiled {
#if VANTREL_GNU_REGEX
    re_pattern_buffer regex{};
    char fastmap[256];
#else
    regex_t regex;
#endif
    bool ready = false;  // nothing to free after a failed compilation
    Compiled() = default;
    Compiled(const Compiled&) = delete;
    Compiled& operator=(const Compiled&) = delete;
    ~Compiled()
    {
#if VANTREL_GNU_REGEX
        regex.fastmap = nullptr;  // not the library's to free
#endif
        if (ready)
            regfree(&regex);
    }

    // Compiles `pattern`; empty on success, else why it failed.
    std::string Compile(const std::string& pattern)
    {
#if VANTREL_GNU_REGEX
        regex.fastmap = fastmap;
        const reg_syntax_t before = re_set_syntax(RE_SYNTAX_GREP);
        const char* error = re_compile_pattern(pattern.data(), pattern.size(), &regex);
        re_set_syntax(before);
        ready = error == nullptr;
        return error ? error : "";
#else
        const int code = regcomp(&regex, pattern.c_str(), REG_NOSUB);
        ready = code == 0;
        if (ready)
            return "";
        char reason[256];
        regerror(code, &regex, reason, sizeof reason);
        return reason;
#endif
    }

    // The line is matched where it lies, NUL bytes and all where the
    // library can (the GNU interface takes at most 2 GiB of a line).
    [[nodiscard]] bool Matches(std::string_view line)
    {
        const char* text = line.data() ? line.data() : "";
#if VANTREL_GNU_REGEX
        const auto size = static_cast<regoff_t>(std::min<std::size_t>(line.size(), INT32_MAX));
        return re_search(&regex, text, size, 0, size, nullptr) >= 0;
#elif defined(REG_STARTEND)
        regmatch_t range[1];
        range[0].rm_so = 0;
        range[0].rm_eo = static_cast<regoff_t>(line.size());
        return regexec(&regex, text, 1, range, REG_STARTEND) == 0;
#else
        return regexec(&regex, std::string(line).c_str(), 0, nullptr, 0) == 0;
#endif
    }
};

LinePatterns::LinePatterns() = default;
LinePatterns::~LinePatterns() = default;

bool LinePatterns::Add(const std::string& pattern, std::string& error)
{
    auto compiled = std::make_unique<Compiled>();
    error = compiled->Compile(pattern);
    if (!error.empty())
        return false;
    m_compiled.push_back(std::move(compiled));
    return true;
}

bool LinePatterns::Matches(std::string_view line) const
{
    return std::any_of(m_compiled.begin(), m_compiled.end(),
                       [&](const std::unique_ptr<Compiled>& c) { return c->Matches(line); });
}

namespace {

// True when every line of `count` from `first` is one to ignore.
template <class Trivial>
bool AllTrivial(const LineFile& file, std::int64_t first, std::int64_t count, const Trivial& trivial)
{
    for (std::int64_t i = first; i < first + count; ++i)
        if (!trivial(LineView{file.RawLine(i), file.LineLacksNewline(i)}))
            return false;
    return true;
}

}  // namespace

void MarkIgnoredHunks(std::vector<LineDiff::Hunk>& hunks, const LineFile& one, const LineFile& two,
                      const LineDiff::Settings& settings, const LinePatterns* patterns)
{
    if (patterns && patterns->Empty())
        patterns = nullptr;
    if (!settings.ignoreBlankLines && !patterns)
        return;
    const TextNormalizer normalizer(settings);
    const auto trivial = [&](LineView line) {
        return (settings.ignoreBlankLines && normalizer.IsBlank(line)) || (patterns && patterns->Matches(line.raw));
    };
    for (LineDiff::Hunk& h : hunks)
        h.ignored = AllTrivial(one, h.first1, h.count1, trivial) && AllTrivial(two, h.first2, h.count2, trivial);
}
