#pragma once
// A main window showing a small comparison without running Compare: the
// grids are filled directly from a description of their rows, DiffList is
// set and the window looks as it does with results.
//
// Rows (grid row: File One | File Two), O = orphan colour, C = changed:
//   1   same 1          | same 1
//   2   abc         C   | abd            C
//   3   only one    O   | (filler)
//   4   same 4          | same 4
//   5   Hello World C   | hello world    C
//   6   a b         C   | a  b           C
//   7   keep        C   | (empty line)   C
//   8   (filler)    C   | extra          C
//   9 .. 150  same lines "line N"
//   151 (filler)        | tail           O
//   152 trailing row

#include "compare/AlignedRows.h"
#include "mainwindow/frmFileDiffs.h"

#include <QStringList>
#include <memory>

namespace ShownComparison {

inline constexpr int kRows = 152;  // below the header, the trailing row included

class Lines final : public Grid::RowTextSource {
public:
    explicit Lines(QStringList lines) : m_lines(std::move(lines)) {}
    QString RowText(std::int32_t line) const override
    {
        return QStringLiteral(" %1.%2").arg(line + 1).arg(m_lines.at(line));
    }

private:
    QStringList m_lines;
};

struct Pane {
    QStringList lines;
    Alignment::PaneRows rows;
    void add(const QString& line, std::uint32_t color)
    {
        rows.line.push_back(static_cast<std::int32_t>(lines.size()));
        rows.color.push_back(color);
        lines << line;
    }
    void filler(std::uint32_t color)
    {
        rows.line.push_back(Alignment::kNoLine);
        rows.color.push_back(color);
    }
};

inline void Fill(frmFileDiffs& form, Pane one, Pane two, const QStringList& diffList)
{
    form.grdFileOne->SetTextMatrix(0, QString());
    form.grdFileTwo->SetTextMatrix(0, QString());
    form.grdFileOne->SetRowsFrom(std::move(one.rows), std::make_shared<Lines>(one.lines));
    form.grdFileTwo->SetRowsFrom(std::move(two.rows), std::make_shared<Lines>(two.lines));
    form.DiffList = diffList;
    form.BookmarkList.clear();
    form.MarkedRow = 0;
    form.EnableResultCommands();
}

// Fills the form with the comparison above and draws the bar.
inline void Show(frmFileDiffs& form)
{
    constexpr std::uint32_t none = Alignment::kDefaultColor;
    constexpr std::uint32_t orphan = Alignment::kOrphanColor;
    constexpr std::uint32_t changed = Alignment::kChangedColor;
    Pane one;
    Pane two;
    one.add(QStringLiteral("same 1"), none);
    two.add(QStringLiteral("same 1"), none);
    one.add(QStringLiteral("abc"), changed);
    two.add(QStringLiteral("abd"), changed);
    one.add(QStringLiteral("only one"), orphan);
    two.filler(none);
    one.add(QStringLiteral("same 4"), none);
    two.add(QStringLiteral("same 4"), none);
    one.add(QStringLiteral("Hello World"), changed);
    two.add(QStringLiteral("hello world"), changed);
    one.add(QStringLiteral("a b"), changed);
    two.add(QStringLiteral("a  b"), changed);
    one.add(QStringLiteral("keep"), changed);
    two.add(QString(), changed);
    one.filler(changed);
    two.add(QStringLiteral("extra"), changed);
    for (int row = 9; row <= 150; ++row) {
        one.add(QStringLiteral("line %1").arg(row), none);
        two.add(QStringLiteral("line %1").arg(row), none);
    }
    one.filler(none);
    two.add(QStringLiteral("tail"), orphan);
    one.filler(none);
    two.filler(none);
    Fill(form, std::move(one), std::move(two),
         {QStringLiteral("2-1-16768477"), QStringLiteral("3-1-12902911"), QStringLiteral("5-4-16768477"),
          QStringLiteral("151-1-12902911")});
    form.DrawDiffBars();
}

// The y of a row's middle in a grid's viewport.
inline int RowY(const VGrid* grid, int row)
{
    return grid->RowHeight() * (row - grid->TopRow() + 1) + grid->RowHeight() / 2;
}

}  // namespace ShownComparison
