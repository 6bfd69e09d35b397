// The result grid: row model, cells, scrolling, mouse signals and painting.

#include "mainwindow/VGrid.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

// Forms "L<line>" texts and counts how often it is asked.
class CountingSource final : public Grid::RowTextSource {
public:
    QString RowText(std::int32_t line) const override
    {
        ++asked;
        return QStringLiteral("L%1").arg(line);
    }
    mutable int asked = 0;
};

Alignment::PaneRows MakeRows(std::size_t count)
{
    Alignment::PaneRows rows;
    rows.color.assign(count, Alignment::kDefaultColor);
    for (std::size_t i = 0; i < count; ++i)
        rows.line.push_back(static_cast<std::int32_t>(i));
    return rows;
}

// A shown grid of a fixed size with rows showing lines 0 to rows - 1.
struct ShownGrid {
    VGrid grid;
    std::shared_ptr<CountingSource> source = std::make_shared<CountingSource>();
    explicit ShownGrid(std::size_t rows)
    {
        grid.resize(300, 200);
        grid.SetColWidth(300);
        grid.show();
        grid.SetRowsFrom(MakeRows(rows), source);
    }
    QPoint centre(int row) const
    {
        const int h = grid.RowHeight();
        return {40, row == 0 ? h / 2 : h + (row - grid.TopRow()) * h + h / 2};
    }
    QImage paint() const
    {
        QImage image(grid.viewport()->size(), QImage::Format_RGB32);
        grid.viewport()->render(&image);
        return image;
    }
};

}  // namespace

class tst_VGrid : public QObject {
    Q_OBJECT

private slots:
    void millionRowsTakenAtOnceTextFormedOnDemand()
    {
        Alignment::PaneRows rows = MakeRows(1'000'000);
        rows.line[10] = Alignment::kNoLine;  // a filler row
        rows.color[500'000] = Alignment::kOrphanColor;
        ShownGrid shown(0);
        VGrid& grid = shown.grid;
        grid.SetRowsFrom(std::move(rows), shown.source);
        QCOMPARE(grid.Rows(), 1'000'001);
        QCOMPARE(shown.source->asked, 0);
        QCOMPARE(grid.TextMatrix(1'000'000), QStringLiteral("L999999"));
        QCOMPARE(grid.TextMatrix(11), QString());
        QCOMPARE(grid.CellBackColor(500'001), Alignment::kOrphanColor);
        QCOMPARE(grid.CellBackColor(500'002), Grid::kNoCellColor);
        // Painting asks only for the rows on screen.
        shown.source->asked = 0;
        shown.paint();
        QVERIFY(shown.source->asked > 0 && shown.source->asked <= grid.VisibleRowCount() + 2);
        // Any row is reachable at once, the last page included.
        grid.SetTopRow(999'990);
        QVERIFY(grid.RowIsVisible(1'000'000));
        QVERIFY(!grid.RowIsVisible(1));
        QCOMPARE(grid.TopRow(), 1'000'001 - grid.VisibleRowCount());
    }

    void cellsFollowTheRows()
    {
        VGrid grid;
        QCOMPARE(grid.Rows(), 2);
        QCOMPARE(grid.Row(), 1);
        grid.SetTextMatrix(0, QStringLiteral("header"));
        grid.SetRows(6);
        for (int row = 1; row < 6; ++row) {
            grid.SetTextMatrix(row, QString::number(row));
            grid.SetCellBackColor(row, 0x10u + static_cast<std::uint32_t>(row));
        }
        const QPixmap marker(10, 8);
        grid.SetCellPicture(5, marker);
        QCOMPARE(grid.CellPicture(5).cacheKey(), marker.cacheKey());
        grid.SetRow(5);
        // Rows cut at the end lose their cells, and the current row moves up.
        grid.SetRows(3);
        QCOMPARE(grid.Row(), 2);
        grid.SetRows(6);
        QCOMPARE(grid.TextMatrix(2), QStringLiteral("2"));
        QCOMPARE(grid.CellBackColor(2), 0x12u);
        QVERIFY(grid.TextMatrix(5).isEmpty() && grid.CellPicture(5).isNull());
        QCOMPARE(grid.CellBackColor(5), Grid::kNoCellColor);
        // New rows drop the cells' own texts and pictures, not the header.
        grid.SetCellPicture(3, marker);
        grid.SetRowsFrom(MakeRows(4), std::make_shared<CountingSource>());
        QCOMPARE(grid.TextMatrix(0), QStringLiteral("header"));
        QCOMPARE(grid.TextMatrix(3), QStringLiteral("L2"));
        QVERIFY(grid.CellPicture(3).isNull());
        // A cell's own text wins; an empty one still hides the line.
        grid.SetTextMatrix(2, QStringLiteral("own"));
        QCOMPARE(grid.TextMatrix(2), QStringLiteral("own"));
        grid.SetTextMatrix(2, QString());
        QCOMPARE(grid.TextMatrix(2), QString());
        QCOMPARE(grid.TextMatrix(1), QStringLiteral("L0"));
        // Clearing keeps the row count and empties everything, the header too.
        grid.SetCellBackColor(0, 4, Alignment::kOrphanColor);
        grid.SetCellPicture(4, marker);
        grid.ClearCells();
        QCOMPARE(grid.Rows(), 5);
        for (int row = 0; row < 5; ++row) {
            QVERIFY(grid.TextMatrix(row).isEmpty() && grid.CellPicture(row).isNull());
            QCOMPARE(grid.CellBackColor(row), Grid::kNoCellColor);
        }
        // Rows outside the grid read as empty and ignore writes.
        for (int row : {-1, 5}) {
            grid.SetTextMatrix(row, QStringLiteral("x"));
            grid.SetCellBackColor(row, 0x123456);
            grid.SetCellPicture(row, marker);
            QVERIFY(grid.TextMatrix(row).isEmpty() && grid.CellPicture(row).isNull() && !grid.RowIsVisible(row));
            QCOMPARE(grid.CellBackColor(row), Grid::kNoCellColor);
        }
        grid.SetRows(0);
        QCOMPARE(grid.Rows(), 1);
    }

    void colourRanges_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QList<int>>("coloured");
        QTest::newRow("one row") << 3 << 3 << QList<int>{3};
        QTest::newRow("block") << 2 << 4 << QList<int>{2, 3, 4};
        QTest::newRow("clipped at the end") << 4 << 99 << QList<int>{4, 5};
        QTest::newRow("with the header") << 0 << 1 << QList<int>{0, 1};
        QTest::newRow("empty range") << 4 << 3 << QList<int>{};
    }

    void colourRanges()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QList<int>, coloured);
        VGrid grid;
        grid.SetRows(6);
        grid.SetCellBackColor(first, last, Alignment::kChangedColor);
        for (int row = 0; row < 6; ++row)
            QCOMPARE(grid.CellBackColor(row), coloured.contains(row) ? Alignment::kChangedColor : Grid::kNoCellColor);
    }

    void topRowAndVisibility()
    {
        ShownGrid shown(200);
        VGrid& grid = shown.grid;
        QSignalSpy scroll(&grid, &VGrid::Scroll);
        grid.SetTopRow(50);
        grid.SetTopRow(50);
        QCOMPARE(grid.TopRow(), 50);
        QCOMPARE(scroll.count(), 1);
        const int full = grid.VisibleRowCount();
        QVERIFY(full > 3);
        QVERIFY(grid.RowIsVisible(0) && grid.RowIsVisible(50) && grid.RowIsVisible(50 + full - 1));
        QVERIFY(!grid.RowIsVisible(49) && !grid.RowIsVisible(50 + full + 1));
        grid.verticalScrollBar()->setValue(9);  // as the user's scroll bar does
        QCOMPARE(grid.TopRow(), 10);
        QCOMPARE(scroll.count(), 2);
        grid.SetTopRow(-5);
        QCOMPARE(grid.TopRow(), 1);
        // Fewer rows clamp the top row, and that too is a scroll.
        grid.SetTopRow(150);
        const qsizetype before = scroll.count();
        grid.SetRows(20);
        QCOMPARE(grid.TopRow(), std::max(1, 20 - full));
        QCOMPARE(scroll.count(), before + 1);
    }

    void mouseSelectsAndSignals()
    {
        ShownGrid shown(30);
        VGrid& grid = shown.grid;
        QSignalSpy click(&grid, &VGrid::Click), down(&grid, &VGrid::MouseDown), dbl(&grid, &VGrid::DblClick);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, shown.centre(4));
        // A right button reports its press but neither selects nor clicks;
        // the header row is never the current row.
        QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, shown.centre(7));
        QCOMPARE(grid.MouseRow(), 7);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, shown.centre(0));
        QCOMPARE(grid.MouseRow(), 0);
        QCOMPARE(grid.Row(), 4);
        QCOMPARE(click.count(), 2);
        QCOMPARE(down.count(), 3);
        QCOMPARE(down.at(1).at(0).value<Qt::MouseButton>(), Qt::RightButton);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, shown.centre(6));
        QCOMPARE(dbl.count(), 1);
        QCOMPARE(grid.Row(), 6);
        // Below the last row the pointer is over no row.
        grid.SetRows(3);
        QSignalSpy move(&grid, &VGrid::MouseMove);
        QMouseEvent below(QEvent::MouseMove, QPointF(40, grid.viewport()->height() - 2), QPointF(), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(grid.viewport(), &below);
        QCOMPARE(grid.MouseRow(), -1);
        QCOMPARE(move.count(), 1);
    }

    void keyboardMovesRowAndKeepsItVisible()
    {
        ShownGrid shown(100);
        VGrid& grid = shown.grid;
        QTest::keyClick(&grid, Qt::Key_End);
        QCOMPARE(grid.Row(), 100);
        QVERIFY(grid.RowIsVisible(100));
        QTest::keyClick(&grid, Qt::Key_Up);
        QCOMPARE(grid.Row(), 99);
        QTest::keyClick(&grid, Qt::Key_Home);
        QTest::keyClick(&grid, Qt::Key_Up);
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(grid.TopRow(), 1);
    }

    void paintsColoursPicturesTextAndLines()
    {
        ShownGrid shown(10);
        VGrid& grid = shown.grid;
        grid.SetCellBackColor(2, Alignment::kOrphanColor);
        grid.SetCellBackColor(3, Alignment::kChangedColor);
        QPixmap marker(10, 8);
        marker.fill(QColor(255, 0, 0));
        grid.SetCellPicture(4, marker);
        const int h = grid.RowHeight();
        const int x = grid.ColWidth() - 40;  // right of any text
        const QColor base = grid.palette().color(QPalette::Base);
        const auto darkInRowOne = [&](const QImage& image) {
            int dark = 0;
            for (int y = h + 1; y < 2 * h - 1; ++y)
                for (int px = 0; px < 60; ++px)
                    dark += qGray(image.pixel(px, y)) < 128 ? 1 : 0;
            return dark;
        };
        QImage image = shown.paint();
        QCOMPARE(image.pixelColor(x, shown.centre(2).y()), QColor(255, 225, 196));
        QCOMPARE(image.pixelColor(x, shown.centre(3).y()), QColor(221, 221, 255));
        QCOMPARE(image.pixelColor(x, shown.centre(5).y()), base);
        QCOMPARE(image.pixelColor(4, shown.centre(4).y()), QColor(255, 0, 0));
        QVERIFY(darkInRowOne(image) > 0);
        QVERIFY(image.pixelColor(150, h * 3 - 1) != base);  // the line below row 2
        grid.SetTextMatrix(1, QString());
        grid.SetGridLines(false);
        image = shown.paint();
        QCOMPARE(darkInRowOne(image), 0);
        QCOMPARE(image.pixelColor(150, h * 6 - 1), base);  // below the uncoloured row 5
    }
};

QTEST_MAIN(tst_VGrid)
#include "tst_VGrid.moc"
