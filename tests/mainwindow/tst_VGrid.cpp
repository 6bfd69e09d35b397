// The result grid: a million rows at once, cells, and painting.

#include "mainwindow/VGrid.h"

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
        grid.SetRowsFrom(std::make_shared<Alignment::PaneRows>(MakeRows(rows)), source);
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
        grid.SetRowsFrom(std::make_shared<Alignment::PaneRows>(std::move(rows)), shown.source);
        QCOMPARE(grid.Rows(), 1'000'001);
        QCOMPARE(shown.source->asked, 0);
        QCOMPARE(grid.TextMatrix(1'000'000), QStringLiteral("L999999"));
        QCOMPARE(grid.TextMatrix(11), QString());
        QCOMPARE(grid.CellBackColor(500'001), Alignment::kOrphanColor);
        QCOMPARE(grid.CellBackColor(500'002), Grid::kNoCellColor);
        // A cell's own text wins over the line; rows outside the grid ignore writes.
        grid.SetTextMatrix(12, QStringLiteral("own"));
        QCOMPARE(grid.TextMatrix(12), QStringLiteral("own"));
        for (int row : {-1, 1'000'001}) {
            grid.SetTextMatrix(row, QStringLiteral("x"));
            QVERIFY(grid.TextMatrix(row).isEmpty());
        }
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
