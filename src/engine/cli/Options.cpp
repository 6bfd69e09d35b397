#include "Options.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string_view>

namespace {

enum class Takes { Nothing, Value, OptionalValue };

// Options without a short form get a code of their own above 'z'.
enum : int {
    kHelp = 256,
    kNormal,
    kLabel,
    kDecodeUnicode,
    kHorizon,
    kSpeed,
    kLeftColumn,
    kSuppressCommon,
    kTabSize,
    kSuppressBlank,
    kNoDereference,
    kNewFileInFirst,
    kStripCr,
    kColor,
    kPalette,
    kHtml
};

struct LongOption {
    std::string_view name;
    Takes takes;
    int code;  // the short option it means, or one of the codes above
};

// In alphabetical order, which is the order an ambiguous prefix lists them.
constexpr std::array<LongOption, 44> kLongOptions = {{
    {"brief", Takes::Nothing, 'q'},
    {"color", Takes::OptionalValue, kColor},
    {"context", Takes::OptionalValue, 'C'},
    {"decode-unicode", Takes::Nothing, kDecodeUnicode},
    {"ed", Takes::Nothing, 'e'},
    {"exclude", Takes::Value, 'x'},
    {"exclude-from", Takes::Value, 'X'},
    {"expand-tabs", Takes::Nothing, 't'},
    {"help", Takes::Nothing, kHelp},
    {"horizon-lines", Takes::Value, kHorizon},
    {"html", Takes::Nothing, kHtml},
    {"ifdef", Takes::Value, 'D'},
    {"ignore-all-space", Takes::Nothing, 'w'},
    {"ignore-blank-lines", Takes::Nothing, 'B'},
    {"ignore-case", Takes::Nothing, 'i'},
    {"ignore-matching-lines", Takes::Value, 'I'},
    {"ignore-space-change", Takes::Nothing, 'b'},
    {"ignore-tab-expansion", Takes::Nothing, 'E'},
    {"ignore-trailing-space", Takes::Nothing, 'Z'},
    {"initial-tab", Takes::Nothing, 'T'},
    {"label", Takes::Value, kLabel},
    {"left-column", Takes::Nothing, kLeftColumn},
    {"minimal", Takes::Nothing, 'd'},
    {"new-file", Takes::Nothing, 'N'},
    {"no-dereference", Takes::Nothing, kNoDereference},
    {"normal", Takes::Nothing, kNormal},
    {"palette", Takes::Value, kPalette},
    {"rcs", Takes::Nothing, 'n'},
    {"recursive", Takes::Nothing, 'r'},
    {"report-identical-files", Takes::Nothing, 's'},
    {"show-c-function", Takes::Nothing, 'p'},
    {"show-function-line", Takes::Value, 'F'},
    {"side-by-side", Takes::Nothing, 'y'},
    {"speed-large-files", Takes::Nothing, kSpeed},
    {"starting-file", Takes::Value, 'S'},
    {"strip-trailing-cr", Takes::Nothing, kStripCr},
    {"suppress-blank-empty", Takes::Nothing, kSuppressBlank},
    {"suppress-common-lines", Takes::Nothing, kSuppressCommon},
    {"tabsize", Takes::Value, kTabSize},
    {"text", Takes::Nothing, 'a'},
    {"unidirectional-new-file", Takes::Nothing, kNewFileInFirst},
    {"unified", Takes::OptionalValue, 'U'},
    {"version", Takes::Nothing, 'v'},
    {"width", Takes::Value, 'W'},
}};

constexpr std::string_view kShortPlain = "abcdeilnpqrstuvwyBENTZ";
constexpr std::string_view kShortValued = "CDFILSUWXx";

std::string Quoted(std::string_view text)
{
    // Built by appending: GCC 12 at -O3 reports a false -Wrestrict inside
    // std::string for the chain "'" + text + "'".
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '\'';
    quoted += text;
    quoted += '\'';
    return quoted;
}

// A number as diff reads one: decimal digits after optional white space
// and sign, nothing after them. A value too large for 64 bits is kept as
// the largest, which stands for "no limit" wherever a number is one.
bool ParseNumber(const std::string& text, std::int64_t& n)
{
    std::size_t at = text.find_first_not_of(" \t\n\v\f\r");
    if (at == std::string::npos)
        return false;
    const bool negative = text[at] == '-';
    if (text[at] == '+' || text[at] == '-')
        ++at;
    if (at == text.size())
        return false;
    n = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9')
            return false;
        const int digit = text[at] - '0';
        n = n > (INT64_MAX - digit) / 10 ? INT64_MAX : n * 10 + digit;
    }
    return !negative || n == 0;
}

// What the options say, kept until all are read: several of them decide
// together (the context length, the output style).
struct Reading {
    CommandLine& cmd;
    bool styleSet = false;
    bool contextGiven = false;  // -C/-U with a number
    std::int64_t digits = -1;   // the obsolete -NUM form
    bool lastWasDigit = false;
    bool showFunctions = false;                  // -p: context style if none is chosen
    std::shared_ptr<LinePatterns> ignored = {};  // -I

    void Fail(std::string text, bool hint = true)
    {
        if (cmd.error.empty()) {
            cmd.error = std::move(text);
            cmd.hint = hint;
        }
    }
    void Style(CommandLine::Style style)
    {
        if (styleSet && cmd.style != style)
            Fail("conflicting output style options");
        styleSet = true;
        cmd.style = style;
    }
    void Number(const std::string& value, std::int64_t& into, const char* what, bool zeroOk)
    {
        std::int64_t n = 0;
        if (!ParseNumber(value, n) || (!zeroOk && n == 0))
            Fail(std::string("invalid ") + what + " " + Quoted(value));
        else
            into = n;
    }
    void Context(const std::string* value, CommandLine::Style style);
    void Excludes(const std::string& path);
    void IgnoreMatching(const std::string& pattern);
    void Apply(int code, const std::string* value);
};

void Reading::Context(const std::string* value, CommandLine::Style style)
{
    Style(style);
    if (!value) {
        cmd.context = std::max<std::int64_t>(cmd.context, 3);
        return;
    }
    // An empty length stands for 0; more than one length: the largest.
    std::int64_t n = 0;
    if (!value->empty())
        Number(*value, n, "context length", true);
    cmd.context = std::max(cmd.context, n);
    contextGiven = true;
}

// Reads the patterns in `path`, one a line, white space at their ends and
// empty lines left out.
void Reading::Excludes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Fail(path + ": " + std::string(std::strerror(errno)), false);
        return;
    }
    for (std::string line; std::getline(in, line);) {
        line.erase(line.find_last_not_of(" \t\r\v\f") + 1);
        if (!line.empty())
            cmd.excludes.push_back(line);
    }
}

// Compiled as it is read, as diff does: a pattern that does not compile
// is said before anything else happens.
void Reading::IgnoreMatching(const std::string& pattern)
{
    if (!ignored) {
        ignored = std::make_shared<LinePatterns>();
        cmd.settings.ignoreMatching = ignored;
    }
    cmd.ignorePatterns.push_back(pattern);
    std::string error;
    if (!ignored->Add(pattern, error))
        Fail(pattern + ": " + error, false);
}

void Reading::Apply(int code, const std::string* value)
{
    using S = CommandLine::Style;
    switch (code) {
    case 'i': cmd.settings.lines.ignoreCase = true; break;
    case 'w': cmd.settings.lines.ignoreWhiteSpace = true; break;
    case 'b': cmd.settings.lines.ignoreSpaceChange = true; break;
    case 'Z': cmd.settings.lines.ignoreTrailingSpace = true; break;
    case 'E': cmd.settings.lines.ignoreTabExpansion = true; break;
    case 'B': cmd.settings.lines.ignoreBlankLines = true; break;
    case 'I': IgnoreMatching(*value); break;
    case kStripCr: cmd.settings.stripTrailingCr = true; break;
    case 'a': cmd.settings.forceText = true; break;
    case 'd': cmd.settings.lines.minimal = true; break;
    case kDecodeUnicode: cmd.settings.decodeUnicode = true; break;
    case 'q': cmd.brief = true; break;
    case 's': cmd.reportIdentical = true; break;
    case 'c': Context(nullptr, S::Context); break;
    case 'u': Context(nullptr, S::Unified); break;
    case 'C': Context(value, S::Context); break;
    case 'U': Context(value, S::Unified); break;
    case 'e': Style(S::Ed); break;
    case 'n': Style(S::Rcs); break;
    case 'y': Style(S::SideBySide); break;
    case kNormal: Style(S::Normal); break;
    case kHtml: Style(S::Html); break;
    case 'D':
        if (styleSet && cmd.style == S::Ifdef && cmd.ifdefName != *value)
            Fail("conflicting -D option value '#ifndef " + *value + "\n%<#endif /* ! " + *value + " */\n'");
        Style(S::Ifdef);
        cmd.ifdefName = *value;
        break;
    case 'p':
        showFunctions = true;
        cmd.functionPatterns.emplace_back("^[[:alpha:]$_]");
        break;
    case 'F': cmd.functionPatterns.push_back(*value); break;
    case 't': cmd.layout.expandTabs = true; break;
    case 'T': cmd.layout.initialTab = true; break;
    case kTabSize: Number(*value, cmd.layout.tabSize, "tabsize", false); break;
    case kSuppressBlank: cmd.layout.suppressBlankEmpty = true; break;
    case 'W': Number(*value, cmd.sideBySide.width, "width", false); break;
    case kLeftColumn: cmd.sideBySide.leftColumn = true; break;
    case kSuppressCommon: cmd.sideBySide.suppressCommon = true; break;
    case kHorizon: {
        // Accepted as diff accepts it; the placement of blocks does not
        // depend on it here.
        std::int64_t unused = 0;
        if (!value->empty())
            Number(*value, unused, "horizon length", true);
        break;
    }
    case kSpeed: break;
    case 'r': cmd.recursive = true; break;
    case 'N': cmd.newFile = true; break;
    case kNewFileInFirst: cmd.newFileInFirst = true; break;
    case kNoDereference: cmd.noDereference = true; break;
    case 'x': cmd.excludes.push_back(*value); break;
    case 'X': Excludes(*value); break;
    case 'S': cmd.startingFile = *value; break;
    case kColor:
        if (!value || *value == "auto")
            cmd.color = CommandLine::Color::Auto;
        else if (*value == "always")
            cmd.color = CommandLine::Color::Always;
        else if (*value == "never")
            cmd.color = CommandLine::Color::Never;
        else
            Fail("invalid color " + Quoted(*value));
        break;
    case kPalette: cmd.palette = *value; break;
    case kHelp: cmd.action = CommandLine::Action::Help; break;
    case 'v': cmd.action = CommandLine::Action::Version; break;
    case 'L':
    case kLabel:
        if (cmd.labels.size() == 2)
            Fail("too many file label options", false);
        else
            cmd.labels.push_back(*value);
        break;
    default: break;
    }
}

const LongOption* FindLong(Reading& r, std::string_view name)
{
    const LongOption* found = nullptr;
    std::string candidates;
    int matches = 0;
    const auto consider = [&](const LongOption& option) {
        if (option.name == name) {
            found = &option;
            matches = -1;
        } else if (matches >= 0 && option.name.substr(0, name.size()) == name) {
            found = &option;
            ++matches;
            candidates += " '--" + std::string(option.name) + "'";
        }
    };
    for (const LongOption& option : kLongOptions)
        consider(option);
    if (matches > 1) {
        r.Fail("option " + Quoted("--" + std::string(name)) + " is ambiguous; possibilities:" + candidates);
        return nullptr;
    }
    return found;
}

// Reads the long option in argv[i] ("--name" or "--name=value").
void ReadLong(Reading& r, int argc, const char* const* argv, int& i)
{
    const std::string_view arg = std::string_view(argv[i]).substr(2);
    const std::size_t equals = arg.find('=');
    const LongOption* found = FindLong(r, arg.substr(0, equals));
    if (!found) {
        r.Fail("unrecognized option " + Quoted(argv[i]));
        return;
    }
    const std::string full = "--" + std::string(found->name);
    if (equals != std::string_view::npos) {
        if (found->takes == Takes::Nothing)
            return r.Fail("option " + Quoted(full) + " doesn't allow an argument");
        const std::string value(arg.substr(equals + 1));
        r.Apply(found->code, &value);
    } else if (found->takes == Takes::Value) {
        if (i + 1 >= argc)
            return r.Fail("option " + Quoted(full) + " requires an argument");
        r.cmd.switches.emplace_back(argv[++i]);
        const std::string value(argv[i]);
        r.Apply(found->code, &value);
    } else {
        r.Apply(found->code == 'U' ? 'u' : found->code == 'C' ? 'c' : found->code, nullptr);
    }
}

// An obsolete context length given as digit options (-5, -u0, -12): the
// digits of adjacent options form one number.
void ReadDigit(Reading& r, char c)
{
    const int digit = c - '0';
    if (!r.lastWasDigit || r.digits < 0)
        r.digits = digit;
    else
        r.digits = r.digits > (INT64_MAX - digit) / 10 ? INT64_MAX : r.digits * 10 + digit;
}

// Reads the group of short options in argv[i] ("-iw", "-U5", "-U 5").
void ReadShort(Reading& r, int argc, const char* const* argv, int& i)
{
    const std::string_view arg = argv[i];
    for (std::size_t k = 1; k < arg.size() && r.cmd.error.empty(); ++k) {
        const char c = arg[k];
        const bool digit = c >= '0' && c <= '9';
        if (digit)
            ReadDigit(r, c);
        r.lastWasDigit = digit;
        if (digit)
            continue;
        if (kShortValued.find(c) != std::string_view::npos) {
            std::string value;
            if (k + 1 < arg.size()) {
                value = arg.substr(k + 1);
            } else if (i + 1 < argc) {
                value = argv[++i];
                r.cmd.switches.push_back(value);
            } else {
                return r.Fail("option requires an argument -- " + Quoted(std::string(1, c)));
            }
            r.Apply(c, &value);
            return;
        }
        if (kShortPlain.find(c) == std::string_view::npos)
            return r.Fail("invalid option -- " + Quoted(std::string(1, c)));
        r.Apply(c, nullptr);
    }
}

// What the options decide together once all are read.
void Settle(Reading& r, int argc, const char* const* argv)
{
    CommandLine& cmd = r.cmd;
    if (!r.styleSet && r.showFunctions)
        r.Context(nullptr, CommandLine::Style::Context);
    // Obsolete digits: a length of their own, or a larger one than -C/-U gave.
    if (r.digits >= 0 && (cmd.context < r.digits || !r.contextGiven))
        cmd.context = r.digits;
    // The page is the whole output: nothing may be said beside it.
    if (cmd.style == CommandLine::Style::Html && (cmd.brief || cmd.reportIdentical))
        r.Fail("conflicting output style options");
    if (!cmd.error.empty())
        return;
    if (cmd.operands.size() < 2)
        cmd.error = "missing operand after " + Quoted(argc > 1 ? argv[argc - 1] : "vantrel-diff");
    else if (cmd.operands.size() > 2)
        cmd.error = "extra operand " + Quoted(cmd.operands[2]);
    // Unified and context output place blocks as diff does, with their
    // context in view.
    if (cmd.style == CommandLine::Style::Unified || cmd.style == CommandLine::Style::Context)
        cmd.settings.lines.horizon = cmd.context;
    cmd.settings.lines.tabSize = cmd.layout.tabSize;
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv)
{
    CommandLine cmd;
    cmd.context = 0;
    cmd.settings.lines.diffPlacement = true;
    Reading r{cmd};
    bool optionsEnded = false;
    // --help and --version act at once, as the options after them are read.
    for (int i = 1; i < argc && cmd.error.empty() && cmd.action == CommandLine::Action::Compare; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            cmd.operands.emplace_back(arg);
            continue;
        }
        cmd.switches.emplace_back(arg);
        if (arg == "--")
            optionsEnded = true;
        else if (arg[1] == '-')
            ReadLong(r, argc, argv, i);
        else
            ReadShort(r, argc, argv, i);
        if (arg[1] == '-' || (arg.size() > 1 && (arg.back() < '0' || arg.back() > '9')))
            r.lastWasDigit = false;
    }
    if (!cmd.error.empty() || cmd.action != CommandLine::Action::Compare)
        return cmd;
    Settle(r, argc, argv);
    return cmd;
}

namespace {

// One value of a palette entry, up to the ':' or the end that closes it:
// \ escapes (\a \b \e \f \n \r \t \v \? \_ for a blank, octal \NNN, hex
// \xHH, any other character as itself) and ^X for a control character
// (^? for DEL, which leaves the ? in place as diff does). False on a
// trailing \ or a ^ before anything else.
bool ReadPaletteValue(std::string_view text, std::size_t& at, std::string& out)
{
    while (at < text.size() && text[at] != ':') {
        const char c = text[at++];
        if (c == '^') {
            if (at < text.size() && text[at] >= '@' && text[at] <= '~')
                out += static_cast<char>(text[at++] & 037);
            else if (at < text.size() && text[at] == '?')
                out += '\177';
            else
                return false;
        } else if (c != '\\') {
            out += c;
        } else if (at == text.size()) {
            return false;
        } else if (text[at] >= '0' && text[at] <= '7') {
            int n = 0;
            while (at < text.size() && text[at] >= '0' && text[at] <= '7')
                n = (n << 3) + (text[at++] - '0');
            out += static_cast<char>(n);
        } else if (text[at] == 'x' || text[at] == 'X') {
            int n = 0;
            for (++at; at < text.size() && std::isxdigit(static_cast<unsigned char>(text[at])); ++at) {
                const char h = static_cast<char>(std::tolower(static_cast<unsigned char>(text[at])));
                n = (n << 4) + (h <= '9' ? h - '0' : h - 'a' + 10);
            }
            out += static_cast<char>(n);
        } else {
            constexpr std::string_view kNamed = "a\ab\be\033f\fn\nr\rt\tv\v?\177_ ";
            const std::size_t named = kNamed.find(text[at]);
            out += named != std::string_view::npos && named % 2 == 0 ? kNamed[named + 1] : text[at];
            ++at;
        }
    }
    return true;
}

}  // namespace

bool ParsePalette(std::string_view text, Emit::Palette& palette, std::vector<std::string>& messages)
{
    const std::array<std::pair<std::string_view, std::string*>, 8> entries{{{"lc", &palette.lc},
                                                                            {"rc", &palette.rc},
                                                                            {"ec", &palette.ec},
                                                                            {"rs", &palette.rs},
                                                                            {"hd", &palette.hd},
                                                                            {"ad", &palette.ad},
                                                                            {"de", &palette.de},
                                                                            {"ln", &palette.ln}}};
    for (std::size_t at = 0; at < text.size();) {
        if (text[at] == ':') {
            ++at;
            continue;
        }
        bool read = false;
        if (at + 2 < text.size() && text[at + 2] == '=') {
            const std::string_view label = text.substr(at, 2);
            at += 3;
            const auto entry =
                std::find_if(entries.begin(), entries.end(), [label](const auto& e) { return e.first == label; });
            if (entry == entries.end()) {
                messages.push_back("unrecognized prefix: " + std::string(label));
            } else {
                entry->second->clear();
                read = ReadPaletteValue(text, at, *entry->second);
                // diff names the entry whose value it could not read so.
                if (!read)
                    messages.push_back("unrecognized prefix: " + std::string(label));
            }
        }
        if (!read) {
            messages.emplace_back("unparsable value for --palette");
            return false;
        }
    }
    return true;
}

const char* UsageText()
{
    return "Usage: vantrel-diff [OPTION]... FILES\n"
           "Compare FILES line by line. A FILE of '-' reads standard input.\n"
           "FILES are 'FILE1 FILE2', 'DIR1 DIR2', 'DIR FILE' or 'FILE DIR'.\n"
           "\n"
           "      --normal                  output a normal diff (the default)\n"
           "  -q, --brief                   report only when files differ\n"
           "  -s, --report-identical-files  report when two files are the same\n"
           "  -c, -C NUM, --context[=NUM]   output NUM (default 3) lines of copied context\n"
           "  -u, -U NUM, --unified[=NUM]   output NUM (default 3) lines of unified context\n"
           "  -e, --ed                      output an ed script\n"
           "  -n, --rcs                     output an RCS format diff\n"
           "  -y, --side-by-side            output in two columns\n"
           "  -W, --width=NUM               output at most NUM (default 130) print columns\n"
           "      --left-column             output only the left column of common lines\n"
           "      --suppress-common-lines   do not output common lines\n"
           "  -D, --ifdef=NAME              output merged file with '#ifdef NAME' diffs\n"
           "      --html                    output both files side by side as an HTML page;\n"
           "                                  with -r, two folders' differences as one page\n"
           "      --color[=WHEN]            color the normal and unified forms; WHEN is\n"
           "                                  'never', 'always', or 'auto' (the default:\n"
           "                                  only on a terminal); the differing characters\n"
           "                                  of paired changed lines in reverse video\n"
           "      --palette=PALETTE         the colors to use when --color is active; PALETTE\n"
           "                                  is a colon-separated list of terminfo\n"
           "                                  capabilities (default 'rs=0:hd=1:ad=32:de=31:ln=36')\n"
           "\n"
           "  -p, --show-c-function         show which C function each change is in\n"
           "  -F, --show-function-line=RE   show the most recent line matching RE\n"
           "  -L, --label LABEL             use LABEL instead of file name and time in the\n"
           "                                  header (may be given twice)\n"
           "\n"
           "  -t, --expand-tabs             expand tabs to spaces in output\n"
           "  -T, --initial-tab             make tabs line up by prepending a tab\n"
           "      --tabsize=NUM             tab stops every NUM (default 8) print columns\n"
           "      --suppress-blank-empty    suppress space or tab before empty output lines\n"
           "\n"
           "  -r, --recursive               recursively compare any subdirectories found\n"
           "      --no-dereference          don't follow symbolic links\n"
           "  -N, --new-file                treat absent files as empty\n"
           "      --unidirectional-new-file treat absent first files as empty\n"
           "  -x, --exclude=PAT             exclude files that match PAT\n"
           "  -X, --exclude-from=FILE       exclude files that match any pattern in FILE\n"
           "  -S, --starting-file=FILE      start with FILE when comparing directories\n"
           "\n"
           "  -i, --ignore-case             ignore case differences in file contents\n"
           "  -E, --ignore-tab-expansion    ignore changes due to tab expansion\n"
           "  -Z, --ignore-trailing-space   ignore white space at line end\n"
           "  -b, --ignore-space-change     ignore changes in the amount of white space\n"
           "  -w, --ignore-all-space        ignore all white space\n"
           "  -B, --ignore-blank-lines      ignore changes where lines are all blank\n"
           "  -I, --ignore-matching-lines=RE\n"
           "                                ignore changes where all lines match RE\n"
           "      --strip-trailing-cr       strip trailing carriage return on input\n"
           "  -a, --text                    treat all files as text\n"
           "      --decode-unicode          read files that start with a UTF-16 or UTF-32\n"
           "                                  byte-order mark as text, shown in UTF-8\n"
           "\n"
           "  -d, --minimal                 try hard to find a smaller set of changes\n"
           "      --horizon-lines=NUM       accepted; blocks are placed the same without it\n"
           "      --speed-large-files       accepted; large files are always fast\n"
           "\n"
           "      --help                    display this help and exit\n"
           "  -v, --version                 output version information and exit\n"
           "\n"
           "Exit status is 0 if inputs are the same, 1 if different, 2 if trouble.\n";
}
