#pragma once
// Shared by the main-window tests: a window with fresh options, engine and
// INI folder whose prompts are answered from a script, and a small
// comparison shown without running Compare (grids filled directly).
//
// Rows of Show (grid row: File One | File Two), O = orphan colour, C = changed:
//   1 same 1 | same 1        2 abc C | abd C          3 only one O | (filler)
//   4 same 4 | same 4        5 Hello World C | hello world C
//   6 a b C | a  b C         7 keep C | (empty line) C  8 (filler) C | extra C
//   9 .. 150 "line N" both   151 (filler) | tail O    152 trailing row

#include "app/CommandLine.h"
#include "app/Globals.h"
#include "compare/AlignedRows.h"
#include "engine/cDiffEngine.h"
#include "mainwindow/LineDiffView.h"
#include "mainwindow/frmFileDiffs.h"
#include "support/ScriptedPrompts.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

struct WindowFixture {
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<frmFileDiffs> form;

    void setUp()  // for init(): everything but the window
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        modVantrel::gAppFolder = folder->path() + u'/';
        modVantrel::gOptions = std::make_unique<cViewFileDiffsOptions>();
        modVantrel::gDiffEngine = std::make_unique<cDiffEngine>();
        modVantrel::gArguments.clear();
        prompts = std::make_unique<ScriptedPrompts>();
    }
    frmFileDiffs& load(bool exposed = false)
    {
        form = std::make_unique<frmFileDiffs>();
        form->Form_Load();
        if (exposed && !QTest::qWaitForWindowExposed(form.get()))
            qWarning("window not exposed");
        return *form;
    }
    void tearDown()
    {
        if (form)
            form->hide();
        form.reset();
        prompts.reset();
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        modVantrel::gOptions.reset();
        modVantrel::gDiffEngine.reset();
    }
};

// One letter per character of a detail box: k black, r red, u red with the
// blank marker, ? anything else.
inline QString Looks(const LineDiffView& box)
{
    QString letters;
    for (qsizetype k = 0; k < box.Text().size(); ++k) {
        const QColor colour = box.ColorAt(k);
        const bool marker = box.MarkerAt(k);
        letters += colour == QColor(255, 0, 0) ? (marker ? u'u' : u'r') : colour == QColor(0, 0, 0) && !marker ? u'k' : u'?';
    }
    return letters;
}

namespace ShownComparison {

class Lines final : public Grid::RowTextSource {
public:
    explicit Lines(QStringList lines) : m_lines(std::move(lines)) {}
    QString RowText(std::int32_t line) const override { return QStringLiteral(" %1.%2").arg(line + 1).arg(m_lines.at(line)); }

private:
    QStringList m_lines;
};

struct Pane {
    QStringList lines;
    Alignment::PaneRows rows;
    void add(const QString& line, std::uint32_t color = Alignment::kDefaultColor)
    {
        rows.line.push_back(static_cast<std::int32_t>(lines.size()));
        rows.color.push_back(color);
        lines << line;
    }
    void filler(std::uint32_t color = Alignment::kDefaultColor)
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
    struct Row { const char* one; std::uint32_t colorOne; const char* two; std::uint32_t colorTwo; };  // null: filler
    const Row rows[] = {{"same 1", none, "same 1", none},           {"abc", changed, "abd", changed},
                        {"only one", orphan, nullptr, none},         {"same 4", none, "same 4", none},
                        {"Hello World", changed, "hello world", changed}, {"a b", changed, "a  b", changed},
                        {"keep", changed, "", changed},              {nullptr, changed, "extra", changed}};
    Pane panes[2];
    for (const Row& row : rows) {
        row.one ? panes[0].add(QString::fromUtf8(row.one), row.colorOne) : panes[0].filler(row.colorOne);
        row.two ? panes[1].add(QString::fromUtf8(row.two), row.colorTwo) : panes[1].filler(row.colorTwo);
    }
    for (int row = 9; row <= 150; ++row) {
        panes[0].add(QStringLiteral("line %1").arg(row));
        panes[1].add(QStringLiteral("line %1").arg(row));
    }
    panes[0].filler();
    panes[1].add(QStringLiteral("tail"), orphan);
    panes[0].filler();
    panes[1].filler();
    Fill(form, std::move(panes[0]), std::move(panes[1]),
         {QStringLiteral("2-1-16768477"), QStringLiteral("3-1-12902911"), QStringLiteral("5-4-16768477"),
          QStringLiteral("151-1-12902911")});
    form.DrawDiffBars();
}

// The y of a row's middle in a grid's viewport, and a left click there.
inline int RowY(const VGrid* grid, int row)
{
    return grid->RowHeight() * (row - grid->TopRow() + 1) + grid->RowHeight() / 2;
}
inline void ClickRow(VGrid* grid, int row, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(grid->viewport(), button, {}, QPoint(30, RowY(grid, row)));
}

}  // namespace ShownComparison
