#pragma once
// File names and options as vantrel-diff shows them in its output.

#include <initializer_list>
#include <string>
#include <string_view>

// The pieces one after the other. (Messages are joined with it: GCC 12 at
// -O3 reports a false -Wrestrict for some chains of std::string additions.)
[[nodiscard]] std::string Cat(std::initializer_list<std::string_view> pieces);

// A file name as header lines show it: as it is, or in double quotes with
// C escapes when it holds a blank, a control character, a quote, a
// backslash or a byte outside ASCII, so that a reader (or patch) can tell
// where it ends.
[[nodiscard]] std::string QuotedName(std::string_view name);

// An argument as a shell would need it: as it is when that is safe, else
// quoted.
[[nodiscard]] std::string ShellQuoted(std::string_view arg);
