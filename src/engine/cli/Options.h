#pragma once
// The command line of vantrel-diff, read the way GNU tools read theirs:
// short options may be grouped (-iw), long options may be shortened to any
// unambiguous prefix and take values as --name=VALUE or --name VALUE,
// options may follow the operands, "--" ends the options, and "-" is an
// operand that stands for standard input.

#include "engine/Comparison.h"

#include <cstdint>
#include <string>
#include <vector>

struct CommandLine {
    enum class Action { Compare, Help, Version };
    Action action = Action::Compare;
    CompareSettings settings;
    bool unified = false;
    std::int64_t context = 3;
    std::vector<std::string> labels;
    std::vector<std::string> operands;
    // Set when the command line is wrong: what to say, and whether to
    // add the hint to try --help (not for a misuse the help cannot cure).
    std::string error;
    bool hint = true;
};

[[nodiscard]] CommandLine ParseCommandLine(int argc, const char* const* argv);

// The text --help prints.
[[nodiscard]] const char* UsageText();
