#pragma once
// Whether two files differ only in how their text is stored: in their line
// endings (CR LF, LF, CR alone, a missing newline at the end) or in a
// byte-order mark at the start.

#include "engine/LineDiff.h"
#include "engine/LineFile.h"

#include <vector>

// True when `hunks` (the blocks found between `one` and `two`, at least
// one) hold the same text on both sides once every line ending is taken for
// one and the same, a last line without one as ending, and a byte-order
// mark at the start of a file as absent. The lines between the blocks are
// equal, so the files then hold the same text. Looks only at the lines of
// the blocks.
[[nodiscard]] bool OnlyLineEndsDiffer(const LineFile& one, const LineFile& two,
                                      const std::vector<LineDiff::Hunk>& hunks);
