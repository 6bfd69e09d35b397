// View > Hide Unchanged Lines in the window: the folds follow the option and
// its context size, a fold row opens where it stands, and every command that
// goes to a row opens the fold hiding it.

#include "WindowFixture.h"

#include "mainwindow/DiffBarWidget.h"

namespace {

QString FoldList(const ComparisonModel& model)
{
    QStringList items;
    if (model.Folds())
        for (const RowFolding::Fold& fold : model.Folds()->Folds())
            items << QStringLiteral("%1+%2").arg(fold.firstRow).arg(fold.rowCount);
    return items.join(u',');
}

}  // namespace

class tst_Folding : public WindowTest {
    Q_OBJECT

private slots:
    void init()
    {
        WindowTest::init();
        ShownComparison::Show(w);
    }

    // The comparison of ShownComparison differs in rows 2 to 9 and 151: with
    // 3 rows of context, rows 13 to 147 fold. The toolbar button is the menu
    // item's; the option and its size outlive the window.
    void foldsFollowTheOption()
    {
        QCOMPARE(FoldList(w.Model()), QString());
        w.action("mnuViewHideUnchangedLines")->trigger();
        QCOMPARE(FoldList(w.Model()), QStringLiteral("13+135"));
        QVERIFY(w.grid(2)->FoldOf(100));
        w.action("mnuViewContext0")->trigger();
        QCOMPARE(FoldList(w.Model()), QStringLiteral("1+1,3+1,5+1,10+141"));
        QTest::mouseClick(w.button(20), Qt::LeftButton);
        QVERIFY(!w.action("mnuViewHideUnchangedLines")->isChecked());
        QCOMPARE(FoldList(w.Model()), QString());
        QVERIFY(!w.grid(1)->FoldOf(100));
        w.action("mnuViewHideUnchangedLines")->trigger();
        w.restart();
        QVERIFY(w.action("mnuViewHideUnchangedLines")->isChecked() && w.action("mnuViewContext0")->isChecked());
        ShownComparison::Show(w);
        QCOMPARE(FoldList(w.Model()), QStringLiteral("1+1,3+1,5+1,10+141"));
        QVERIFY(w.grid(1)->FoldOf(100));
    }

    // A click on a fold row shows its rows, the first of them where the fold
    // row stood; the double click it starts bookmarks nothing. Enter opens a
    // fold too; moving onto one with the keys does not.
    void foldRowOpensInPlace()
    {
        w.action("mnuViewHideUnchangedLines")->trigger();
        VGrid* two = w.grid(2);
        const int y = RowY(two, 13);
        ClickRow(two, 13);
        QTest::mouseDClick(two->viewport(), Qt::LeftButton, {}, QPoint(30, y));
        QCOMPARE((std::tuple{FoldList(w.Model()), w.Model().CurrentRow(), RowY(two, 13), w.Model().Bookmarks().size()}),
                 (std::tuple{QString(), 13, y, std::size_t{0}}));
        QCOMPARE(w.pane(1)->Text().toString(), QStringLiteral("line 13"));
        w.action("mnuViewHideUnchangedLines")->trigger();
        w.action("mnuViewHideUnchangedLines")->trigger();
        QVERIFY(w.pane(2)->Text().toString().contains(QStringLiteral("135 unchanged lines")));
        w.selectRow(12);
        QTest::keyClick(w.grid(1), Qt::Key_Down);
        QCOMPARE(w.Model().CurrentRow(), 13);
        QTest::keyClick(w.grid(1), Qt::Key_Down);
        QCOMPARE(w.Model().CurrentRow(), 148);
        QTest::keyClick(w.grid(1), Qt::Key_Up);
        QTest::keyClick(w.grid(1), Qt::Key_Return);
        QCOMPARE((std::pair{FoldList(w.Model()), w.Model().CurrentRow()}), (std::pair{QString(), 13}));
    }

    // F7 passes over folds, which never hide a difference; Find and the bar
    // go into one and open it (the bar to the row at its height). Bookmarks
    // go to their row by the move Find makes.
    void commandsOpenTheirFold_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("folds");
        QTest::newRow("F7 over a fold") << "F7" << 151 << "13+135";
        QTest::newRow("Find") << "find" << 100 << "";
        QTest::newRow("bar, halfway down") << "bar" << 0 << "";
    }

    void commandsOpenTheirFold()
    {
        QFETCH(QString, command);
        QFETCH(int, to);
        w.action("mnuViewHideUnchangedLines")->trigger();
        w.selectRow(7);
        if (command == QLatin1String("F7")) {
            w.key(Qt::Key_F7);
        } else if (command == QLatin1String("find")) {
            w.prompts->textAnswers = {QStringLiteral("line 100")};
            w.action("mnuFileFind")->trigger();
        } else {
            auto* bar = w.child<DiffBarWidget>(QStringLiteral("pctDiffsBar"));
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(5, bar->height() / 2));
            to = w.Model().CurrentRow();
            QVERIFY(to > 60 && to < 90);
        }
        QVERIFY(w.Model().CurrentRow() == to && w.grid(1)->Row() == to && w.grid(1)->RowIsVisible(to));
        QCOMPARE(w.grid(2)->TopRow(), w.grid(1)->TopRow());
        QTEST(FoldList(w.Model()), "folds");
    }
};

QTEST_MAIN(tst_Folding)
#include "tst_Folding.moc"
#include "moc_WindowFixture.cpp"
