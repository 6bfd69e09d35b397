#pragma once
// Shell patterns for file names, as -x of vantrel-diff and the folder
// view's name filters take them.

#include <string_view>

// True when `name` matches the shell pattern (*, ?, [...], \ escapes); a
// leading period is matched like any other character.
[[nodiscard]] bool MatchesPattern(std::string_view pattern, std::string_view name);
