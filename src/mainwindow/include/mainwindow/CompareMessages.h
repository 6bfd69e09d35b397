#pragma once
// What the Compare command tells the user when it cannot show two files
// side by side, word for word as the user sees it.

#include "app/Prompt.h"

#include <cstdint>

class LineFile;

namespace CompareMessages {

enum class File { One, Two };

// A path box that names no existing file.
[[nodiscard]] modVantrel::MessagePrompt NotAnExistingFile(File file);
[[nodiscard]] modVantrel::MessagePrompt Identical();
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
