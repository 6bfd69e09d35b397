// The difference bar and the difference navigation commands, through the
// main window's real widgets.

#include "ShownComparison.h"

#include "app/CommandLine.h"
#include "app/Globals.h"
#include "engine/cDiffEngine.h"
#include "support/ScriptedPrompts.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

using namespace modVantrel;

namespace {

const QString kNavigateText =
    QStringLiteral("This feature only works when two files have been compared and there are differences.");

QColor PixelAt(QWidget* widget, int x, int y)
{
    return widget->grab().toImage().pixelColor(x, y);
}

QColor FromValue(std::uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

}  // namespace

class tst_DiffBarNavigation : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<frmFileDiffs> m_form;

    void SelectRow(int row)
    {
        m_form->grdFileOne->SetRow(row);
        m_form->grdFileTwo->SetRow(row);
        m_form->RefreshSelection();
    }

    void RunCommand(const QString& command)
    {
        if (command == QLatin1String("next"))
            m_form->mnuFileShowNextDiff_Click();
        else if (command == QLatin1String("previous"))
            m_form->mnuFileShowPreviousDiff_Click();
        else if (command == QLatin1String("first"))
            m_form->mnuFileShowFirstDiff_Click();
        else
            m_form->mnuFileShowLastDiff_Click();
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        gAppFolder = m_folder->path() + QLatin1Char('/');
        gOptions = std::make_unique<cViewFileDiffsOptions>();
        gDiffEngine = std::make_unique<cDiffEngine>();
        gArguments.clear();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_form = std::make_unique<frmFileDiffs>();
        m_form->Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QCOMPARE(m_form->pctDiffsBar->height(), 191);
    }

    void cleanup()
    {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        m_form->hide();
        m_form.reset();
        m_prompts.reset();
        gOptions.reset();
        gDiffEngine.reset();
    }

    void barClickBeforeAComparison()
    {
        QTest::mouseClick(m_form->pctDiffsBar, Qt::LeftButton, {}, QPoint(5, 100));
        QCOMPARE(m_prompts->messages.size(), 1);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("Navigate Differences"));
        QCOMPARE(m_prompts->lastMessage().text, kNavigateText);
        QCOMPARE(m_prompts->lastMessage().icon, PromptIcon::Information);
        QCOMPARE(m_prompts->lastMessage().buttons, PromptButtons::Ok);
        QCOMPARE(m_form->grdFileOne->Row(), 1);
        QVERIFY(!m_form->pctContainer->MarkY());
        QCOMPARE(m_form->MarkedRow, 0);
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), frmFileDiffs::kDetailPaneHint);
    }

    void barPaintsEveryBlock()
    {
        ShownComparison::Show(*m_form);
        // N = 152, H = 191: tops [191 (row - 1) / 152], heights [S count].
        const std::vector<std::array<int, 3>> expected = {
            {1, 1, int(Alignment::kChangedColor)}, {3, 1, int(Alignment::kOrphanColor)},
            {5, 5, int(Alignment::kChangedColor)}, {188, 1, int(Alignment::kOrphanColor)}};
        const auto& bands = m_form->pctDiffsBar->Bands();
        QCOMPARE(bands.size(), expected.size());
        for (std::size_t i = 0; i < bands.size(); ++i) {
            QCOMPARE(bands[i].top, expected[i][0]);
            QCOMPARE(bands[i].height, expected[i][1]);
            QCOMPARE(bands[i].color, std::uint32_t(expected[i][2]));
        }
        const QColor window = m_form->palette().color(QPalette::Base);
        QCOMPARE(m_form->pctDiffsBar->BackColor(), window);
        const std::pair<int, QColor> pixels[] = {
            {0, window}, {1, FromValue(Alignment::kChangedColor)}, {2, window}, {3, FromValue(Alignment::kOrphanColor)},
            {4, window}, {5, FromValue(Alignment::kChangedColor)}, {9, FromValue(Alignment::kChangedColor)},
            {10, window}, {187, window}, {188, FromValue(Alignment::kOrphanColor)}, {189, window}};
        for (const auto& [y, colour] : pixels)
            QCOMPARE(PixelAt(m_form->pctDiffsBar, m_form->pctDiffsBar->width() - 1, y), colour);
        QCOMPARE(m_form->pctDiffsBar->cursor().shape(), Qt::BitmapCursor);
    }

    void barOfOneHundredRows()
    {
        ShownComparison::Pane one;
        ShownComparison::Pane two;
        for (int row = 1; row <= 99; ++row) {
            const std::uint32_t colour = row == 51 || row == 52 ? Alignment::kOrphanColor : Alignment::kDefaultColor;
            one.add(QStringLiteral("line %1").arg(row), colour);
            if (colour == Alignment::kOrphanColor)
                two.filler(Alignment::kDefaultColor);
            else
                two.add(QStringLiteral("line %1").arg(row), colour);
        }
        one.filler(Alignment::kDefaultColor);
        two.filler(Alignment::kDefaultColor);
        ShownComparison::Fill(*m_form, std::move(one), std::move(two), {QStringLiteral("51-2-12902911")});
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
        QFETCH(QString, textTwo);
        QFETCH(int, rowMarkY);
        ShownComparison::Show(*m_form);
        SelectRow(4);
        QTest::mouseClick(m_form->pctDiffsBar, Qt::LeftButton, {}, QPoint(5, y));
        QVERIFY(m_prompts->messages.isEmpty());
        QCOMPARE(m_form->grdFileOne->Row(), row);
        QCOMPARE(m_form->grdFileTwo->Row(), row);
        QVERIFY(m_form->grdFileOne->RowIsVisible(row));
        QCOMPARE(m_form->grdFileTwo->TopRow(), m_form->grdFileOne->TopRow());
        QCOMPARE(m_form->MarkedRow, row);
        QVERIFY(m_form->grdFileOne->CellPicture(4).isNull());
        QCOMPARE(m_form->rtfLineDiff[1]->toPlainText(), textTwo);
        // The mark stays where the click was, not at the row's height.
        QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(y));
        // A click in a grid moves it to the row's computed height.
        QTest::mouseClick(m_form->grdFileTwo->viewport(), Qt::LeftButton, {},
                          QPoint(30, ShownComparison::RowY(m_form->grdFileTwo, row)));
        QCOMPARE(m_form->grdFileOne->Row(), row);
        QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(rowMarkY));
    }

    void navigation_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("to");  // 0: the selection stays, with a message
        QTest::addColumn<QString>("title");
        QTest::newRow("next from row 1") << 1 << "next" << 2 << "";
        QTest::newRow("previous from row 1") << 1 << "previous" << 0 << "Previous Difference";
        QTest::newRow("previous on first block") << 2 << "previous" << 0 << "Previous Difference";
        QTest::newRow("next on first block") << 2 << "next" << 3 << "";
        QTest::newRow("previous between blocks") << 4 << "previous" << 3 << "";
        QTest::newRow("next between blocks") << 4 << "next" << 5 << "";
        QTest::newRow("previous inside a block") << 7 << "previous" << 5 << "";
        QTest::newRow("next inside a block") << 7 << "next" << 151 << "";
        QTest::newRow("next on last block") << 151 << "next" << 0 << "Next Difference";
        QTest::newRow("previous on last block") << 151 << "previous" << 5 << "";
        QTest::newRow("next after last block") << 152 << "next" << 0 << "Next Difference";
        QTest::newRow("previous after last block") << 152 << "previous" << 151 << "";
        QTest::newRow("first") << 100 << "first" << 2 << "";
        QTest::newRow("last") << 1 << "last" << 151 << "";
    }

    void navigation()
    {
        QFETCH(int, from);
        QFETCH(QString, command);
        QFETCH(int, to);
        QFETCH(QString, title);
        ShownComparison::Show(*m_form);
        m_form->grdFileOne->SetTopRow(from);
        SelectRow(from);
        RunCommand(command);
        const int expected = to == 0 ? from : to;
        QCOMPARE(m_form->grdFileOne->Row(), expected);
        QCOMPARE(m_form->grdFileTwo->Row(), expected);
        QCOMPARE(m_form->MarkedRow, expected);
        QVERIFY(m_form->grdFileOne->RowIsVisible(expected));
        QCOMPARE(m_form->grdFileTwo->TopRow(), m_form->grdFileOne->TopRow());
        QVERIFY(!m_form->HourglassShown());
        if (to == 0) {
            QCOMPARE(m_prompts->messages.size(), 1);
            QCOMPARE(m_prompts->lastMessage().title, title);
            QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("No more differences"));
            QCOMPARE(m_prompts->lastMessage().icon, PromptIcon::Information);
        } else {
            QVERIFY(m_prompts->messages.isEmpty());
        }
    }

    void scrollsOnlyWhenOutOfView_data()
    {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("next, in view") << 1 << 1 << "next" << false;
        QTest::newRow("first, in view") << 1 << 4 << "first" << false;
        QTest::newRow("first, out of view") << 120 << 130 << "first" << true;
        QTest::newRow("last, out of view") << 1 << 1 << "last" << true;
        QTest::newRow("previous, out of view") << 140 << 151 << "previous" << true;
        QTest::newRow("next, out of view") << 1 << 7 << "next" << true;
    }

    void scrollsOnlyWhenOutOfView()
    {
        QFETCH(int, top);
        QFETCH(int, from);
        QFETCH(QString, command);
        QFETCH(bool, scrolls);
        ShownComparison::Show(*m_form);
        m_form->grdFileOne->SetTopRow(top);
        SelectRow(from);
        const int before = m_form->grdFileOne->TopRow();
        RunCommand(command);
        const int row = m_form->grdFileOne->Row();
        QVERIFY(row != from);
        QCOMPARE(m_form->grdFileOne->TopRow() != before, scrolls);
        // Scrolled to make the row the first one shown, as far as it can go.
        if (scrolls)
            QCOMPARE(m_form->grdFileOne->TopRow(), std::min(row, m_form->grdFileOne->Rows()
                                                                     - m_form->grdFileOne->VisibleRowCount()));
        QCOMPARE(m_form->grdFileTwo->TopRow(), m_form->grdFileOne->TopRow());
    }

    void withoutAComparison_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title");
        QTest::newRow("next") << "next" << "Next Difference";
        QTest::newRow("previous") << "previous" << "Previous Difference";
        QTest::newRow("first") << "first" << "";
        QTest::newRow("last") << "last" << "";
    }

    void withoutAComparison()
    {
        QFETCH(QString, command);
        QFETCH(QString, title);
        RunCommand(command);
        QCOMPARE(m_prompts->messages.size(), title.isEmpty() ? 0 : 1);
        if (!title.isEmpty())
            QCOMPARE(m_prompts->lastMessage().title, title);
        QCOMPARE(m_form->MarkedRow, 0);
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), frmFileDiffs::kDetailPaneHint);
    }

    void busyWindowRefusesNextAndPrevious_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("next") << "next";
        QTest::newRow("previous") << "previous";
    }

    void busyWindowRefusesNextAndPrevious()
    {
        QFETCH(QString, command);
        ShownComparison::Show(*m_form);
        SelectRow(4);
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        QCOMPARE(m_form->GetNextDiff(), -999);
        QCOMPARE(m_form->GetPreviousDiff(), -999);
        RunCommand(command);
        QGuiApplication::restoreOverrideCursor();
        QCOMPARE(m_form->grdFileOne->Row(), 4);
        QVERIFY(m_prompts->messages.isEmpty());
        QCOMPARE(m_form->GetNextDiff(), 5);
        QCOMPARE(m_form->GetPreviousDiff(), 3);
        QVERIFY(!m_form->HourglassShown());
    }

    void nextTellsNothingWhileHidden()
    {
        ShownComparison::Show(*m_form);
        SelectRow(151);
        m_form->hide();
        m_form->mnuFileShowNextDiff_Click();
        QVERIFY(m_prompts->messages.isEmpty());
        m_form->mnuFileShowPreviousDiff_Click();
        QCOMPARE(m_form->grdFileOne->Row(), 5);
    }

    void firstDifferenceAsCompareEnds()
    {
        ShownComparison::Show(*m_form);
        m_form->grdFileOne->SetRedraw(false);
        m_form->grdFileTwo->SetRedraw(false);
        m_form->mnuFileShowFirstDiff_Click();
        QCOMPARE(m_form->grdFileOne->Row(), 2);
        QCOMPARE(m_form->grdFileTwo->Row(), 2);
        QCOMPARE(m_form->grdFileOne->CellPicture(2).cacheKey(), m_form->pctDifferArrow.cacheKey());
        QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(1));
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), QStringLiteral("abc"));
        QCOMPARE(m_form->rtfLineDiff[1]->toPlainText(), QStringLiteral("abd"));
        QCOMPARE(m_form->rtfLineDiff[1]->document()->begin().begin().fragment().text(), QStringLiteral("ab"));
    }

    void menuItemsAndButtonsReachTheCommands_data()
    {
        QTest::addColumn<int>("button");  // 0: the menu item's shortcut
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("to");
        QTest::newRow("button 6") << 6 << true << 5;
        QTest::newRow("button 5") << 5 << false << 3;
        QTest::newRow("F7") << 0 << true << 5;
        QTest::newRow("Shift+F7") << 0 << false << 3;
    }

    void menuItemsAndButtonsReachTheCommands()
    {
        QFETCH(int, button);
        QFETCH(bool, forward);
        QFETCH(int, to);
        ShownComparison::Show(*m_form);
        SelectRow(4);
        if (button != 0) {
            m_form->Toolbar1_ButtonClick(button);
        } else {
            m_form->activateWindow();
            m_form->grdFileOne->setFocus();
            QTest::keyClick(m_form.get(), Qt::Key_F7, forward ? Qt::NoModifier : Qt::ShiftModifier);
        }
        QCOMPARE(m_form->grdFileOne->Row(), to);
    }
};

QTEST_MAIN(tst_DiffBarNavigation)
#include "tst_DiffBarNavigation.moc"
