// Bookmarks and Find through the window's commands, keys and buttons.
#include "WindowFixture.h"

#include <QAction>
#include <QToolButton>

using namespace modVantrel;
using namespace ShownComparison;

class tst_BookmarksFind : public QObject {
    Q_OBJECT

    WindowFixture w;
    frmFileDiffs* m_form = nullptr;

    void SelectRow(int row)
    {
        m_form->grdFileOne->SetRow(row);
        m_form->grdFileTwo->SetRow(row);
        m_form->RefreshSelection();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        m_form->activateWindow();
        m_form->grdFileOne->setFocus();
        QTest::keyClick(m_form, key, modifiers);
    }
    qint64 PictureKey(int row) const { return m_form->grdFileOne->CellPicture(row).cacheKey(); }
    // Next, Previous and Clear All share one enabled state.
    bool BookmarkNavigationEnabled() const
    {
        const bool next = m_form->mnuFileNextBookmark->isEnabled() && m_form->ToolbarButton(13)->isEnabled();
        const bool previous = m_form->mnuFilePreviousBookmark->isEnabled() && m_form->ToolbarButton(14)->isEnabled();
        const bool clear = m_form->mnuFileClearAllBookmarks->isEnabled() && m_form->ToolbarButton(15)->isEnabled();
        return next && previous && clear;
    }

private slots:
    void init()
    {
        w.setUp();
        m_form = &w.load(true);
        Show(*m_form);
    }
    void cleanup() { w.tearDown(); }

    void bookmarks_data()
    {
        QTest::addColumn<QString>("toggle");
        QTest::newRow("Ctrl+F2") << "key";
        QTest::newRow("toolbar button 12") << "button";
        QTest::newRow("double click") << "double click";
    }

    void bookmarks()
    {
        QFETCH(QString, toggle);
        VGrid* one = m_form->grdFileOne;
        const auto toggleRow = [&](int row) {
            one->SetTopRow(row);
            SelectRow(row);
            if (toggle == QLatin1String("key"))
                Key(Qt::Key_F2, Qt::ControlModifier);
            else if (toggle == QLatin1String("button"))
                QTest::mouseClick(m_form->ToolbarButton(12), Qt::LeftButton);
            else
                QTest::mouseDClick(m_form->grdFileTwo->viewport(), Qt::LeftButton, {}, QPoint(30, RowY(one, row)));
        };
        QVERIFY(!BookmarkNavigationEnabled());
        for (int row : {140, 7, 19})
            toggleRow(row);
        QCOMPARE(m_form->Model().Bookmarks(), (std::vector<std::int32_t>{7, 19, 140}));
        QVERIFY(BookmarkNavigationEnabled());
        QCOMPARE(PictureKey(7), m_form->pctBookmark.cacheKey());
        QCOMPARE(PictureKey(19), m_form->pctBookmarkArrow.cacheKey());
        // Row 8 is a filler in grid one's changed block: bookmarked like any
        // other, and toggled twice it is left with the plain arrow of its kind.
        toggleRow(8);
        QCOMPARE(PictureKey(8), m_form->pctBookmarkArrow.cacheKey());
        toggleRow(8);
        QVERIFY(!m_form->IsRowBookmarked(8));
        QCOMPARE(PictureKey(8), m_form->pctDifferArrow.cacheKey());
        QCOMPARE(m_form->Model().Bookmarks(), (std::vector<std::int32_t>{7, 19, 140}));
        // F2 and Shift+F2 from row 10 (in view); the far one scrolls into view at the top.
        one->SetTopRow(1);
        SelectRow(10);
        Key(Qt::Key_F2);
        QVERIFY(one->Row() == 19 && m_form->grdFileTwo->Row() == 19 && one->TopRow() == 1);
        Key(Qt::Key_F2);
        QVERIFY(one->Row() == 140 && one->TopRow() == std::min(140, one->Rows() - one->VisibleRowCount()));
        QCOMPARE(m_form->grdFileTwo->TopRow(), one->TopRow());
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), QStringLiteral("line 140"));
        QVERIFY(w.prompts->messages.isEmpty());
        // No wrap-around either way.
        Key(Qt::Key_F2);
        QCOMPARE(w.prompts->lastMessage().title, QStringLiteral("Next Bookmark"));
        QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("No more bookmarks"));
        QCOMPARE(one->Row(), 140);
        SelectRow(3);
        m_form->mnuFilePreviousBookmark_Click();
        QCOMPARE(w.prompts->lastMessage().title, QStringLiteral("Previous Bookmark"));
        Key(Qt::Key_F2, Qt::ShiftModifier);
        QCOMPARE(w.prompts->messages.size(), 3);
        // Clear All on a bookmarked current row: its plain arrow, no picture elsewhere.
        SelectRow(140);
        m_form->mnuFileClearAllBookmarks_Click();
        QVERIFY(m_form->Model().Bookmarks().empty() && one->Row() == 140);
        QCOMPARE(PictureKey(140), m_form->pctArrow.cacheKey());
        QVERIFY(one->CellPicture(7).isNull() && one->CellPicture(19).isNull());
        QVERIFY(!BookmarkNavigationEnabled() && m_form->mnuFileToggleBookmark->isEnabled());
    }

    void find_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("answer");  // "<cancel>" cancels the box
        QTest::addColumn<int>("found");       // 0: not found
        QTest::addColumn<QString>("message");
        QTest::newRow("below, case ignored") << 1 << "LINE 20" << 20 << "";
        QTest::newRow("only above") << 100 << "same 4" << 4 << "";
        QTest::newRow("line number") << 1 << "17.line" << 18 << "";
        QTest::newRow("only in grid two") << 1 << "tail" << 151 << "";
        QTest::newRow("not found from row 1") << 1 << "zzz" << 0 << "Search text was not found.";
        QTest::newRow("not found from below")
            << 5 << "zzz" << 0 << "Search text was not found.  Try searching from the beginning of the file.";
        QTest::newRow("cancelled") << 5 << "<cancel>" << 0 << "";
        QTest::newRow("empty text") << 5 << "" << 0 << "";
    }

    void find()
    {
        QFETCH(int, from);
        QFETCH(QString, answer);
        QFETCH(int, found);
        QFETCH(QString, message);
        // An earlier successful search: its text is proposed, F3 enabled.
        SelectRow(1);
        w.prompts->textAnswers = {QStringLiteral("line 150")};
        Key(Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(m_form->grdFileOne->Row(), 150);
        QVERIFY(m_form->mnuFileFindNext->isEnabled() && m_form->ToolbarButton(10)->isEnabled());
        SelectRow(from);
        w.prompts->textAnswers = {answer == QLatin1String("<cancel>") ? std::optional<QString>() : answer};
        QTest::mouseClick(m_form->ToolbarButton(8), Qt::LeftButton);
        const InputPrompt& asked = w.prompts->inputs.last();
        QCOMPARE(asked.title, QStringLiteral("Find"));
        QCOMPARE(asked.text, QStringLiteral("Enter search text.\r\n\r\nPress OK to begin searching from the current line."));
        QCOMPARE(asked.defaultText, QStringLiteral("line 150"));
        QCOMPARE(m_form->grdFileOne->Row(), found ? found : from);
        QCOMPARE(m_form->grdFileTwo->Row(), m_form->grdFileOne->Row());
        QCOMPARE(m_form->Model().MarkedRow(), m_form->grdFileOne->Row());
        QCOMPARE(w.prompts->messages.isEmpty() ? QString() : w.prompts->lastMessage().text, message);
        // Only a search that ran changes the repeat commands' state.
        QCOMPARE(m_form->mnuFileFindPrevious->isEnabled(), found || message.isEmpty());
        QCOMPARE(m_form->Model().SearchTexts().last(), found ? answer : QStringLiteral("line 150"));
    }

    void findNextAndPrevious()
    {
        w.prompts->textAnswers = {QStringLiteral("LINE 1")};
        SelectRow(2);
        m_form->mnuFileFind_Click();
        QCOMPARE(m_form->grdFileOne->Row(), 10);  // " 9.line 10"; rows 1..9 hold no "line 1"
        Key(Qt::Key_F3);
        QCOMPARE(m_form->grdFileOne->Row(), 11);
        Key(Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(m_form->grdFileOne->Row(), 10);
        Key(Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("Search text not found"));
        QCOMPARE(w.prompts->lastMessage().title, QStringLiteral("Find"));
        QVERIFY(m_form->mnuFileFindPrevious->isEnabled());  // a repeat leaves the state alone
        QCOMPARE(m_form->Model().SearchTexts(), QStringList{QStringLiteral("LINE 1")});
    }

    // Before any comparison and after the view was reset, the commands
    // find and bookmark nothing.
    void nothingShown()
    {
        m_form->ResetComparisonView();
        m_form->ToggleBookmark();
        QVERIFY(m_form->Model().Bookmarks().empty());
        QCOMPARE(m_form->GetNextBookmark(), frmFileDiffs::kNotFound);
        w.prompts->textAnswers = {QStringLiteral("line")};
        m_form->mnuFileFind_Click();
        QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("Search text was not found."));
        QCOMPARE(m_form->grdFileOne->Row(), 1);
    }
};

QTEST_MAIN(tst_BookmarksFind)
#include "tst_BookmarksFind.moc"
