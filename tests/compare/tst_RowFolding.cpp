// Hide Unchanged Lines: which rows are folded around the difference blocks,
// the mapping between the rows a folded grid shows and the comparison's
// rows, and the model that keeps the folds.

#include "compare/ComparisonModel.h"
#include "compare/RowFolding.h"
#include "engine/LineFile.h"

#include <QRandomGenerator>
#include <QTest>

using RowFolding::Fold;
using RowFolding::FoldedView;
using FoldList = std::vector<Fold>;
Q_DECLARE_METATYPE(FoldList)

namespace {

// How far a row is from the nearest block; INT_MAX without blocks.
int Distance(const std::vector<Alignment::DiffBlock>& blocks, int row)
{
    int nearest = std::numeric_limits<int>::max();
    for (const Alignment::DiffBlock& b : blocks)
        nearest =
            std::min(nearest, row < b.firstRow ? b.firstRow - row : std::max(0, row - (b.firstRow + b.rowCount - 1)));
    return nearest;
}

}  // namespace

class tst_RowFolding : public QObject {
    Q_OBJECT

private slots:
    // Random block lists: a row is folded exactly when it is farther than
    // the context from every block, so a run as long as the context (twice
    // the context between blocks) stays and one row longer folds one row, at
    // either end and between blocks; the view shows every other row once, in
    // order, and each fold as one row that stands for all of its rows.
    void randomBlocks()
    {
        QRandomGenerator random(29);
        for (int round = 0; round < 400; ++round) {
            const int lineRows = random.bounded(60), context = random.bounded(6);
            std::vector<Alignment::DiffBlock> blocks;
            for (int row = 1 + random.bounded(8); row <= lineRows; row += 1 + random.bounded(12)) {
                blocks.push_back({row, 1 + random.bounded(std::min(4, lineRows - row + 1))});
                row += blocks.back().rowCount;
            }
            const std::vector<Fold> folds = RowFolding::UnchangedFolds(blocks, lineRows, context);
            const FoldedView view(folds, lineRows + 1);
            int shown = 0;
            for (int row = 1; row <= lineRows + 1; ++row) {
                const Fold* fold = view.FoldOf(row);
                const bool folded = row <= lineRows && Distance(blocks, row) > context;
                QVERIFY2(!!fold == folded, qPrintable(QStringLiteral("round %1 row %2").arg(round).arg(row)));
                if (fold && row != fold->firstRow) {
                    QCOMPARE(view.ShownOfRow(row), view.ShownOfRow(fold->firstRow));
                    continue;
                }
                QCOMPARE(view.ShownOfRow(row), ++shown);
                QCOMPARE(view.RowOfShown(shown), row);
            }
            QCOMPARE(view.ShownRowCount(), shown);
            if (!folds.empty()) {
                const Fold opened = folds[static_cast<std::size_t>(random.bounded(static_cast<int>(folds.size())))];
                const auto rest = view.Opened(opened.EndRow() - 1);
                QVERIFY(rest && !rest->FoldOf(opened.firstRow));
                QCOMPARE(rest->Folds().size(), folds.size() - 1);
                QCOMPARE(rest->ShownRowCount(), view.ShownRowCount() + opened.rowCount - 1);
            }
        }
    }

    // Folds of a view of ten rows.
    void foldedViewRefusesBadFolds_data()
    {
        QTest::addColumn<FoldList>("folds");
        QTest::addColumn<bool>("taken");
        QTest::newRow("last row") << FoldList{{5, 6}} << true;
        QTest::newRow("past the last row") << FoldList{{5, 7}} << false;
        QTest::newRow("touching") << FoldList{{1, 2}, {3, 1}} << true;
        QTest::newRow("overlapping") << FoldList{{1, 3}, {3, 1}} << false;
        QTest::newRow("empty fold") << FoldList{{2, 0}} << false;
    }

    void foldedViewRefusesBadFolds()
    {
        QFETCH(FoldList, folds);
        QFETCH(bool, taken);
        if (taken)
            QCOMPARE(FoldedView(folds, 10).Folds(), folds);
        else
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, (void)FoldedView(folds, 10));
    }

    void foldText_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("text");
        QTest::newRow("one") << 1 << QStringLiteral("\u22EF 1 unchanged line \u22EF");
        QTest::newRow("999") << 999 << QStringLiteral("\u22EF 999 unchanged lines \u22EF");
        QTest::newRow("1000") << 1000 << QStringLiteral("\u22EF 1,000 unchanged lines \u22EF");
        QTest::newRow("millions") << 1234567 << QStringLiteral("\u22EF 1,234,567 unchanged lines \u22EF");
    }

    void foldText()
    {
        QFETCH(int, rows);
        QTEST(RowFolding::FoldText(rows), "text");
    }

    // The model folds each comparison it shows as long as folding is on;
    // an opened fold stays open until folding is set again.
    void modelKeepsFolding()
    {
        std::string one;
        for (int i = 1; i <= 20; ++i)
            one += std::to_string(i) + '\n';
        std::string two = one;
        two.replace(two.find("\n10\n") + 1, 2, "ten");
        ComparisonModel model;
        const auto show = [&] { model.Show(LineFile::FromBytes(one), LineFile::FromBytes(two), {{9, 1, 9, 1}}); };
        const auto folds = [&] {  // "first+count" per fold, comma separated
            if (!model.Folds())
                return QStringLiteral("none");
            QStringList items;
            for (const Fold& fold : model.Folds()->Folds())
                items << QStringLiteral("%1+%2").arg(fold.firstRow).arg(fold.rowCount);
            return items.join(u',');
        };
        model.SetFolding(2);
        show();
        // The trailing row, which shows no line, is left out of the last fold.
        QCOMPARE(folds(), QStringLiteral("1+7,13+8"));
        QVERIFY(model.Unfold(20) && !model.Unfold(20));
        QCOMPARE(folds(), QStringLiteral("1+7"));
        model.SetFolding(2);
        QCOMPARE(folds(), QStringLiteral("1+7,13+8"));
        model.SetFolding(0);
        model.Clear();
        QCOMPARE(folds(), QStringLiteral("none"));
        show();
        QCOMPARE(folds(), QStringLiteral("1+9,11+10"));
    }
};

QTEST_GUILESS_MAIN(tst_RowFolding)
#include "tst_RowFolding.moc"
