#include "Options.h"

#include <array>
#include <charconv>
#include <string_view>

namespace {

enum class Takes { Nothing, Value, OptionalValue };

struct LongOption {
    std::string_view name;
    Takes takes;
    char shortName;  // the short option it means
};

// 'L' stands for --label and 'E' for --decode-unicode, which have no short
// form.
constexpr std::array<LongOption, 10> kLongOptions = {{
    {"ignore-case", Takes::Nothing, 'i'},
    {"ignore-all-space", Takes::Nothing, 'w'},
    {"text", Takes::Nothing, 'a'},
    {"minimal", Takes::Nothing, 'd'},
    {"unified", Takes::OptionalValue, 'U'},
    {"label", Takes::Value, 'L'},
    {"help", Takes::Nothing, 'h'},
    {"version", Takes::Nothing, 'v'},
    {"normal", Takes::Nothing, 'n'},
    {"decode-unicode", Takes::Nothing, 'E'},
}};

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

// Applies option `name` (a short option letter) with its value, if any.
void Apply(CommandLine& cmd, char name, const std::string* value)
{
    switch (name) {
    case 'i': cmd.settings.lines.ignoreCase = true; break;
    case 'w': cmd.settings.lines.ignoreWhiteSpace = true; break;
    case 'a': cmd.settings.forceText = true; break;
    case 'E': cmd.settings.decodeUnicode = true; break;
    case 'd': cmd.settings.lines.minimal = true; break;
    case 'u': cmd.unified = true; break;
    case 'n': cmd.unified = false; break;
    case 'h': cmd.action = CommandLine::Action::Help; break;
    case 'v': cmd.action = CommandLine::Action::Version; break;
    case 'L':
        if (cmd.labels.size() == 2) {
            cmd.error = "too many file label options";
            cmd.hint = false;
        } else {
            cmd.labels.push_back(*value);
        }
        break;
    case 'U': {
        cmd.unified = true;
        if (!value)
            break;
        std::int64_t n = -1;
        const char* end = value->data() + value->size();
        const auto [ptr, ec] = std::from_chars(value->data(), end, n);
        if (value->empty() || ec != std::errc() || ptr != end || n < 0)
            cmd.error = "invalid context length " + Quoted(*value);
        else
            cmd.context = n;
        break;
    }
    default: break;
    }
}

// Reads the long option in argv[i] ("--name" or "--name=value").
void ReadLong(CommandLine& cmd, int argc, const char* const* argv, int& i)
{
    const std::string_view arg = std::string_view(argv[i]).substr(2);
    const std::size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    const LongOption* found = nullptr;
    std::string candidates;
    int matches = 0;
    for (const LongOption& option : kLongOptions) {
        if (option.name == name) {
            found = &option;
            matches = 1;
            break;
        }
        if (option.name.substr(0, name.size()) == name) {
            found = &option;
            ++matches;
            candidates += " '--" + std::string(option.name) + "'";
        }
    }
    if (matches == 0) {
        cmd.error = "unrecognized option " + Quoted(argv[i]);
        return;
    }
    if (matches > 1) {
        cmd.error = "option " + Quoted("--" + std::string(name)) + " is ambiguous; possibilities:" + candidates;
        return;
    }
    const std::string full = "--" + std::string(found->name);
    if (equals != std::string_view::npos) {
        if (found->takes == Takes::Nothing) {
            cmd.error = "option " + Quoted(full) + " doesn't allow an argument";
            return;
        }
        const std::string value(arg.substr(equals + 1));
        Apply(cmd, found->shortName, &value);
    } else if (found->takes == Takes::Value) {
        if (i + 1 >= argc) {
            cmd.error = "option " + Quoted(full) + " requires an argument";
            return;
        }
        const std::string value(argv[++i]);
        Apply(cmd, found->shortName, &value);
    } else {
        Apply(cmd, found->shortName == 'U' ? 'u' : found->shortName, nullptr);
    }
}

// Reads the group of short options in argv[i] ("-iw", "-U5", "-U 5").
void ReadShort(CommandLine& cmd, int argc, const char* const* argv, int& i)
{
    const std::string_view arg = argv[i];
    for (std::size_t k = 1; k < arg.size() && cmd.error.empty(); ++k) {
        const char c = arg[k];
        if (c == 'U') {
            std::string value;
            if (k + 1 < arg.size()) {
                value = arg.substr(k + 1);
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                cmd.error = "option requires an argument -- 'U'";
                return;
            }
            Apply(cmd, 'U', &value);
            return;
        }
        if (std::string_view("iwaduv").find(c) == std::string_view::npos) {
            cmd.error = "invalid option -- " + Quoted(std::string(1, c));
            return;
        }
        Apply(cmd, c, nullptr);
    }
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv)
{
    CommandLine cmd;
    bool optionsEnded = false;
    for (int i = 1; i < argc && cmd.error.empty(); ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-')
            cmd.operands.emplace_back(arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (arg[1] == '-')
            ReadLong(cmd, argc, argv, i);
        else
            ReadShort(cmd, argc, argv, i);
    }
    if (!cmd.error.empty() || cmd.action != CommandLine::Action::Compare)
        return cmd;
    if (cmd.operands.size() < 2)
        cmd.error = "missing operand after " + Quoted(cmd.operands.empty() ? "vantrel-diff" : cmd.operands.back());
    else if (cmd.operands.size() > 2)
        cmd.error = "extra operand " + Quoted(cmd.operands[2]);
    // Unified output places blocks as diff -u does, with its context in view.
    if (cmd.unified)
        cmd.settings.lines.horizon = cmd.context;
    return cmd;
}

const char* UsageText()
{
    return "Usage: vantrel-diff [OPTION]... FILE1 FILE2\n"
           "Compare two files line by line. A FILE of '-' reads standard input.\n"
           "\n"
           "  -i, --ignore-case          ignore case differences in file contents\n"
           "  -w, --ignore-all-space     ignore all white space\n"
           "  -a, --text                 treat all files as text\n"
           "      --decode-unicode       read files that start with a UTF-16 or UTF-32\n"
           "                               byte-order mark as text, shown in UTF-8\n"
           "  -d, --minimal              try hard to find a smaller set of changes\n"
           "      --normal               output a normal diff (the default)\n"
           "  -u, -U NUM, --unified[=NUM]  output NUM (default 3) lines of unified context\n"
           "      --label LABEL          use LABEL instead of file name and time in the\n"
           "                               unified header (may be given twice)\n"
           "      --help                 display this help and exit\n"
           "  -v, --version              output version information and exit\n"
           "\n"
           "Exit status is 0 if inputs are the same, 1 if different, 2 if trouble.\n";
}
