#pragma once
// What the window says about how a compared file is stored: its encoding,
// its line endings and its number of lines (the path boxes' tooltips), and
// the message after a Compare that found differences only there.

#include "engine/LineFile.h"

#include <QString>

namespace FileFactsText {

// "UTF-8", "UTF-8 with BOM", "UTF-16 LE", ..., "Windows-1252".
[[nodiscard]] QString EncodingName(TextEncoding encoding);

// "CR LF (Windows)", "LF (Unix)", "CR (classic Mac)", "none", or for more
// than one kind "mixed (3 CR LF, 2 LF)".
[[nodiscard]] QString EndingsName(const TextFacts& facts);

// Three lines: the encoding, the line endings, the number of lines (and
// whether the last one lacks its newline).
[[nodiscard]] QString Summary(const LineFile& file);

// "The files differ only in their line endings: File One uses CR LF
// (Windows), File Two uses LF (Unix)." and the like, naming each file's
// style of everything in which the two differ: line endings, the newline
// at the end, byte-order marks or encodings. For files whose differences
// all lie there (see OnlyLineEndsDiffer).
[[nodiscard]] QString EndingsOnlyMessage(const LineFile& one, const LineFile& two);

// "Not enough memory to show the differences." and what showing needs: the
// sizes of the two files and the memory their rows take side by side.
[[nodiscard]] QString OutOfMemoryMessage(const LineFile& one, const LineFile& two, std::int64_t rows);

}  // namespace FileFactsText
