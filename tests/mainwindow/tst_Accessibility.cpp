// What Qt's accessibility layer hands a screen reader of the window, read
// through the interfaces themselves: the grids as tables of the rows as
// shown, the detail pane's differing characters, the difference bar's value,
// and a name and a description for every control in the tab order.

#include "WindowFixture.h"

#include "mainwindow/Accessibility.h"
#include "about/frmProducts.h"
#include "mainwindow/DiffBarWidget.h"
#include "mainwindow/LineFiltersDialog.h"
#include "mainwindow/ToolbarKeys.h"
#include "print/frmPrintOptions.h"

#include <QAccessible>
#include <functional>

using namespace ShownComparison;

namespace {

QAccessibleTableInterface* Table(const VGrid* grid)
{
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(const_cast<VGrid*>(grid));
    return table ? table->tableInterface() : nullptr;
}

QString Read(const VGrid* grid, int index, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface* cell = Table(grid)->cellAt(index, 0);
    return cell ? cell->text(text) : QStringLiteral("(no cell)");
}

class NoRows final : public PrintRows {
public:
    int RowCount() const override { return 0; }
    QString RowText(int, int) const override { return {}; }
    std::uint32_t RowColor(int) const override { return 0; }
};

using MakeDialog = std::function<QDialog*()>;

}  // namespace

class tst_Accessibility : public WindowTest {
    Q_OBJECT

private slots:
    void init()
    {
        WindowTest::init();
        // Focus states are read below: the window must be active first.
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    }

    // Table rows are counted from 0 below the header.
    void rowsReadWithTheirState_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("read");  // "name | state"
        QTest::newRow("File Two's number") << 2 << 8 << QString("Line 8: extra | changed");
        QTest::newRow("trailing row") << 1 << 151 << QString(" | end");
        QTest::newRow("past the trailing row") << 1 << 152 << QString("(no cell) | (no cell)");
    }

    void rowsReadWithTheirState()
    {
        QFETCH(int, side);
        QFETCH(int, index);
        Show(w);
        QTEST(Read(w.grid(side), index) + " | " + Read(w.grid(side), index, QAccessible::Description), "read");
    }

    // A fold row is one row of the table, read as its text; the rows after it
    // move up. The cells of the rows before are made afresh.
    void foldsReadAsShown()
    {
        Show(w);
        const VGrid* one = w.grid(1);
        const QAccessible::Id before = QAccessible::uniqueId(Table(one)->cellAt(13, 0));
        w.action("mnuViewHideUnchangedLines")->trigger();
        QAccessibleTableInterface* table = Table(one);
        QCOMPARE(table->rowCount(), 18);
        QCOMPARE(
            QStringList({Read(one, 11), Read(one, 12), Read(one, 12, QAccessible::Description), Read(one, 13)}),
            QStringList({"Line 11: line 12", "\u22EF 135 unchanged lines \u22EF", "folded", "Line 147: line 148"}));
        QVERIFY(QAccessible::uniqueId(table->cellAt(13, 0)) != before);
    }

    // The cell text stops at its limit, an ellipsis saying so.
    void longRowsAreCut()
    {
        const int room = Accessibility::kCellTextLength - 3;  // " 1." and " 2." come first
        Fill(w, {QString(room, u'a'), QString(room + 1, u'b')}, {QStringLiteral("x")});
        QCOMPARE(Read(w.grid(1), 0), QStringLiteral("Line 1: ") + QString(room, u'a'));
        QCOMPARE(Read(w.grid(1), 1), QStringLiteral("Line 2: ") + QString(room, u'b') + QChar(0x2026));
    }

    // The current row is the selected cell and, with the focus, the focused
    // one; choosing a row through the table makes it current as the keys do.
    void currentRowIsTheSelectedCell()
    {
        Show(w);
        w.grid(1)->setFocus();
        QAccessibleTableInterface* table = Table(w.grid(1));
        QCOMPARE(table->selectedRows(), QList<int>{1});
        // Rows past either end are refused and leave the current row alone.
        QVERIFY(!table->selectRow(-1) && !table->selectRow(table->rowCount()));
        QCOMPARE(w.Model().CurrentRow(), 2);
        for (const int row : {table->rowCount() - 1, 5})
            QCOMPARE((std::pair{table->selectRow(row), w.Model().CurrentRow()}), (std::pair{true, row + 1}));
        // Grid two's current row is where it was, and has no focus.
        const QAccessible::State two = Table(w.grid(2))->cellAt(1, 0)->state();
        QVERIFY(two.selected && !two.focused);
    }

    // The pane names the characters that differ, row after row. What the
    // grids announce after Compare and F7, the current row's state, the
    // pane's text and a range of characters are read over AT-SPI by
    // atspi_window.py.
    void paneTellsWhatDiffers()
    {
        Show(w);
        QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(w.pane(1));
        QCOMPARE(pane->text(QAccessible::Description), QStringLiteral("changed: character 3"));
        w.key(Qt::Key_F7);
        // The pane's selection as a reader asks for it: none, then the characters chosen.
        QAccessibleTextInterface* text = pane->textInterface();
        int start = -1, end = -1;
        text->selection(0, &start, &end);
        QVERIFY(text->selectionCount() == 0 && start == 0 && end == 0);
        text->setSelection(0, 2, 5);
        text->selection(0, &start, &end);
        QVERIFY(text->selectionCount() == 1 && start == 2 && end == 5);
        w.key(Qt::Key_F7);
        QCOMPARE(pane->text(QAccessible::Description), QStringLiteral("changed: characters 1 and 7"));
    }

    // The pane's characters read in runs of one look: a reader is told where
    // a run starts and ends, its colour and whether it is underlined (a
    // differing blank). "a bc" with only its first character common.
    void paneRunsOfOneLook_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("run");  // "start-end underline"
        QTest::newRow("common") << 0 << QString("0-1 none");
        QTest::newRow("differing blank") << 1 << QString("1-2 single");
        QTest::newRow("differing letters, the last") << 3 << QString("2-4 none");
        QTest::newRow("past the end") << 4 << QString("4-4 ");
        QTest::newRow("before the start") << -1 << QString("-1--1 ");
    }

    void paneRunsOfOneLook()
    {
        QFETCH(int, offset);
        w.pane(1)->SetLine(LineText(QStringLiteral("a bc")), LineDiffView::MarkedLook{{true}, true});
        QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(w.pane(1))->textInterface();
        int start = -2, end = -2;
        const QString attributes = text->attributes(offset, &start, &end);
        const QString underline = attributes.section(QStringLiteral("underline:"), 1).remove(u';');
        QTEST(QStringLiteral("%1-%2 %3").arg(start).arg(end).arg(underline), "run");
        int ignored = 0;
        if (!underline.isEmpty())
            QCOMPARE(attributes.section(u';', 0, 0) == text->attributes(0, &ignored, &ignored).section(u';', 0, 0),
                     offset == 0);
    }

    // With the focus on the toolbar, the arrows, Home and End go round the
    // buttons that can be pressed: before a Compare, Select File One and Two,
    // Compare and Exit, then the rest of the row.
    void toolbarKeysSkipWhatCannotBePressed()
    {
        auto* toolbar = w.child<QToolBar>(QStringLiteral("Toolbar1"));
        const ToolbarKeys* keys = toolbar->findChild<ToolbarKeys*>();
        toolbar->setFocus();
        for (const auto& [key, position] :
             {std::pair{Qt::Key_Home, 1}, std::pair{Qt::Key_Right, 2}, std::pair{Qt::Key_Right, 3},
              std::pair{Qt::Key_Right, 18}, std::pair{Qt::Key_Left, 3}}) {
            QTest::keyClick(toolbar, key);
            QCOMPARE(keys->Chosen(), w.button(position));
        }
        // End goes to the last button that can be pressed; Right comes round
        // from there to the first, and Left goes back.
        QTest::keyClick(toolbar, Qt::Key_End);
        const QToolButton* last = keys->Chosen();
        QVERIFY(last && last->x() >= w.button(18)->x());
        QTest::keyClick(toolbar, Qt::Key_Right);
        QCOMPARE(keys->Chosen(), w.button(1));
        QTest::keyClick(toolbar, Qt::Key_Left);
        QCOMPARE(keys->Chosen(), last);
    }

    // The bar's value is the current row; setting it goes to that row.
    void barValueIsTheCurrentRow()
    {
        Show(w);
        QAccessibleValueInterface* bar =
            QAccessible::queryAccessibleInterface(w.child<DiffBarWidget>(QStringLiteral("pctDiffsBar")))
                ->valueInterface();
        QCOMPARE(bar->maximumValue().toInt(), 152);
        // Keys move the current row, though the bar's mark stays.
        QTest::keyClick(w.grid(1), Qt::Key_Down);
        QCOMPARE(bar->currentValue().toInt(), 3);
        bar->setCurrentValue(100);
        QCOMPARE(w.Model().CurrentRow(), 100);
    }

    // Tab walks the designed order and comes back round; every control on
    // the way has a name and a description.
    void tabOrderIsNamedAndDescribed()
    {
        Show(w);
        w.child<QWidget>(QStringLiteral("Toolbar1"))->setFocus();
        QStringList order;
        for (int stop = 0; stop < 10; ++stop) {
            QWidget* focused = QApplication::focusWidget();
            QVERIFY(focused);
            QAccessibleInterface* read = QAccessible::queryAccessibleInterface(focused);
            const bool described =
                !read->text(QAccessible::Name).isEmpty() && !read->text(QAccessible::Description).isEmpty();
            order << focused->objectName() + (described ? "" : " (no name or description)");
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        QCOMPARE(order, QStringList({"Toolbar1", "chkTooltip", "txtFileOne", "txtFileTwo", "grdFileOne", "grdFileTwo",
                                     "rtfLineDiff0", "rtfLineDiff1", "Splitter", "Toolbar1"}));
    }

    // Each dialog of the program's own is named by its title and described,
    // and so is every control in it that takes the focus.
    void dialogsAreNamedAndDescribed_data()
    {
        QTest::addColumn<MakeDialog>("make");
        QTest::newRow("line filters") << MakeDialog([] { return new LineFiltersDialog({{"x", true}}, nullptr); });
        QTest::newRow("line filter") << MakeDialog([] { return new LineFilterEditDialog("x", nullptr); });
        QTest::newRow("products") << MakeDialog([] { return new frmProducts; });
        QTest::newRow("print options") << MakeDialog([] {
            static const NoRows rows;
            return new frmPrintOptions({&rows, "a"}, {&rows, "b"}, nullptr, [] { return PrinterChoices{}; });
        });
    }

    void dialogsAreNamedAndDescribed()
    {
        QFETCH(MakeDialog, make);
        const std::unique_ptr<QDialog> dialog(make());
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(dialog.get());
        QCOMPARE(read->text(QAccessible::Name), dialog->windowTitle());
        QVERIFY(!read->text(QAccessible::Description).isEmpty());
        for (QWidget* control : dialog->findChildren<QWidget*>())
            if (control->focusPolicy() & Qt::TabFocus && !control->isHidden())
                QVERIFY2(!QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty(),
                         qPrintable(control->objectName()));
    }
};

QTEST_MAIN(tst_Accessibility)
#include "moc_WindowFixture.cpp"
#include "tst_Accessibility.moc"
