#pragma once
// The command line of vantrel-diff, read the way GNU tools read theirs:
// short options may be grouped (-iw), long options may be shortened to any
// unambiguous prefix and take values as --name=VALUE or --name VALUE,
// options may follow the operands, "--" ends the options, and "-" is an
// operand that stands for standard input.

#include "engine/Comparison.h"
#include "engine/Emit.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CommandLine {
    enum class Action { Compare, Help, Version };
    enum class Style { Normal, Unified, Context, Ed, Rcs, SideBySide, Ifdef, Html };
    Action action = Action::Compare;
    CompareSettings settings;
    Style style = Style::Normal;
    // Lines of context for the unified and context styles.
    std::int64_t context = 3;
    // Only say whether files differ (-q); also say when they are the same (-s).
    bool brief = false;
    bool reportIdentical = false;
    Emit::Layout layout;
    Emit::SideBySide sideBySide;
    // Patterns of the lines that name a section, shown in hunk headers.
    std::vector<std::string> functionPatterns;
    std::string ifdefName;
    // Folders.
    bool recursive = false;
    bool newFile = false;         // a file missing on either side is empty
    bool newFileInFirst = false;  // only a file missing in the first is
    bool noDereference = false;
    std::vector<std::string> excludes;  // shell patterns for base names
    std::string startingFile;
    std::vector<std::string> labels;
    // The patterns of -I, as given.
    std::vector<std::string> ignorePatterns;
    // --color: whether to colour the output (Auto: when it is a terminal),
    // and --palette as given.
    enum class Color { Never, Always, Auto };
    Color color = Color::Never;
    std::string palette;
    std::vector<std::string> operands;
    // The options as given, in order, for the "diff ..." line that heads
    // each compared pair in a folder comparison.
    std::vector<std::string> switches;
    // Set when the command line is wrong: what to say, and whether to
    // add the hint to try --help (not for a misuse the help cannot cure).
    std::string error;
    bool hint = true;
};

[[nodiscard]] CommandLine ParseCommandLine(int argc, const char* const* argv);

// Reads a --palette value ("ad=1;32:de=31", with the escapes of GNU's
// form) into `palette`. False when it is not one, with what diff says
// about it in `messages`.
[[nodiscard]] bool ParsePalette(std::string_view text, Emit::Palette& palette, std::vector<std::string>& messages);

// The text --help prints.
[[nodiscard]] const char* UsageText();
