#pragma once
// Shared by the main-window tests: a window with fresh options, engine and
// INI folder whose prompts are answered from a script, and a small
// comparison shown without running Compare (files made in memory).
//
// Rows of Show (grid row: File One | File Two), O = orphan colour, C = changed:
//   1 same 1 | same 1        2 abc C | abd C          3 only one O | (filler)
//   4 same 4 | same 4        5 Hello World C | hello world C
//   6 a b C | a  b C         7 keep C | (empty line) C  8 (filler) C | extra C
//   9 .. 150 "line N" both   151 (filler) | tail O    152 trailing row

#include "app/CommandLine.h"
#include "app/Globals.h"
#include "compare/Alignment.h"
#include "engine/cDiffEngine.h"
#include "mainwindow/DetailPane.h"
#include "mainwindow/LineDiffView.h"
#include "mainwindow/frmFileDiffs.h"
#include "support/ScriptedPrompts.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
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

    // A file in the folder; its path.
    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = folder->filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    // The paths typed into the boxes, and Compare.
    void compare(const QString& one, const QString& two) const
    {
        form->txtFileOne->setText(one);
        form->txtFileTwo->setText(two);
        form->mnuFileCompare_Click();
    }
    void selectRow(int row) const
    {
        form->grdFileOne->SetRow(row);
        form->grdFileTwo->SetRow(row);
        form->RefreshSelection();
    }
    // A key pressed while grid one has the focus.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        form->activateWindow();
        form->grdFileOne->setFocus();
        QTest::keyClick(form.get(), key, modifiers);
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
        letters += colour == DetailPane::DifferColor()    ? (marker ? u'u' : u'r')
                   : colour == QColor(0, 0, 0) && !marker ? u'k'
                                                          : u'?';
    }
    return letters;
}

// A grid's viewport as painted now.
inline QImage Painted(const VGrid* grid)
{
    QImage image(grid->viewport()->size(), QImage::Format_RGB32);
    grid->viewport()->render(&image);
    return image;
}

namespace ShownComparison {

// Two files in memory, one line per entry, and the blocks between them
// (0-based first line and line count in File One, then in File Two),
// shown as a successful Compare shows them.
inline void Fill(frmFileDiffs& form, const QStringList& one, const QStringList& two,
                 const std::vector<LineDiff::Hunk>& hunks)
{
    Alignment::AlignOutcome aligned = Alignment::AlignHunks(hunks, std::int32_t(one.size()), std::int32_t(two.size()));
    QVERIFY(aligned.ok());
    const auto file = [](const QStringList& lines) {
        return LineFile::FromBytes(lines.isEmpty() ? std::string()
                                                   : (lines.join(u'\n') + u'\n').toUtf8().toStdString());
    };
    form.DisplayComparison(file(one), file(two), std::move(aligned.rows));
}

// Fills the form with the comparison above and draws the bar.
inline void Show(frmFileDiffs& form)
{
    QStringList one{"same 1", "abc", "only one", "same 4", "Hello World", "a b", "keep"};
    QStringList two{"same 1", "abd", "same 4", "hello world", "a  b", "", "extra"};
    for (int row = 9; row <= 150; ++row) {
        one << QStringLiteral("line %1").arg(row);
        two << QStringLiteral("line %1").arg(row);
    }
    two << QStringLiteral("tail");
    Fill(form, one, two, {{1, 1, 1, 1}, {2, 1, 2, 0}, {4, 3, 3, 4}, {149, 0, 149, 1}});
    form.DrawDiffBars();
}

// The y of a row's middle in a grid's viewport, and a click there.
inline int RowY(const VGrid* grid, int row)
{
    return grid->RowHeight() * (row - grid->TopRow() + 1) + grid->RowHeight() / 2;
}
inline void ClickRow(VGrid* grid, int row, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(grid->viewport(), button, {}, QPoint(30, RowY(grid, row)));
}

}  // namespace ShownComparison
