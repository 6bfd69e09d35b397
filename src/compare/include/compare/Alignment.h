#pragma once
// Turns the engine's result lines into the aligned rows of both grids and the
// DiffList, in one pass over the result lines and one over the rows.
//
// Result lines are read in order; a line whose first character is not a
// decimal digit is ignored. A command line has the form
//   L a F[,T]      lines F..T of File Two follow line L of File One
//   F[,T] d L      lines F..T of File One are missing from File Two
//   F1[,T1] c F2[,T2]  lines of File One replaced by lines of File Two
// (trailing blanks allowed). The rows are the ones that inserting filler rows
// one at a time, command by command, would give: fillers facing orphan lines
// keep the default colour, fillers inside a changed block take the changed
// colour, and each pane ends with exactly one empty trailing row.

#include "compare/AlignedRows.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace Alignment {

enum class AlignStatus {
    Ok,
    MalformedCommand,  // a digit-led line that is not exactly one well-formed command
    OutOfRange,        // a line number beyond its file, or a range running backwards
    OutOfOrder,        // a command overlapping or preceding an earlier one, or the
                       // unchanged stretch before it differs in length between the files
    CountMismatch,     // the unchanged stretches after the last command differ in length
    TooManyRows,       // the aligned rows would not fit a 32-bit row number
};

struct AlignOutcome {
    AlignStatus status = AlignStatus::Ok;
    // Index of the result line that was rejected; -1 when none was (success,
    // or a fault that only shows once every line has been read).
    qsizetype failedResultLine = -1;
    // On success: the aligned rows. On failure: the rows of every command
    // accepted before the fault, then the remaining lines of each file
    // unaligned, then each pane's trailing row; the panes may then differ in
    // length (see padShorterPane). DiffList holds the accepted blocks.
    AlignedRows rows;
    [[nodiscard]] bool ok() const { return status == AlignStatus::Ok; }
};

using ResultLineAt = std::function<QString(qsizetype index)>;

// lineAt is called once per index, from 0 to resultLineCount - 1 in order, so
// a caller may let pending events run inside it. Line counts are those of the
// line reader that the engine used; negative counts are rejected as OutOfRange.
[[nodiscard]] AlignOutcome alignResultLines(qsizetype resultLineCount, const ResultLineAt& lineAt,
                                            std::int32_t lineCountOne, std::int32_t lineCountTwo);
[[nodiscard]] AlignOutcome alignResultLines(const QStringList& resultLines,
                                            std::int32_t lineCountOne, std::int32_t lineCountTwo);

// Appends empty default-coloured rows to the shorter pane until both panes
// have the same number of rows, as done before reporting that the differences
// could not be shown.
void padShorterPane(AlignedRows& rows);

// Short English description of a status, for the detail log.
[[nodiscard]] QString describeAlignStatus(AlignStatus status);

}  // namespace Alignment
