#pragma once
// --html: a pair of files compared as one HTML page (engine/HtmlReport.h),
// with the rows of the hunks found, as the window's grids lay them out.

#include "Files.h"

#include "engine/Comparison.h"
#include "engine/Emit.h"

#include <string>
#include <vector>

// Writes the page of the compared pair `c` of `operands`, opened as `files`.
void WriteReport(OutputSink& out, const CommandLine& cmd, const Comparison& c, const Operand (&operands)[2],
                 const InputFile (&files)[2]);

// What the options ignored, in the window's words where it has the same
// option, and in words of their own for the others.
[[nodiscard]] std::vector<std::string> IgnoredNames(const CommandLine& cmd);
