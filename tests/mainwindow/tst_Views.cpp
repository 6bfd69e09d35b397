// The views of the window on their own: the result grid (a million rows at
// once, cells, painting) and the row-marker bitmaps it shows; the detail
// pane's one-line view (the look of every character, selection, copying).

#include "WindowFixture.h"
#include "mainwindow/LineFileRowText.h"
#include "mainwindow/RowMarkers.h"

#include <QClipboard>
#include <QScrollBar>

namespace {

// A file's rows, counting how often a row's text is formed whole and in part.
class CountingRows final : public Grid::RowTextSource {
public:
    explicit CountingRows(const QByteArray& bytes) : m_lines(LineFile::FromBytes(bytes.toStdString())) {}
    QString RowText(std::int32_t line) const override
    {
        ++whole;
        return m_lines.RowText(line);
    }
    RowText::Part RowTextPart(std::int32_t line, qsizetype columns) const override
    {
        ++parts;
        return m_lines.RowTextPart(line, columns);
    }
    mutable int whole = 0;
    mutable int parts = 0;

private:
    LineFileRowText m_lines;
};

Alignment::PaneRows MakeRows(std::size_t count)
{
    Alignment::PaneRows rows;
    rows.color.assign(count, Alignment::kDefaultColor);
    for (std::size_t i = 0; i < count; ++i)
        rows.line.push_back(static_cast<std::int32_t>(i));
    return rows;
}

// A shown 300 x 200 grid whose rows show the lines of `bytes` named in `rows`.
struct ShownGrid {
    VGrid grid;
    std::shared_ptr<CountingRows> source;
    ShownGrid(const QByteArray& bytes, Alignment::PaneRows rows, bool gridLines = false)
        : source(std::make_shared<CountingRows>(bytes))
    {
        grid.resize(300, 200);
        grid.SetColWidth(300);
        grid.SetGridLines(gridLines);
        grid.show();
        grid.SetRowsFrom(std::make_shared<Alignment::PaneRows>(std::move(rows)), source);
    }
    // Pixel rows of grid row `row` (after the header row 0).
    QImage row(const QImage& image, int row) const
    {
        return image.copy(0, row * grid.RowHeight(), image.width(), grid.RowHeight());
    }
};

int DarkPixels(const QImage& image, const QRect& area)
{
    int dark = 0;
    for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), image.height() - 1); ++y)
        for (int x = std::max(area.left(), 0); x <= std::min(area.right(), image.width() - 1); ++x)
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return dark;
}

// Row 1 of a grid painted for a one-line file; null when a row text was
// formed whole on the way.
QImage PaintedRowOne(const QByteArray& line)
{
    ShownGrid shown(line, MakeRows(1));
    const QImage row = shown.row(Painted(&shown.grid), 1);
    return shown.source->whole == 0 ? row : QImage();
}

}  // namespace

class tst_Views : public QObject {
    Q_OBJECT

private slots:
    void millionRowsTakenAtOnceTextFormedOnDemand()
    {
        Alignment::PaneRows rows = MakeRows(1'000'000);
        rows.line[10] = Alignment::kNoLine;  // a filler row
        rows.color[500'000] = Alignment::kOrphanColor;
        ShownGrid shown(QByteArray("x\n").repeated(1'000'000), std::move(rows));
        VGrid& grid = shown.grid;
        QCOMPARE(shown.source->whole + shown.source->parts, 0);
        QCOMPARE(std::tuple(grid.Rows(), grid.TextMatrix(1'000'000), grid.TextMatrix(11), grid.CellBackColor(500'001),
                            grid.CellBackColor(500'002)),
                 std::tuple(1'000'001, QStringLiteral(" 1000000.x"), QString(), Alignment::kOrphanColor,
                            Grid::kNoCellColor));
        // A range begun before the grid colours it from the header row on.
        grid.SetCellBackColor(-5, 2, Alignment::kChangedColor);
        QCOMPARE((QList{grid.CellBackColor(0), grid.CellBackColor(2), grid.CellBackColor(3)}),
                 (QList{Alignment::kChangedColor, Alignment::kChangedColor, Grid::kNoCellColor}));
        // A line past the file's end reads as nothing.
        QVERIFY(shown.source->RowText(1'000'000).isEmpty());
        QCOMPARE(shown.source->RowTextPart(1'000'000, 10), RowText::Part());
        // A cell's own text wins over the line; rows outside the grid ignore writes.
        grid.SetTextMatrix(12, QStringLiteral("own"));
        QCOMPARE(grid.TextMatrix(12), QStringLiteral("own"));
        for (int row : {-1, 1'000'001}) {
            grid.SetTextMatrix(row, QStringLiteral("x"));
            QVERIFY(grid.TextMatrix(row).isEmpty());
        }
        // Painting asks only for the rows on screen.
        shown.source->whole = shown.source->parts = 0;
        Painted(&shown.grid);
        const int asked = shown.source->whole + shown.source->parts;
        QVERIFY(asked > 0 && asked <= grid.VisibleRowCount() + 2);
        // Any row is reachable at once, the last page included.
        grid.SetTopRow(999'990);
        QVERIFY(grid.RowIsVisible(1'000'000) && !grid.RowIsVisible(1));
        QCOMPARE(grid.TopRow(), 1'000'001 - grid.VisibleRowCount());
    }

    // A 50 MB row looks exactly like a short row with the same beginning:
    // its visible slice, reaching the right edge, formed without the rest.
    void longRowsPaintTheirVisibleSlice()
    {
        // Letters without spaces, never repeating within what is shown.
        QByteArray line(50'000'000, 'x');
        for (int i = 0; i < line.size(); ++i)
            line[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
        const QImage shortRow = PaintedRowOne(line.first(400));
        const QImage longRow = PaintedRowOne(line);
        QVERIFY(!longRow.isNull() && !shortRow.isNull());
        QCOMPARE(longRow, shortRow);
        QVERIFY(DarkPixels(shortRow, QRect(shortRow.width() - 12, 0, 12, shortRow.height())) > 0);
    }

    // Whatever a row's text holds, its paint stays inside its own cell (the
    // empty rows above and below it keep the plain background), on one line
    // that goes on to the right edge, the number first as in plain rows.
    void awkwardRowsStayInTheirCells_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("picture taller than the row") << QByteArray("x");
        QTest::newRow("control characters") << QByteArray("a\x01\x02\x0b\x0c\r\x1b[2J\x7f\xc2\x9cz");
        QTest::newRow("line and paragraph separators") << QByteArray("a\xe2\x80\xa8x\xe2\x80\xa9y");
        QTest::newRow("right-to-left")
            << QByteArray("\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d 12 \xd8\xb3\xd9\x84\xd8\xa7\xd9\x85 abc").repeated(50);
        QTest::newRow("stacked marks")
            << QByteArray("e").append(QByteArray("\xcc\x81\xcc\x96\xcd\xa3").repeated(4)).repeated(100);
        QTest::newRow("tall and wide scripts")
            << QByteArray("\xe0\xbd\x80\xe0\xbe\xb5\xe0\xbe\x90 \xe4\xb8\xad\xe6\x96\x87 \xf0\x9f\x98\x80")
                   .repeated(30);
    }

    void awkwardRowsStayInTheirCells()
    {
        QFETCH(QByteArray, line);
        const QByteArray tail(60, 'W');
        Alignment::PaneRows rows = MakeRows(3);
        rows.line = {Alignment::kNoLine, 1, Alignment::kNoLine};
        ShownGrid shown("x\n" + line + tail, std::move(rows));
        const int h = shown.grid.RowHeight();
        const bool picture = QByteArray(QTest::currentDataTag()).startsWith("picture");
        if (picture) {
            QPixmap tall(8, 3 * h);
            tall.fill(Qt::black);
            shown.grid.SetCellPicture(2, tall);
        }
        const QImage image = Painted(&shown.grid);
        const QImage row = shown.row(image, 2);
        ShownGrid plain("x\n" + tail, MakeRows(3));
        const int number = 4 + shown.grid.fontMetrics().horizontalAdvance(QStringLiteral(" 2"));
        QVERIFY(picture || row.copy(0, 0, number, h) == plain.row(Painted(&plain.grid), 2).copy(0, 0, number, h));
        bool shared = false;
        for (int y = 0; y < h; ++y)
            shared =
                shared || (DarkPixels(row, QRect(0, y, 16, 1)) && DarkPixels(row, QRect(row.width() - 12, y, 12, 1)));
        QVERIFY(shared);
        QImage blank(image.width(), h, image.format());
        blank.fill(shown.grid.palette().color(QPalette::Base));
        QVERIFY(shown.row(image, 1) == blank && shown.row(image, 3) == blank);
    }

    void paintsColoursPicturesTextAndLines()
    {
        ShownGrid shown(QByteArray("line\n").repeated(10), MakeRows(10), true);
        VGrid& grid = shown.grid;
        grid.SetCellBackColor(2, Alignment::kOrphanColor);
        grid.SetCellBackColor(3, Alignment::kChangedColor);
        QPixmap marker(10, 8);
        marker.fill(QColor(255, 0, 0));
        grid.SetCellPicture(4, marker);
        const int h = grid.RowHeight();
        const int x = grid.ColWidth() - 40;  // right of any text
        const QColor base = grid.palette().color(QPalette::Base);
        const QRect rowOneText(0, h + 1, 60, h - 2);
        QImage image = Painted(&shown.grid);
        QCOMPARE((QList{image.pixelColor(x, 2 * h + h / 2), image.pixelColor(x, 3 * h + h / 2),
                        image.pixelColor(x, 5 * h + h / 2), image.pixelColor(4, 4 * h + h / 2)}),
                 (QList<QColor>{QColor(255, 225, 196), QColor(221, 221, 255), base, QColor(255, 0, 0)}));
        QVERIFY(DarkPixels(image, rowOneText) > 0);
        QVERIFY(image.pixelColor(150, h * 3 - 1) != base);  // the line below row 2
        grid.SetTextMatrix(1, QString());
        grid.SetGridLines(false);
        image = Painted(&shown.grid);
        // Row 1's text gone; no line below the uncoloured row 5.
        QCOMPARE(std::pair(DarkPixels(image, rowOneText), image.pixelColor(150, h * 6 - 1)), std::pair(0, base));
    }

    // The five row markers, pixel for pixel: the red arrow ('r') on each
    // one's background ('.'), the bookmark alone without it.
    void markers_data()
    {
        QTest::addColumn<RowMarkers::Marker>("marker");
        QTest::addColumn<QColor>("row");
        QTest::newRow("pctBookmark") << RowMarkers::Marker::Bookmark << QColor(255, 255, 255);
        QTest::newRow("pctBookmarkArrow") << RowMarkers::Marker::BookmarkArrow << QColor(255, 255, 255);
        QTest::newRow("pctDifferArrow") << RowMarkers::Marker::DifferArrow << QColor(221, 221, 255);
        QTest::newRow("pctOrphanArrow") << RowMarkers::Marker::OrphanArrow << QColor(255, 225, 196);
        QTest::newRow("pctArrow, dark") << RowMarkers::Marker::Arrow << QColor(30, 30, 30);
    }

    // The arrow's shape; an arrow stands on its row's colour, a bookmark is
    // a block of its own (the colours' contrast is checked in tst_Look).
    void markers()
    {
        QFETCH(RowMarkers::Marker, marker);
        QFETCH(QColor, row);
        const QString arrow =
            QStringLiteral("......r... ......rr.. ......rrr. rrrrrrrrrr rrrrrrrrrr ......rrr. ......rr.. ......r... ");
        const QImage image = RowMarkers::DrawMarker(marker, row);
        QCOMPARE(image.size(), QSize(10, 8));
        const QColor background = image.pixelColor(0, 0);
        const bool bookmark = marker == RowMarkers::Marker::Bookmark || marker == RowMarkers::Marker::BookmarkArrow;
        QCOMPARE(background == row, !bookmark);
        QString shown;  // the rows top down, a space after each
        for (int y = 0; y < 8; ++y, shown += u' ')
            for (int x = 0; x < 10; ++x)
                shown += image.pixelColor(x, y) == background ? u'.' : u'r';
        QCOMPARE(shown, marker != RowMarkers::Marker::Bookmark ? arrow : QStringLiteral(".......... ").repeated(8));
        // The window's set holds each marker on each row colour it can stand on.
        const RowMarkers::Pictures pictures(Qt::white);
        for (const auto& [value, colour] : {std::pair{Alignment::kDefaultColor, QColor(Qt::white)},
                                            {Alignment::kOrphanColor, QColor(255, 225, 196)},
                                            {Alignment::kChangedColor, QColor(221, 221, 255)},
                                            {Alignment::kMovedColor, QColor(212, 242, 212)}})
            QCOMPARE(pictures.Get(marker, value).toImage().pixelColor(9, 0),
                     RowMarkers::DrawMarker(marker, colour).pixelColor(9, 0));
    }

    // The width of a line of many chunks, measured chunk by chunk without
    // shaping where that is safe, is the width of the whole line shaped.
    void lineWidthAsShaped_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::newRow("cyrillic") << QString::fromUtf16(u"быстрая лиса ");
        QTest::newRow("han and kana") << QString::fromUtf16(u"漢字かなカナ ");
        QTest::newRow("latin-1 and marks") << QString::fromUtf16(u"café e\u0301 ");
        QTest::newRow("arabic") << QString::fromUtf16(u"سلام عليكم ");
    }

    void lineWidthAsShaped()
    {
        QFETCH(QString, pattern);
        LineDiffView view;
        QFont font(QStringLiteral("Courier New"), 9);
        font.setStyleHint(QFont::TypeWriter);
        view.setFont(font);
        const QString text = pattern.repeated(100);
        view.resize(200, 25);
        view.SetLine(LineText(text), std::vector<LineDiffView::Run>{});
        // The scroll range reaches the line's end: its width less the view's.
        const int measured =
            view.horizontalScrollBar()->maximum() + view.viewport()->width() - 2 * LineDiffView::kMargin;
        const qreal shaped = QFontMetricsF(view.font()).horizontalAdvance(text);
        QVERIFY2(qAbs(measured - shaped) <= 1, qPrintable(QStringLiteral("%1 %2").arg(measured).arg(shaped)));
    }

    // Selecting and copying in the one-line view. The look given by marks,
    // worked out as the box lays the line out (the window's detail pane
    // shows the usual cases): a missing mark differs; a plain text set
    // afterwards is common and drops the selection. Separators inside a
    // line do not end the one line it is laid out on: every character
    // stands right of the one before it.
    void oneLineView()
    {
        LineDiffView view;
        view.resize(400, 25);
        view.SetLine(QStringLiteral("hello world"), {});
        const auto xOf = [&](int p) { return QPoint(LineDiffView::kMargin + int(view.XOfPosition(p)) + 1, 10); };
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, xOf(6));
        QTest::mouseMove(view.viewport(), xOf(11));
        QCOMPARE(view.selectedText(), QStringLiteral("world"));
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("world"));
        // Shift with an arrow, Home or End moves the selection's free end, never past the line's ends.
        for (const auto& [key, selected] :
             {std::pair{Qt::Key_Left, "worl"}, std::pair{Qt::Key_Right, "world"}, std::pair{Qt::Key_Right, "world"},
              std::pair{Qt::Key_Home, "hello "}, std::pair{Qt::Key_Left, "hello "}, std::pair{Qt::Key_End, "world"}}) {
            QTest::keyClick(&view, key, Qt::ShiftModifier);
            QCOMPARE(view.selectedText(), QString::fromLatin1(selected));
        }
        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
        const std::unique_ptr<QMenu> menu(view.CreateContextMenu(nullptr));
        menu->actions().first()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("hello world"));
        std::vector<bool> marks(2, true);
        marks.resize(1);  // what lay past the list's end is no mark
        view.SetLine(LineText(QStringLiteral("a bc")), LineDiffView::MarkedLook{std::move(marks), true});
        QCOMPARE(Looks(view), QStringLiteral("kurr"));
        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
        view.setPlainText(QStringLiteral("a bc"));
        QVERIFY(!view.hasSelectedText());
        QCOMPARE(Looks(view), QStringLiteral("kkkk"));
        const QString text = QString::fromUtf16(u"ab\u2028cd\u2029ef");
        view.SetLine(LineText(text), std::vector<LineDiffView::Run>{});
        for (qsizetype k = 1; k <= text.size(); ++k)
            QVERIFY2(view.XOfPosition(k) > view.XOfPosition(k - 1), qPrintable(QString::number(k)));
    }
};

QTEST_MAIN(tst_Views)
#include "tst_Views.moc"
