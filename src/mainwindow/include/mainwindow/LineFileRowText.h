#pragma once
// The row texts of one result grid, formed from the lines the engine read:
// the grid keeps only line indexes and asks for " N.line" when it paints or
// reads a row, so the file's bytes are held once, by the engine and the
// grid together.

#include "engine/LineFile.h"
#include "mainwindow/VGrid.h"

#include <memory>

class LineFileRowText final : public Grid::RowTextSource {
public:
    explicit LineFileRowText(std::shared_ptr<const LineFile> file) : m_file(std::move(file)) {}

    // Line `line` counts from 0; a line outside the file reads as empty.
    [[nodiscard]] QString RowText(std::int32_t line) const override;
    [[nodiscard]] const std::shared_ptr<const LineFile>& File() const { return m_file; }

private:
    std::shared_ptr<const LineFile> m_file;
};
