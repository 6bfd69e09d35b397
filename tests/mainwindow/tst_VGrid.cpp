// The result grid: a million rows at once, cells, and painting.

#include "mainwindow/LineFileRowText.h"
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

// The rows of a file's lines, counting how often a row's whole text is
// formed.
class WholeTextCounter final : public Grid::RowTextSource {
public:
    explicit WholeTextCounter(const QByteArray& bytes) : m_lines(LineFile::FromBytes(bytes.toStdString())) {}
    QString RowText(std::int32_t line) const override
    {
        ++whole;
        return m_lines.RowText(line);
    }
    RowText::Part RowTextPart(std::int32_t line, qsizetype columns) const override
    {
        return m_lines.RowTextPart(line, columns);
    }
    mutable int whole = 0;

private:
    LineFileRowText m_lines;
};

// Row 1 of a shown grid, painted, for the bytes of a one-line file; no row
// text is formed whole on the way.
QImage PaintedRowOne(const QByteArray& line)
{
    ShownGrid shown(0);
    QFont font(QStringLiteral("Courier New"), 9);
    font.setStyleHint(QFont::TypeWriter);
    shown.grid.setFont(font);
    shown.grid.SetGridLines(false);
    auto source = std::make_shared<WholeTextCounter>(line);
    shown.grid.SetRowsFrom(std::make_shared<Alignment::PaneRows>(MakeRows(1)), source);
    const int h = shown.grid.RowHeight();
    const QImage row = shown.paint().copy(0, h, shown.grid.viewport()->width(), h);
    if (source->whole != 0)
        qWarning("painting formed a whole row text %d times", source->whole);
    return source->whole == 0 ? row : QImage();
}

// Dark pixels in the columns [from, to) of an image.
int DarkPixels(const QImage& image, int from, int to)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = std::max(from, 0); x < std::min(to, image.width()); ++x)
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return dark;
}

// Which pixel rows of an image have dark pixels in the columns [from, to).
std::vector<bool> InkRows(const QImage& image, int from, int to)
{
    std::vector<bool> rows(image.height(), false);
    for (int y = 0; y < image.height(); ++y)
        rows[y] = DarkPixels(image.copy(0, y, image.width(), 1), from, to) > 0;
    return rows;
}

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

    // A long row looks exactly like a short row with the same beginning:
    // its visible slice, reaching the right edge, drawn once.
    void longRowsPaintTheirVisibleSlice_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("1 KB") << 1000;
        QTest::newRow("1 MB") << 1'000'000;
        QTest::newRow("50 MB") << 50'000'000;
    }

    void longRowsPaintTheirVisibleSlice()
    {
        QFETCH(int, length);
        // Letters without spaces, never repeating within what is shown.
        QByteArray line(length, 'x');
        for (int i = 0; i < length; ++i)
            line[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
        const QImage shortRow = PaintedRowOne(line.first(400));
        const QImage longRow = PaintedRowOne(line);
        QVERIFY(!longRow.isNull() && !shortRow.isNull());
        QCOMPARE(longRow, shortRow);
        QVERIFY(DarkPixels(shortRow, shortRow.width() - 12, shortRow.width()) > 0);
    }

    // Whatever a row's text holds, its paint stays inside its own cell (the
    // empty rows above and below it keep the plain background), on one line
    // that goes on to the right edge.
    void awkwardRowsStayInTheirCells_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("picture taller than the row") << QByteArray("x");
        QTest::newRow("control characters") << QByteArray("a\x01\x02\x0b\x0c\r\x1b[2J\x7f\xc2\x9c" "b");
        QTest::newRow("line and paragraph separators") << QByteArray("a\xe2\x80\xa8" "b\xe2\x80\xa9" "c");
        QTest::newRow("no spaces, 100000") << QByteArray(100000, 'W');
        QTest::newRow("right-to-left") << QByteArray("\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d 12 \xd8\xb3\xd9\x84\xd8\xa7\xd9\x85 abc").repeated(50);
        QTest::newRow("stacked marks") << QByteArray("e").append(QByteArray("\xcc\x81\xcc\x96\xcd\xa3").repeated(4)).repeated(100);
        QTest::newRow("tall and wide scripts") << QByteArray("\xe0\xbd\x80\xe0\xbe\xb5\xe0\xbe\x90 \xe4\xb8\xad\xe6\x96\x87 \xf0\x9f\x98\x80").repeated(30);
    }

    void awkwardRowsStayInTheirCells()
    {
        QFETCH(QByteArray, line);
        ShownGrid shown(0);
        VGrid& grid = shown.grid;
        grid.SetGridLines(false);
        Alignment::PaneRows rows = MakeRows(3);
        rows.line = {Alignment::kNoLine, 1, Alignment::kNoLine};
        const QByteArray tail(60, 'W');
        grid.SetRowsFrom(std::make_shared<Alignment::PaneRows>(std::move(rows)), std::make_shared<LineFileRowText>(LineFile::FromBytes(("x\n" + line + tail).toStdString())));
        const bool picture = QByteArray(QTest::currentDataTag()).startsWith("picture");
        if (picture) {
            QPixmap tall(8, 3 * grid.RowHeight());
            tall.fill(Qt::black);
            grid.SetCellPicture(2, tall);
        }
        const QImage image = shown.paint();
        const int h = grid.RowHeight();
        const QRgb base = grid.palette().color(QPalette::Base).rgb();
        // The number comes first, at the left, as in a row of plain letters.
        ShownGrid plain(0);
        plain.grid.SetGridLines(false);
        plain.grid.SetRowsFrom(std::make_shared<Alignment::PaneRows>(MakeRows(3)), std::make_shared<LineFileRowText>(LineFile::FromBytes(("x\n" + tail).toStdString())));
        const int number = 4 + grid.fontMetrics().horizontalAdvance(QStringLiteral(" 2"));
        QVERIFY(picture || image.copy(0, 2 * h, number, h) == plain.paint().copy(0, 2 * h, number, h));
        // The tail reaches the right edge on the line of the number at the left.
        const QImage row = image.copy(0, 2 * h, image.width(), h);
        const std::vector<bool> left = InkRows(row, 0, 16);
        const std::vector<bool> right = InkRows(row, image.width() - 12, image.width());
        bool shared = false;
        for (int y = 0; y < h; ++y)
            shared = shared || (left[y] && right[y]);
        QVERIFY(shared);
        for (const int top : {h, 3 * h})
            for (int y = top; y < top + h; ++y)
                for (int x = 0; x < image.width(); ++x)
                    QVERIFY2(image.pixel(x, y) == base, qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
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
