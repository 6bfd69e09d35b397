#pragma once
// What the printing reads of a result grid: the rows below its fixed header
// row, each with its text and its background colour. The window hands over
// either grid through this interface, so printing never sees (or moves) the
// grids themselves.

#include <QString>
#include <cstdint>

class PrintRows {
public:
    virtual ~PrintRows() = default;
    // Data rows, numbered 1 to RowCount() as in the grid; the fixed header
    // row 0 is not printed.
    [[nodiscard]] virtual int RowCount() const = 0;
    // The row's text, of which only the first maxChars characters are
    // printed; a source may stop forming the text there.
    [[nodiscard]] virtual QString RowText(int row, int maxChars) const = 0;
    // 0 when the row has no background colour of its own.
    [[nodiscard]] virtual std::uint32_t RowColor(int row) const = 0;
};

// One pane to print: its rows and the path shown in its header.
struct PrintPane {
    const PrintRows* rows = nullptr;
    QString path;
};
