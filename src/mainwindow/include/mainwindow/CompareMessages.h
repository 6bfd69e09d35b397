#pragma once
// What the Compare command tells the user when it cannot show two files
// side by side, word for word as the user sees it.

#include "app/Prompt.h"
#include "app/cViewFileDiffsOptions.h"

#include <QStringList>
#include <cstdint>

class LineFile;

namespace CompareMessages {

enum class File { One, Two };

// A path box that names no existing file.
[[nodiscard]] modVantrel::MessagePrompt NotAnExistingFile(File file);
// What the options leave out of a comparison, in menu order: "case",
// "white space", "white space changes", "line endings", "blank lines", then
// the lines the enabled line filters match; empty for none.
[[nodiscard]] QStringList Ignored(const cViewFileDiffsOptions& options);
// "ignoring case, white space and line endings"; empty for none.
[[nodiscard]] QString Ignoring(const QStringList& ignored);
// Files identical byte for byte are identical; others only because of what
// was ignored, which the message then names.
[[nodiscard]] modVantrel::MessagePrompt Identical(const QStringList& ignored = {});
[[nodiscard]] modVantrel::MessagePrompt Binary();
// The engine's own reason follows the message.
[[nodiscard]] modVantrel::MessagePrompt EngineFailed(const QString& reason);
// The engine's blocks could not be placed in the grids; forcing a text
// compare of files that are not text is the likely cause, and then said.
[[nodiscard]] modVantrel::MessagePrompt MarkingFailed(bool forceTextCompare);
// Memory ran out while the rows were built: the files' sizes and what their
// `rows` need.
[[nodiscard]] modVantrel::MessagePrompt OutOfMemory(const LineFile& one, const LineFile& two, std::int64_t rows);

}  // namespace CompareMessages
