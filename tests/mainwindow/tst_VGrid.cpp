// The result grid: row model, cells, scrolling, mouse signals and painting.

#include "mainwindow/VGrid.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

// Forms "<line>:" texts and counts how often it is asked.
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
    rows.line.resize(count);
    rows.color.assign(count, Alignment::kDefaultColor);
    for (std::size_t i = 0; i < count; ++i)
        rows.line[i] = static_cast<std::int32_t>(i);
    return rows;
}

// A grid of a fixed size, shown so that it has a viewport to paint into.
struct ShownGrid {
    VGrid grid;
    ShownGrid()
    {
        grid.resize(300, 200);
        grid.SetColWidth(300);
        grid.show();
    }
};

void MoveMouse(QWidget* widget, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

QPoint RowCentre(const VGrid& grid, int row)
{
    const int y = row == 0 ? grid.RowHeight() / 2
                           : grid.RowHeight() + (row - grid.TopRow()) * grid.RowHeight() + grid.RowHeight() / 2;
    return {40, y};
}

}  // namespace

class tst_VGrid : public QObject {
    Q_OBJECT

private slots:
    void newGridHasHeaderAndOneRow()
    {
        VGrid grid;
        QCOMPARE(grid.Rows(), 2);
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(grid.TopRow(), 1);
        QCOMPARE(grid.TextMatrix(0), QString());
        QCOMPARE(grid.CellBackColor(1), Grid::kNoCellColor);
    }

    void millionRowsTakenAtOnceTextFormedOnDemand()
    {
        ShownGrid shown;
        VGrid& grid = shown.grid;
        auto source = std::make_shared<CountingSource>();
        Alignment::PaneRows rows = MakeRows(1'000'000);
        rows.line[10] = Alignment::kNoLine;  // a filler row
        rows.color[500'000] = Alignment::kOrphanColor;
        grid.SetRowsFrom(std::move(rows), source);
        QCOMPARE(grid.Rows(), 1'000'001);
        QCOMPARE(source->asked, 0);
        QCOMPARE(grid.TextMatrix(1), QStringLiteral("L0"));
        QCOMPARE(grid.TextMatrix(1'000'000), QStringLiteral("L999999"));
        QCOMPARE(grid.TextMatrix(11), QString());
        QCOMPARE(grid.CellBackColor(500'001), Alignment::kOrphanColor);
        QCOMPARE(grid.CellBackColor(500'002), Grid::kNoCellColor);
        // Painting asks only for the rows on screen.
        source->asked = 0;
        QImage image(grid.size(), QImage::Format_RGB32);
        grid.render(&image);
        QVERIFY(source->asked > 0);
        QVERIFY2(source->asked <= grid.VisibleRowCount() + 2, qPrintable(QString::number(source->asked)));
        // Any row is reachable at once, the last page included.
        grid.SetTopRow(999'990);
        QVERIFY(grid.RowIsVisible(1'000'000));
        QVERIFY(!grid.RowIsVisible(1));
        QCOMPARE(grid.TopRow(), 1'000'001 - grid.VisibleRowCount());
    }

    void headerSurvivesNewRows()
    {
        VGrid grid;
        grid.SetTextMatrix(0, QStringLiteral("header"));
        grid.SetRows(5);
        grid.SetTextMatrix(3, QStringLiteral("old"));
        grid.SetCellPicture(3, QPixmap(10, 8));
        grid.SetRowsFrom(MakeRows(4), std::make_shared<CountingSource>());
        QCOMPARE(grid.TextMatrix(0), QStringLiteral("header"));
        QCOMPARE(grid.TextMatrix(3), QStringLiteral("L2"));
        QVERIFY(grid.CellPicture(3).isNull());
    }

    void explicitTextWinsAndHidesLine()
    {
        VGrid grid;
        grid.SetRowsFrom(MakeRows(3), std::make_shared<CountingSource>());
        grid.SetTextMatrix(2, QStringLiteral("own"));
        QCOMPARE(grid.TextMatrix(2), QStringLiteral("own"));
        grid.SetTextMatrix(2, QString());
        QCOMPARE(grid.TextMatrix(2), QString());
        grid.SetTextMatrix(3, QString());
        QCOMPARE(grid.TextMatrix(3), QString());
        QCOMPARE(grid.TextMatrix(1), QStringLiteral("L0"));
    }

    void outOfRangeIsHarmless_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("negative") << -1;
        QTest::newRow("one past the end") << 4;
        QTest::newRow("far past the end") << 1'000'000;
    }

    void outOfRangeIsHarmless()
    {
        QFETCH(int, row);
        VGrid grid;
        grid.SetRows(4);
        grid.SetTextMatrix(row, QStringLiteral("x"));
        grid.SetCellBackColor(row, 0x123456);
        grid.SetCellPicture(row, QPixmap(4, 4));
        QCOMPARE(grid.TextMatrix(row), QString());
        QCOMPARE(grid.CellBackColor(row), Grid::kNoCellColor);
        QVERIFY(grid.CellPicture(row).isNull());
        QVERIFY(!grid.RowIsVisible(row));
        QCOMPARE(grid.Rows(), 4);
    }

    void setRowsKeepsAndDropsCells()
    {
        VGrid grid;
        grid.SetRows(6);
        for (int row = 1; row < 6; ++row) {
            grid.SetTextMatrix(row, QString::number(row));
            grid.SetCellBackColor(row, 0x10u + static_cast<std::uint32_t>(row));
        }
        grid.SetCellPicture(5, QPixmap(10, 8));
        grid.SetRow(5);
        grid.SetRows(3);
        QCOMPARE(grid.Rows(), 3);
        QCOMPARE(grid.Row(), 2);
        QCOMPARE(grid.TextMatrix(2), QStringLiteral("2"));
        grid.SetRows(6);
        QCOMPARE(grid.TextMatrix(2), QStringLiteral("2"));
        QCOMPARE(grid.CellBackColor(2), 0x12u);
        for (int row = 3; row < 6; ++row) {
            QCOMPARE(grid.TextMatrix(row), QString());
            QCOMPARE(grid.CellBackColor(row), Grid::kNoCellColor);
            QVERIFY(grid.CellPicture(row).isNull());
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

    void clearCellsKeepsRows()
    {
        VGrid grid;
        grid.SetRowsFrom(MakeRows(50), std::make_shared<CountingSource>());
        grid.SetTextMatrix(0, QStringLiteral("head"));
        grid.SetCellBackColor(5, 9, Alignment::kOrphanColor);
        grid.SetCellPicture(7, QPixmap(10, 8));
        grid.ClearCells();
        QCOMPARE(grid.Rows(), 51);
        for (int row = 0; row < 51; ++row) {
            QCOMPARE(grid.TextMatrix(row), QString());
            QCOMPARE(grid.CellBackColor(row), Grid::kNoCellColor);
            QVERIFY(grid.CellPicture(row).isNull());
        }
    }

    void pictureIdentityIsKept()
    {
        VGrid grid;
        grid.SetRows(4);
        const QPixmap marker(10, 8);
        const QPixmap other(10, 8);
        grid.SetCellPicture(2, marker);
        QCOMPARE(grid.CellPicture(2).cacheKey(), marker.cacheKey());
        QVERIFY(grid.CellPicture(2).cacheKey() != other.cacheKey());
        grid.SetCellPicture(2, QPixmap());
        QVERIFY(grid.CellPicture(2).isNull());
    }

    void topRowChangesAreAnnounced()
    {
        ShownGrid shown;
        VGrid& grid = shown.grid;
        grid.SetRowsFrom(MakeRows(200), std::make_shared<CountingSource>());
        QSignalSpy scroll(&grid, &VGrid::Scroll);
        grid.SetTopRow(50);
        QCOMPARE(grid.TopRow(), 50);
        QCOMPARE(scroll.count(), 1);
        grid.SetTopRow(50);
        QCOMPARE(scroll.count(), 1);
        grid.verticalScrollBar()->setValue(9);  // as the user's scroll bar does
        QCOMPARE(grid.TopRow(), 10);
        QCOMPARE(scroll.count(), 2);
        grid.SetTopRow(-5);
        QCOMPARE(grid.TopRow(), 1);
        // Fewer rows clamp the top row, and that too is a scroll.
        grid.SetTopRow(150);
        const int before = static_cast<int>(scroll.count());
        grid.SetRows(20);
        QCOMPARE(grid.TopRow(), std::max(1, 20 - grid.VisibleRowCount()));
        QCOMPARE(scroll.count(), before + 1);
    }

    void rowVisibility()
    {
        ShownGrid shown;
        VGrid& grid = shown.grid;
        grid.SetRowsFrom(MakeRows(100), std::make_shared<CountingSource>());
        grid.SetTopRow(20);
        const int full = grid.VisibleRowCount();
        QVERIFY(full > 3);
        QVERIFY(grid.RowIsVisible(0));
        QVERIFY(!grid.RowIsVisible(19));
        QVERIFY(grid.RowIsVisible(20));
        QVERIFY(grid.RowIsVisible(20 + full - 1));
        QVERIFY(!grid.RowIsVisible(20 + full + 1));
    }

    void clickSelectsRowAndSignals()
    {
        ShownGrid shown;
        VGrid& grid = shown.grid;
        grid.SetRowsFrom(MakeRows(30), std::make_shared<CountingSource>());
        QSignalSpy click(&grid, &VGrid::Click);
        QSignalSpy down(&grid, &VGrid::MouseDown);
        QSignalSpy dbl(&grid, &VGrid::DblClick);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, RowCentre(grid, 4));
        QCOMPARE(grid.Row(), 4);
        QCOMPARE(grid.MouseRow(), 4);
        QCOMPARE(click.count(), 1);
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
        // A right button reports its press but neither selects nor clicks.
        QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, RowCentre(grid, 7));
        QCOMPARE(grid.Row(), 4);
        QCOMPARE(grid.MouseRow(), 7);
        QCOMPARE(click.count(), 1);
        QCOMPARE(down.count(), 2);
        QCOMPARE(down.at(1).at(0).value<Qt::MouseButton>(), Qt::RightButton);
        // The header row is never the current row.
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, RowCentre(grid, 0));
        QCOMPARE(grid.Row(), 4);
        QCOMPARE(grid.MouseRow(), 0);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, RowCentre(grid, 6));
        QCOMPARE(dbl.count(), 1);
        QCOMPARE(grid.Row(), 6);
    }

    void mouseRowBelowTheLastRow()
    {
        ShownGrid shown;
        VGrid& grid = shown.grid;
        grid.SetRowsFrom(MakeRows(2), std::make_shared<CountingSource>());
        QSignalSpy move(&grid, &VGrid::MouseMove);
        MoveMouse(grid.viewport(), RowCentre(grid, 2));
        QCOMPARE(grid.MouseRow(), 2);
        MoveMouse(grid.viewport(), QPoint(40, grid.viewport()->height() - 2));
        QCOMPARE(grid.MouseRow(), -1);
        QCOMPARE(move.count(), 2);
    }

    void keyboardMovesRowAndKeepsItVisible()
    {
        ShownGrid shown;
        VGrid& grid = shown.grid;
        grid.SetRowsFrom(MakeRows(100), std::make_shared<CountingSource>());
        QSignalSpy scroll(&grid, &VGrid::Scroll);
        QTest::keyClick(&grid, Qt::Key_End);
        QCOMPARE(grid.Row(), 100);
        QVERIFY(grid.RowIsVisible(100));
        QVERIFY(scroll.count() >= 1);
        QTest::keyClick(&grid, Qt::Key_Up);
        QCOMPARE(grid.Row(), 99);
        QTest::keyClick(&grid, Qt::Key_Home);
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(grid.TopRow(), 1);
        QTest::keyClick(&grid, Qt::Key_Up);
        QCOMPARE(grid.Row(), 1);
    }

    void paintsColoursPicturesAndText()
    {
        ShownGrid shown;
        VGrid& grid = shown.grid;
        grid.SetRowsFrom(MakeRows(10), std::make_shared<CountingSource>());
        grid.SetCellBackColor(2, Alignment::kOrphanColor);
        grid.SetCellBackColor(3, Alignment::kChangedColor);
        QImage marker(10, 8, QImage::Format_RGB32);
        marker.fill(QColor(255, 0, 0));
        grid.SetCellPicture(4, QPixmap::fromImage(marker));
        QImage image(grid.viewport()->size(), QImage::Format_RGB32);
        grid.viewport()->render(&image);
        const int x = grid.ColWidth() - 40;  // right of any text
        QCOMPARE(image.pixelColor(x, RowCentre(grid, 2).y()), QColor(255, 225, 196));
        QCOMPARE(image.pixelColor(x, RowCentre(grid, 3).y()), QColor(221, 221, 255));
        QCOMPARE(image.pixelColor(x, RowCentre(grid, 5).y()), grid.palette().color(QPalette::Base));
        QCOMPARE(image.pixelColor(4, RowCentre(grid, 4).y()), QColor(255, 0, 0));
        // Text is drawn: some pixel at the left of row 1 has the text colour
        // tone, unlike an empty row.
        const auto darkPixels = [&image](int y0, int height) {
            int dark = 0;
            for (int y = y0; y < y0 + height; ++y)
                for (int px = 0; px < 60; ++px)
                    dark += qGray(image.pixel(px, y)) < 128 ? 1 : 0;
            return dark;
        };
        const int rowTop = grid.RowHeight();
        QVERIFY(darkPixels(rowTop + 1, grid.RowHeight() - 2) > 0);
        grid.SetTextMatrix(1, QString());
        grid.viewport()->render(&image);
        QCOMPARE(darkPixels(rowTop + 1, grid.RowHeight() - 2), 0);
    }

    void gridLinesCanBeHidden()
    {
        ShownGrid shown;
        VGrid& grid = shown.grid;
        grid.SetRowsFrom(MakeRows(10), std::make_shared<CountingSource>());
        const int lineY = grid.RowHeight() * 3 - 1;  // bottom edge of row 2
        QImage image(grid.viewport()->size(), QImage::Format_RGB32);
        grid.SetGridLines(true);
        grid.viewport()->render(&image);
        const QColor base = grid.palette().color(QPalette::Base);
        QVERIFY(image.pixelColor(150, lineY) != base);
        grid.SetGridLines(false);
        grid.viewport()->render(&image);
        QCOMPARE(image.pixelColor(150, lineY), base);
    }

    void colourValuesAreBlueGreenRed()
    {
        VGrid grid;
        QCOMPARE(grid.ToQColor(0x00C4E1FFu), QColor(255, 225, 196));
        QCOMPARE(grid.ToQColor(0x00FFDDDDu), QColor(221, 221, 255));
        QCOMPARE(grid.ToQColor(0x00030201u), QColor(1, 2, 3));
    }
};

QTEST_MAIN(tst_VGrid)
#include "tst_VGrid.moc"
