#pragma once
// Shared by the main-window tests: a window with fresh options, engine and
// INI folder whose prompts are answered from a script; its controls found
// by their object names; files compared through the Compare command.
//
// Rows of Show (grid row: File One | File Two), O = orphan colour, C = changed:
//   1 same 1 | same 1     2 abc C | abd C           3 same 3 | same 3
//   4 only one O | (filler)                         5 same 5 | same 5
//   6 Hello World C | hello world C                 7 a b C | a  b C
//   8 keep C | (empty line) C                       9 (filler) C | extra C
//   10 .. 150 "line N" both   151 (filler) | tail O   152 trailing row

#include "app/CommandLine.h"
#include "app/Globals.h"
#include "engine/cDiffEngine.h"
#include "mainwindow/DetailPane.h"
#include "mainwindow/LineDiffView.h"
#include "mainwindow/VGrid.h"
#include "mainwindow/frmFileDiffs.h"
#include "support/FileBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>

// The y of a row's middle in a grid's viewport, and a click there.
inline int RowY(const VGrid* grid, int row)
{
    return grid->RowHeight() * (row - grid->TopRow() + 1) + grid->RowHeight() / 2;
}
inline void ClickRow(VGrid* grid, int row, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(grid->viewport(), button, {}, QPoint(30, RowY(grid, row)));
}

struct WindowFixture {
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<frmFileDiffs> form;

    void setUp()  // for init(): everything but the window
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        modVantrel::gAppFolder = folder->path() + u'/';
        start();
        prompts = std::make_unique<ScriptedPrompts>();
    }
    // What the program sets up before its window: the path library (an
    // unload releases it), fresh options and engine, the command line given.
    static void start(const QStringList& arguments = {}, bool compareAtStart = false)
    {
        if (!TestEnvironment::LoadPathLibrary())
            qFatal("cannot load the path library");
        modVantrel::gOptions = std::make_unique<cViewFileDiffsOptions>();
        modVantrel::gDiffEngine = std::make_unique<cDiffEngine>();
        modVantrel::gArguments = arguments;
        modVantrel::gCompareAtStart = compareAtStart;
    }
    frmFileDiffs& load(bool exposed = false)
    {
        form = std::make_unique<frmFileDiffs>();
        form->Form_Load();
        if (exposed && !QTest::qWaitForWindowExposed(form.get()))
            qWarning("window not exposed");
        return *form;
    }
    // Closes the window, which saves the options and lets them, the engine
    // and the path library go, and starts again as the program does.
    frmFileDiffs& restart(const QStringList& arguments = {}, bool compareAtStart = false)
    {
        form->close();
        start(arguments, compareAtStart);
        return load();
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

    [[nodiscard]] const ComparisonModel& Model() const { return form->Model(); }
    // The window's controls by the names it gives them.
    template <class T>
    T* child(const QString& name) const
    {
        T* found = form->findChild<T*>(name);
        if (!found)
            qFatal("no child %s", qPrintable(name));
        return found;
    }
    QAction* action(const char* name) const { return child<QAction>(QString::fromUtf8(name)); }
    // side 1: File One, 2: File Two.
    VGrid* grid(int side) const { return child<VGrid>(side == 1 ? "grdFileOne" : "grdFileTwo"); }
    QLineEdit* box(int side) const { return child<QLineEdit>(side == 1 ? "txtFileOne" : "txtFileTwo"); }
    LineDiffView* pane(int side) const { return child<LineDiffView>(side == 1 ? "rtfLineDiff0" : "rtfLineDiff1"); }
    // The toolbar button at a position, 1 to 18; null for a separator.
    QToolButton* button(int position) const
    {
        return form->findChild<QToolButton*>(QStringLiteral("Toolbar1Button%1").arg(position));
    }
    // The messages shown so far, one "title: text" a line.
    QString told() const
    {
        QStringList lines;
        for (const modVantrel::MessagePrompt& message : prompts->messages)
            lines << message.title + QStringLiteral(": ") + message.text;
        return lines.join(u'\n');
    }
    // The pointer shows the hourglass, the application's or the window's.
    bool hourglass() const
    {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        return (cursor && cursor->shape() == Qt::WaitCursor) || form->cursor().shape() == Qt::WaitCursor;
    }

    // A file in the folder; its path.
    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = folder->filePath(name);
        if (!FileBytes::Write(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    // The paths typed into the boxes, and Compare.
    void compare(const QString& one, const QString& two) const
    {
        box(1)->setText(one);
        box(2)->setText(two);
        action("mnuFileCompare")->trigger();
    }
    // A click on a row of grid one, scrolled into view first when needed.
    void selectRow(int row) const
    {
        VGrid* one = grid(1);
        if (row < one->TopRow() || row >= one->TopRow() + one->VisibleRowCount())
            one->SetTopRow(row);
        ClickRow(one, row);
    }
    // A key pressed while grid one has the focus.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        form->activateWindow();
        grid(1)->setFocus();
        QTest::keyClick(form.get(), key, modifiers);
    }
};

// The base of a window test: a fresh window, shown, for each test function.
class WindowTest : public QObject {
    Q_OBJECT

protected:
    WindowFixture w;

protected slots:
    void init()
    {
        w.setUp();
        w.load(true);
    }
    void cleanup() { w.tearDown(); }
};

// One letter per character of a detail box: k common, r differing (red),
// u differing with the blank marker, ? anything else.
inline QString Looks(const LineDiffView& box)
{
    QString letters;
    for (qsizetype k = 0; k < box.Text().size(); ++k) {
        const bool marker = box.MarkerAt(k);
        letters += box.InkAt(k) == LineDiffView::Ink::Differ ? (marker ? u'u' : u'r') : marker ? u'?' : u'k';
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

// Two files, one line per entry, compared; Compare ends on the first block.
inline void Fill(const WindowFixture& w, const QStringList& one, const QStringList& two)
{
    const auto bytes = [](const QStringList& lines) {
        return lines.isEmpty() ? QByteArray() : (lines.join(u'\n') + u'\n').toUtf8();
    };
    w.compare(w.write(QStringLiteral("one.txt"), bytes(one)), w.write(QStringLiteral("two.txt"), bytes(two)));
}

// The comparison above.
inline void Show(const WindowFixture& w)
{
    QStringList one{"same 1", "abc", "same 3", "only one", "same 5", "Hello World", "a b", "keep"};
    QStringList two{"same 1", "abd", "same 3", "same 5", "hello world", "a  b", "", "extra"};
    for (int row = 10; row <= 150; ++row) {
        one << QStringLiteral("line %1").arg(row);
        two << QStringLiteral("line %1").arg(row);
    }
    two << QStringLiteral("tail");
    Fill(w, one, two);
}

}  // namespace ShownComparison
