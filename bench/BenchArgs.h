#pragma once
// Command-line options of the benchmark programs: "--name value" pairs and
// --help. A mistyped option stops the program before a long run starts.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace BenchArgs {

struct Option {
    const char* name;   // "--runs"
    const char* value;  // what the value is, for the help text ("N")
    const char* help;
    std::string* target;  // receives the value; keeps its default otherwise
};

// Prints the usage and every option with its default.
inline void PrintHelp(const char* usage, const std::vector<Option>& options)
{
    std::printf("%s\n\noptions:\n", usage);
    for (const Option& o : options)
        std::printf("  %s %-6s %s (default: %s)\n", o.name, o.value, o.help,
                    o.target->empty() ? "none" : o.target->c_str());
    std::printf("  --help        this text\n");
}

// Fills the options' targets from argv. Returns an exit code when the
// program should stop at once: 0 after --help, 2 after an unknown option or
// one without its value; nothing when the run may start.
inline std::optional<int> Parse(int argc, char* argv[], const char* usage, const std::vector<Option>& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string key = argv[i];
        if (key == "--help" || key == "-h") {
            PrintHelp(usage, options);
            return 0;
        }
        const Option* found = nullptr;
        for (const Option& o : options)
            if (key == o.name)
                found = &o;
        if (!found) {
            std::fprintf(stderr, "%s: unknown argument %s (see --help)\n", argv[0], key.c_str());
            return 2;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "%s: %s needs a value (see --help)\n", argv[0], key.c_str());
            return 2;
        }
        *found->target = argv[++i];
    }
    return std::nullopt;
}

// A whole positive number, or nothing for anything else ("3x", "0", "").
[[nodiscard]] inline std::optional<long> PositiveNumber(const std::string& text)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value <= 0)
        return std::nullopt;
    return value;
}

// PositiveNumber of an option's value, or a message and exit code 2.
[[nodiscard]] inline std::optional<long> Positive(const char* program, const char* name, const std::string& text)
{
    const std::optional<long> value = PositiveNumber(text);
    if (!value)
        std::fprintf(stderr, "%s: %s wants a whole number above 0, not \"%s\"\n", program, name, text.c_str());
    return value;
}

}  // namespace BenchArgs
