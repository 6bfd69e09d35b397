// The difference bar and the difference navigation commands, through the
// main window's real widgets.

#include "WindowFixture.h"

#include <QAction>

using namespace modVantrel;
using namespace ShownComparison;

namespace {

QColor PixelAt(QWidget* widget, int x, int y)
{
    return widget->grab().toImage().pixelColor(x, y);
}

QColor FromValue(std::uint32_t value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

}  // namespace

class tst_DiffBarNavigation : public QObject {
    Q_OBJECT

    WindowFixture w;
    frmFileDiffs* m_form = nullptr;

    void SelectRow(int row)
    {
        m_form->grdFileOne->SetRow(row);
        m_form->grdFileTwo->SetRow(row);
        m_form->RefreshSelection();
    }

    // A navigation command by its menu handler, toolbar button or key.
    void RunCommand(const QString& command)
    {
        if (command == QLatin1String("next"))
            m_form->mnuFileShowNextDiff_Click();
        else if (command == QLatin1String("previous"))
            m_form->mnuFileShowPreviousDiff_Click();
        else if (command == QLatin1String("first"))
            m_form->mnuFileShowFirstDiff_Click();
        else if (command == QLatin1String("last"))
            m_form->mnuFileShowLastDiff_Click();
        else if (command == QLatin1String("first, not redrawing")) {  // as Compare ends
            m_form->grdFileOne->SetRedraw(false);
            m_form->grdFileTwo->SetRedraw(false);
            m_form->mnuFileShowFirstDiff_Click();
        }
        else if (command.startsWith(QLatin1String("button ")))
            m_form->Toolbar1_ButtonClick(command.mid(7).toInt());
        else if (command == QLatin1String("bar"))
            QTest::mouseClick(m_form->pctDiffsBar, Qt::LeftButton, {}, QPoint(5, 100));
        else {
            m_form->activateWindow();
            m_form->grdFileOne->setFocus();
            QTest::keyClick(m_form, Qt::Key_F7, command == QLatin1String("F7") ? Qt::NoModifier : Qt::ShiftModifier);
        }
    }

private slots:
    void init()
    {
        w.setUp();
        m_form = &w.load(true);
        QCOMPARE(m_form->pctDiffsBar->height(), 191);
    }
    void cleanup() { w.tearDown(); }

    void withoutAComparison_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title");  // empty: no message
        QTest::addColumn<QString>("text");
        const QString noMore = QStringLiteral("No more differences");
        QTest::newRow("bar click") << "bar" << "Navigate Differences"
                                   << "This feature only works when two files have been compared and there are "
                                      "differences.";
        QTest::newRow("next") << "next" << "Next Difference" << noMore;
        QTest::newRow("previous") << "previous" << "Previous Difference" << noMore;
        QTest::newRow("first") << "first" << "" << "";
        QTest::newRow("last") << "last" << "" << "";
    }

    void withoutAComparison()
    {
        QFETCH(QString, command);
        QFETCH(QString, title);
        QFETCH(QString, text);
        RunCommand(command);
        QCOMPARE(w.prompts->messages.size(), title.isEmpty() ? 0 : 1);
        if (!title.isEmpty()) {
            QCOMPARE(w.prompts->lastMessage().title, title);
            QCOMPARE(w.prompts->lastMessage().text, text);
            QCOMPARE(w.prompts->lastMessage().icon, PromptIcon::Information);
            QCOMPARE(w.prompts->lastMessage().buttons, PromptButtons::Ok);
        }
        QCOMPARE(m_form->grdFileOne->Row(), 1);
        QVERIFY(!m_form->pctContainer->MarkY());
        QCOMPARE(m_form->MarkedRow, 0);
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), frmFileDiffs::kDetailPaneHint);
    }

    void barPaintsEveryBlock()
    {
        Show(*m_form);
        // N = 152, H = 191: tops [191 (row - 1) / 152], heights [S count].
        const QColor window = m_form->palette().color(QPalette::Base);
        const QColor changed = FromValue(Alignment::kChangedColor);
        const QColor orphan = FromValue(Alignment::kOrphanColor);
        const std::pair<int, QColor> pixels[] = {{0, window},  {1, changed}, {2, window},   {3, orphan},
                                                 {4, window},  {5, changed}, {9, changed},  {10, window},
                                                 {187, window}, {188, orphan}, {189, window}};
        for (const auto& [y, colour] : pixels)
            QCOMPARE(PixelAt(m_form->pctDiffsBar, m_form->pctDiffsBar->width() - 1, y), colour);
    }

    void barOfOneHundredRows()
    {
        Pane one;
        Pane two;
        for (int row = 1; row <= 99; ++row) {
            const bool orphan = row == 51 || row == 52;
            one.add(QStringLiteral("line %1").arg(row), orphan ? Alignment::kOrphanColor : Alignment::kDefaultColor);
            orphan ? two.filler() : two.add(QStringLiteral("line %1").arg(row));
        }
        one.filler();
        two.filler();
        Fill(*m_form, std::move(one), std::move(two), {QStringLiteral("51-2-12902911")});
        QVERIFY(m_form->DrawDiffBars());
        QCOMPARE(m_form->pctDiffsBar->Bands().at(0).top, 96);
        QCOMPARE(m_form->pctDiffsBar->Bands().at(0).height, 4);
        m_form->mnuFileShowFirstDiff_Click();
        QCOMPARE(m_form->grdFileOne->Row(), 51);
        QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(95));
        // The mark is red on the frame's strip beside the bar.
        QCOMPARE(PixelAt(m_form->pctContainer, 1, 95), QColor(255, 0, 0));
        QCOMPARE(PixelAt(m_form->pctContainer, 1, 100), m_form->pctContainer->palette().color(QPalette::Window));
    }

    void barClickSelectsTheRowThere_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("textTwo");
        QTest::addColumn<int>("rowMarkY");
        // Row [y / S] with S = single(191 / 152) = 1.2565789, row 1 for 0;
        // the row's own mark lies at [S x (row - 1)].
        QTest::newRow("very top") << 0 << 1 << "same 1" << 0;
        QTest::newRow("y 1") << 1 << 1 << "same 1" << 0;
        QTest::newRow("y 3") << 3 << 2 << "abd" << 1;
        QTest::newRow("y 100") << 100 << 80 << "line 80" << 99;
        QTest::newRow("y 190") << 190 << 151 << "tail" << 188;
    }

    void barClickSelectsTheRowThere()
    {
        QFETCH(int, y);
        QFETCH(int, row);
        QFETCH(int, rowMarkY);
        Show(*m_form);
        SelectRow(4);
        QTest::mouseClick(m_form->pctDiffsBar, Qt::LeftButton, {}, QPoint(5, y));
        QVERIFY(w.prompts->messages.isEmpty());
        QCOMPARE(m_form->grdFileOne->Row(), row);
        QCOMPARE(m_form->grdFileTwo->Row(), row);
        QVERIFY(m_form->grdFileOne->RowIsVisible(row));
        QCOMPARE(m_form->grdFileTwo->TopRow(), m_form->grdFileOne->TopRow());
        QCOMPARE(m_form->MarkedRow, row);
        QVERIFY(m_form->grdFileOne->CellPicture(4).isNull());
        QTEST(m_form->rtfLineDiff[1]->toPlainText(), "textTwo");
        // The mark stays where the click was, not at the row's height...
        QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(y));
        // ...while a click in a grid puts it at the row's computed height.
        QTest::mouseClick(m_form->grdFileTwo->viewport(), Qt::LeftButton, {},
                          QPoint(30, RowY(m_form->grdFileTwo, row)));
        QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(rowMarkY));
    }

    void navigation_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("top");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("to");  // 0: the selection stays, with a message
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("next from row 1") << 1 << 1 << "next" << 2 << "" << false;
        QTest::newRow("previous from row 1") << 1 << 1 << "previous" << 0 << "Previous Difference" << false;
        QTest::newRow("previous on first block") << 2 << 2 << "previous" << 0 << "Previous Difference" << false;
        QTest::newRow("next on first block") << 2 << 2 << "next" << 3 << "" << false;
        QTest::newRow("previous between blocks") << 4 << 4 << "previous" << 3 << "" << true;
        QTest::newRow("next between blocks") << 4 << 4 << "next" << 5 << "" << false;
        QTest::newRow("previous inside a block") << 7 << 7 << "previous" << 5 << "" << true;
        QTest::newRow("next inside a block") << 7 << 1 << "next" << 151 << "" << true;
        QTest::newRow("next on last block") << 151 << 145 << "next" << 0 << "Next Difference" << false;
        QTest::newRow("previous on last block") << 151 << 140 << "previous" << 5 << "" << true;
        QTest::newRow("next after last block") << 152 << 145 << "next" << 0 << "Next Difference" << false;
        QTest::newRow("previous after last block") << 152 << 145 << "previous" << 151 << "" << false;
        QTest::newRow("first, in view") << 4 << 1 << "first" << 2 << "" << false;
        QTest::newRow("first, out of view") << 130 << 120 << "first" << 2 << "" << true;
        QTest::newRow("last") << 1 << 1 << "last" << 151 << "" << true;
        QTest::newRow("first, not redrawing") << 4 << 1 << "first, not redrawing" << 2 << "" << false;
        QTest::newRow("button 6") << 4 << 4 << "button 6" << 5 << "" << false;
        QTest::newRow("button 5") << 4 << 4 << "button 5" << 3 << "" << true;
        QTest::newRow("F7") << 4 << 4 << "F7" << 5 << "" << false;
        QTest::newRow("Shift+F7") << 4 << 4 << "Shift+F7" << 3 << "" << true;
    }

    void navigation()
    {
        QFETCH(int, from);
        QFETCH(int, top);
        QFETCH(QString, command);
        QFETCH(int, to);
        QFETCH(QString, title);
        QFETCH(bool, scrolls);
        Show(*m_form);
        VGrid* one = m_form->grdFileOne;
        one->SetTopRow(top);
        SelectRow(from);
        const int before = one->TopRow();
        RunCommand(command);
        const int expected = to == 0 ? from : to;
        QCOMPARE(one->Row(), expected);
        QCOMPARE(m_form->grdFileTwo->Row(), expected);
        QCOMPARE(m_form->MarkedRow, expected);
        QVERIFY(one->RowIsVisible(expected));
        QVERIFY(!one->CellPicture(expected).isNull());
        QCOMPARE(m_form->rtfLineDiff[1]->toPlainText(), m_form->grdFileTwo->TextMatrix(expected).section(u'.', 1));
        // Scrolled only when out of view, to show the row first as far as
        // the grid can go.
        QCOMPARE(one->TopRow() != before, scrolls);
        if (scrolls)
            QCOMPARE(one->TopRow(), std::min(expected, one->Rows() - one->VisibleRowCount()));
        QCOMPARE(m_form->grdFileTwo->TopRow(), one->TopRow());
        QVERIFY(!m_form->HourglassShown());
        QCOMPARE(w.prompts->messages.size(), to == 0 ? 1 : 0);
        if (to == 0) {
            QCOMPARE(w.prompts->lastMessage().title, title);
            QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("No more differences"));
        }
    }

    void busyWindowRefusesNextAndPrevious()
    {
        Show(*m_form);
        SelectRow(4);
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        QCOMPARE(m_form->GetNextDiff(), -999);
        QCOMPARE(m_form->GetPreviousDiff(), -999);
        RunCommand(QStringLiteral("next"));
        RunCommand(QStringLiteral("previous"));
        QGuiApplication::restoreOverrideCursor();
        QCOMPARE(m_form->grdFileOne->Row(), 4);
        QVERIFY(w.prompts->messages.isEmpty());
    }

    void nextTellsNothingWhileHidden()
    {
        Show(*m_form);
        SelectRow(151);
        m_form->hide();
        m_form->mnuFileShowNextDiff_Click();
        QVERIFY(w.prompts->messages.isEmpty());
        m_form->mnuFileShowPreviousDiff_Click();
        QCOMPARE(m_form->grdFileOne->Row(), 5);
    }
};

QTEST_MAIN(tst_DiffBarNavigation)
#include "tst_DiffBarNavigation.moc"
