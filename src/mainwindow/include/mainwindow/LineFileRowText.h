#pragma once
// The row texts of one result grid, formed from the lines the engine read:
// the grid keeps only line indexes and asks for " N.line" when it paints or
// reads a row, so the file's bytes are held once, by the engine and the
// grid together.

#include "engine/LineFile.h"
#include "mainwindow/VGrid.h"

#include <memory>
#include <unordered_map>

class LineFileRowText final : public Grid::RowTextSource {
public:
    explicit LineFileRowText(std::shared_ptr<const LineFile> file) : m_file(std::move(file)) {}

    // Line `line` counts from 0; a line outside the file reads as empty.
    [[nodiscard]] QString RowText(std::int32_t line) const override;
    // Looks at a bounded number of the line's bytes, once it is known
    // whether the whole line is UTF-8 (found once per long line).
    [[nodiscard]] RowText::Part RowTextPart(std::int32_t line, qsizetype columns) const override;
    // A view of the file's bytes where they can be shown as they are.
    [[nodiscard]] LineText LineTextOf(std::int32_t line) const override;
    [[nodiscard]] const std::shared_ptr<const LineFile>& File() const { return m_file; }

private:
    [[nodiscard]] bool IsUtf8(std::int32_t line, QByteArrayView bytes) const;

    std::shared_ptr<const LineFile> m_file;
    // Whether a long line is valid UTF-8, which decides how even its first
    // bytes are decoded: remembered so that painting a long row again does
    // not look at all of its bytes again.
    mutable std::unordered_map<std::int32_t, bool> m_utf8;
};
