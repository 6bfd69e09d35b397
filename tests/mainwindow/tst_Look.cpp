// How the window draws what it shows: the differing characters of changed
// rows, marked in both grids as the detail pane marks them; colours that
// stay readable on a light and a dark palette; a text column as wide as the
// grid's viewport; the detail pane opening a long line at its first
// difference.

#include "WindowFixture.h"
#include "mainwindow/RowMarkers.h"
#include "mainwindow/ToolbarIcons.h"
#include "mainwindow/WindowColors.h"
#include "mainwindow/GridCharacterMarks.h"
#include "support/Palettes.h"

#include <QScrollBar>
#include <QToolButton>

using namespace ShownComparison;

namespace {

// One letter per character of a row's line (the first `length` after a
// prefix) that lies wholly in view: 'x' where more of its cell shows the
// differing tint than the row's colour.
QString TintedCharacters(const VGrid* grid, const QImage& image, int row, qsizetype prefix, qsizetype length)
{
    const QColor tint = WindowColors::DifferingCharacters();
    const QColor rowColour = grid->ToQColor(grid->CellBackColor(row));
    const qreal advance = QFontMetricsF(grid->font()).horizontalAdvance(QLatin1Char('x'));
    const int top = grid->RowHeight() * (row - grid->TopRow() + 1);
    QString letters;
    for (qsizetype k = 0; k < length; ++k) {
        const int left = static_cast<int>(std::ceil(grid->TextIndent() + (prefix + k) * advance));
        const int right = static_cast<int>(grid->TextIndent() + (prefix + k + 1) * advance);
        if (right >= image.width())
            return letters;
        int more = 0;  // tinted pixels less those of the row's colour
        for (int y = top + 1; y < top + grid->RowHeight() - 1; ++y)
            for (int x = left; x < right; ++x)
                more += int(image.pixelColor(x, y) == tint) - int(image.pixelColor(x, y) == rowColour);
        letters += more > 0 ? u'x' : u'.';
    }
    return letters;
}

// The pixel of a row's text area that stands out most from the row's colour.
QColor MostContrasting(const QImage& image, int top, int height, const QColor& background)
{
    QColor best = background;
    for (int y = top + 1; y < top + height - 1; ++y)
        for (int x = 20; x < image.width() - 20; ++x)
            if (WcagContrast(image.pixelColor(x, y), background) > WcagContrast(best, background))
                best = image.pixelColor(x, y);
    return best;
}

// The share of a picture's outline (its opaque pixels beside clear ones)
// that stands out from the background by a contrast of at least 3.
double ReadableOutline(const QImage& picture, const QColor& background)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const auto clear = [&image](int x, int y) {
        return x < 0 || y < 0 || x >= image.width() || y >= image.height() || qAlpha(image.pixel(x, y)) < 128;
    };
    int outline = 0, readable = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) < 255
                || !(clear(x - 1, y) || clear(x + 1, y) || clear(x, y - 1) || clear(x, y + 1)))
                continue;
            ++outline;
            readable += WcagContrast(image.pixelColor(x, y), background) >= 3;
        }
    return outline == 0 ? 0 : static_cast<double>(readable) / outline;
}

// The pixels of two pictures of one size that differ by more than the
// rounding of another rasteriser would, in any channel.
int DifferingPixels(const QImage& drawn, const QImage& reference)
{
    const QImage a = drawn.convertToFormat(QImage::Format_ARGB32);
    const QImage b = reference.convertToFormat(QImage::Format_ARGB32);
    if (a.size() != b.size())
        return a.width() * a.height();
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differing += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                   std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))})
                         > 40;
        }
    return differing;
}

}  // namespace

class tst_Look : public WindowTest {
    Q_OBJECT

private slots:
    // A changed row shows the characters the detail pane colours red, on
    // the tint, in both grids; 'x' marks a differing character, 'u' a
    // differing blank the pane underlines.
    void changedRowsMarkWhatThePaneMarks_data()
    {
        QTest::addColumn<QString>("one");
        QTest::addColumn<QString>("two");
        QTest::addColumn<QStringList>("expected");  // File One's marks, File Two's
        QTest::newRow("last letter") << "abc" << QString("abd") << QStringList{"..x", "..x"};
        QTest::newRow("swapped letters: the word differs whole") << "ab" << QString("ba") << QStringList{"xx", "xx"};
        QTest::newRow("one more space: the first differs")
            << "hello world" << QString("hello  world") << QStringList{"...........", ".....u......"};
        // Nothing to be compared with: the line differs whole, its blanks not marked.
        QTest::newRow("opposite an empty line") << "a b" << QString("") << QStringList{"xxx", ""};
        QString letters;
        for (int i = 0; i < 400; ++i)
            letters += QChar(u'a' + (i * 7 + i / 26) % 26);
        QTest::newRow("wider than the grid, a letter gone near the start")
            << letters << QString(letters).remove(5, 1)
            << QStringList{QString(5, u'.') + u'x' + QString(394, u'.'), QString(399, u'.')};
    }

    void changedRowsMarkWhatThePaneMarks()
    {
        QFETCH(QString, one);
        QFETCH(QString, two);
        QFETCH(QStringList, expected);
        // Row 1 is changed, row 2 a line of the block opposite a filler.
        Fill(w, {one, QStringLiteral("alone")}, {two});
        // Painting the grids asks for their rows' marks, worked out later.
        Painted(w.grid(1));
        Painted(w.grid(2));
        QTRY_VERIFY(!w.form->GridMarks().Pending());
        for (int side = 0; side < 2; ++side) {
            const VGrid* grid = w.grid(side + 1);
            const QImage image = Painted(grid);
            const QString tinted = QString(expected[side]).replace(u'u', u'x');
            const QString shown = TintedCharacters(grid, image, 1, 3, tinted.size());
            QVERIFY2(!shown.isEmpty() || tinted.isEmpty(), "no character in view");
            QCOMPARE(shown, tinted.left(shown.size()));
            if (side == 0)
                QCOMPARE(TintedCharacters(grid, image, 2, 3, 5), QStringLiteral("....."));
        }
        // The detail pane shows the same characters in red.
        ClickRow(w.grid(1), 1);
        for (int side = 0; side < 2; ++side)
            QCOMPARE(Looks(*w.pane(side + 1)).replace(u'k', u'.').replace(u'r', u'x'), expected[side]);
    }

    // Every colour drawn on a background reaches a contrast of 4.5, the
    // marker pictures read pixel by pixel, and the focus mark 3 on all it
    // is drawn on, on a light, a dark and a high-contrast palette.
    void coloursReadableOnEveryPalette_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << LightPalette();
        QTest::newRow("dark") << DarkPalette();
        QTest::newRow("high contrast") << HighContrastPalette();
    }

    void coloursReadableOnEveryPalette()
    {
        QFETCH(QPalette, palette);
        using namespace WindowColors;
        const QColor orphan(255, 225, 196), changed(221, 221, 255), moved(212, 242, 212), skipped(224, 224, 224);
        const QColor base = palette.color(QPalette::Base);
        std::vector<std::tuple<QString, QColor, QColor>> pairs = {
            {"grid text", GridText(palette), base},
            {"header", HeaderText(palette), palette.color(QPalette::Button)},
            {"differing characters", TextOnRow(changed), DifferingCharacters()},
            {"pane text", DetailCommon(palette), base},
            {"pane red", DetailDiffer(palette), base},
            {"pane selection", SelectedText(palette), palette.color(QPalette::Highlight)},
            {"bar mark", BarMark(palette), palette.color(QPalette::Window)}};
        for (const auto& [name, row] : {std::pair{"orphan row", orphan}, std::pair{"changed row", changed},
                                        std::pair{"moved row", moved}, std::pair{"left-out row", skipped}})
            pairs.emplace_back(QString::fromLatin1(name), TextOnRow(row), row);
        for (const QColor& under :
             {base, orphan, changed, moved, skipped, palette.color(QPalette::Window), palette.color(QPalette::Button)})
            QVERIFY2(WcagContrast(FocusMark(palette, under), under) >= 3,
                     qPrintable(QStringLiteral("focus mark on %1").arg(under.name())));
        for (int m = 0; m < 6; ++m)
            for (const QColor& row : {base, orphan, changed, moved, skipped}) {
                const auto marker = static_cast<RowMarkers::Marker>(m);
                const QImage image = RowMarkers::DrawMarker(marker, row);
                const QString name = QStringLiteral("marker %1 on %2").arg(m).arg(row.name());
                if (image.pixelColor(0, 0) != row)
                    pairs.emplace_back(name + QStringLiteral(", block"), image.pixelColor(0, 0), row);
                if (marker != RowMarkers::Marker::Bookmark)
                    pairs.emplace_back(name + QStringLiteral(", arrow"), image.pixelColor(2, 3),
                                       image.pixelColor(0, 0));
            }
        for (const auto& [name, colour, background] : pairs)
            QVERIFY2(WcagContrast(colour, background) >= 4.5,
                     qPrintable(QStringLiteral("%1: %2 on %3, %4")
                                    .arg(name, colour.name(), background.name())
                                    .arg(WcagContrast(colour, background))));
    }

    // Switched to a dark palette, the grids draw dark text on the light row
    // colours and light text on the rest, the detail pane turns dark, and
    // the toolbar's pictures are drawn again with outlines that show on it.
    void darkPaletteTextStaysReadable()
    {
        Show(w);
        w.form->setPalette(DarkPalette());
        const QColor toolbar = DarkPalette().color(QPalette::Window);
        for (int position = 1; position <= 18; ++position)
            if (const QToolButton* button = w.button(position)) {
                const double share = ReadableOutline(button->icon().pixmap(QSize(32, 32)).toImage(), toolbar);
                QVERIFY2(share >= 0.9, qPrintable(QStringLiteral("button %1: %2").arg(position).arg(share)));
            }
        w.pane(1)->setPlainText(QStringLiteral("a line long enough to reach the middle of the pane"));
        const QImage pane = w.pane(1)->viewport()->grab().toImage();
        const QColor paneBase = pane.pixelColor(pane.width() - 3, pane.height() / 2);
        QCOMPARE(paneBase, DarkPalette().color(QPalette::Base));
        QVERIFY(WcagContrast(MostContrasting(pane, 0, pane.height(), paneBase), paneBase) >= 4.5);
        // The difference bar takes the new colours at once, not at the next Compare.
        const QImage bar = w.child<DiffBarWidget>(QStringLiteral("pctDiffsBar"))->grab().toImage();
        QCOMPARE(bar.pixelColor(bar.width() / 2, bar.height() / 2), DarkPalette().color(QPalette::Base));
        const VGrid* grid = w.grid(1);
        const QImage image = Painted(grid);
        for (const int row : {1, 2, 4}) {  // unchanged, changed, orphan
            const int top = grid->RowHeight() * row;
            const QColor background = image.pixelColor(image.width() - 3, top + grid->RowHeight() / 2);
            const QColor ink = MostContrasting(image, top, grid->RowHeight(), background);
            QVERIFY2(WcagContrast(ink, background) >= 4.5,
                     qPrintable(QStringLiteral("row %1: %2 on %3").arg(row).arg(ink.name(), background.name())));
        }
    }

    // The text column is as wide as the viewport: nothing to scroll to
    // sideways, before a Compare, after it and after a resize; and the row
    // marker keeps clear of the number.
    void columnFitsTheViewport()
    {
        Show(w);  // ends on the first difference
        for (const QSize size : {w.form->size(), w.form->size() + QSize(90, 40)}) {
            w.form->resize(size);
            QCoreApplication::processEvents();
            for (const VGrid* grid : {w.grid(1), w.grid(2)})  // the column's width, the sideways scroll's end
                QCOMPARE((std::pair{grid->ColWidth(), grid->horizontalScrollBar()->maximum()}),
                         (std::pair{grid->viewport()->width(), 0}));
        }
        const VGrid* grid = w.grid(1);
        const QImage image = Painted(grid);
        const int row = grid->Row();
        const int top = grid->RowHeight() * (row - grid->TopRow() + 1);
        const QColor background = image.pixelColor(image.width() - 3, top + grid->RowHeight() / 2);
        for (int x = 1 + RowMarkers::kWidth; x < 3 + RowMarkers::kWidth; ++x)
            for (int y = top; y < top + grid->RowHeight() - 1; ++y)
                QVERIFY2(image.pixelColor(x, y) == background,
                         qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
    }

    // Every picture is drawn as the checked-in sheet shows it, at 16 and
    // 32 pixels, and the program's icons are the Compare picture: a picture
    // changes only on purpose, by redrawing the sheet with draw_icons.
    void picturesAsDrawn()
    {
        const QString icons = qEnvironmentVariable("VANTREL_SOURCE_DIR") + QStringLiteral("/src/mainwindow/icons/");
        const QImage sheet(icons + QStringLiteral("toolbar.png"));
        const QStringList names = ToolbarIcons::Names();
        QCOMPARE(sheet.size(), QSize(48, 32 * static_cast<int>(names.size())));
        QStringList differing;  // "name at N pixels: M"
        for (qsizetype row = 0; row < names.size(); ++row)
            for (const int pixels : {16, 32})
                if (const int n = DifferingPixels(ToolbarIcons::Draw(names.at(row), pixels, Qt::white),
                                                  sheet.copy(pixels == 16 ? 0 : 16, 32 * int(row), pixels, pixels)))
                    differing << QStringLiteral("%1 at %2 pixels: %3").arg(names.at(row)).arg(pixels).arg(n);
        for (const auto& [pixels, file] : {std::pair{16, "vantrel.png"}, std::pair{32, "vantrel@2x.png"}})
            if (const int n = DifferingPixels(ToolbarIcons::Draw(QStringLiteral("vantrel"), pixels, Qt::white),
                                              QImage(icons + QString::fromLatin1(file))))
                differing << QStringLiteral("%1: %2").arg(QString::fromLatin1(file)).arg(n);
        QCOMPARE(differing.join(QStringLiteral("; ")), QString());
    }

    // A line whose first difference lies beyond the box's width opens a
    // few characters before it; one that differs in view opens at its start.
    void paneOpensAtTheFirstDifference_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<bool>("scrolled");
        QTest::newRow("in view") << 3 << false;
        QTest::newRow("far along") << 1500 << true;
        QTest::newRow("no difference") << -1 << false;
    }

    void paneOpensAtTheFirstDifference()
    {
        QFETCH(int, first);
        QFETCH(bool, scrolled);
        LineDiffView* box = w.pane(1);
        std::vector<bool> marks(2000, true);
        if (first >= 0)
            marks[static_cast<std::size_t>(first)] = marks[1700] = false;
        box->SetLine(LineText(QString(2000, u'a')), LineDiffView::MarkedLook{marks, false});
        const int offset = box->horizontalScrollBar()->value();
        QCOMPARE(offset, scrolled ? static_cast<int>(box->XOfPosition(first - LineDiffView::kContextBefore)) : 0);
        QVERIFY(box->XOfPosition(first + 1) - offset <= box->viewport()->width());
    }
};

QTEST_MAIN(tst_Look)
#include "moc_WindowFixture.cpp"
#include "tst_Look.moc"
