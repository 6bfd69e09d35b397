// The five row-marker bitmaps, pixel for pixel.

#include "mainwindow/RowMarkers.h"

#include <QTest>

using RowMarkers::Marker;

Q_DECLARE_METATYPE(RowMarkers::Marker)

class tst_RowMarkers : public QObject {
    Q_OBJECT

private slots:
    void marker_data()
    {
        QTest::addColumn<Marker>("marker");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<bool>("arrow");
        QTest::newRow("pctBookmark") << Marker::Bookmark << QColor(32, 160, 192) << false;
        QTest::newRow("pctBookmarkArrow") << Marker::BookmarkArrow << QColor(32, 160, 192) << true;
        QTest::newRow("pctArrow") << Marker::Arrow << QColor(255, 255, 255) << true;
        QTest::newRow("pctDifferArrow") << Marker::DifferArrow << QColor(222, 223, 255) << true;
        QTest::newRow("pctOrphanArrow") << Marker::OrphanArrow << QColor(255, 227, 198) << true;
    }

    void marker()
    {
        QFETCH(Marker, marker);
        QFETCH(QColor, background);
        QFETCH(bool, arrow);
        // Arrow pixels per row as start column and length: a head of 1, 2
        // and 3 pixels from column 6, a full-width shaft in rows 4 and 5.
        const int start[8] = {6, 6, 6, 0, 0, 6, 6, 6};
        const int length[8] = {1, 2, 3, 10, 10, 3, 2, 1};
        const QImage image = RowMarkers::DrawMarker(marker);
        QCOMPARE(image.size(), QSize(10, 8));
        int red = 0;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 10; ++x) {
                const bool onArrow = arrow && x >= start[y] && x < start[y] + length[y];
                const QColor expected = onArrow ? QColor(255, 0, 0) : background;
                QCOMPARE(image.pixelColor(x, y), expected);
                red += onArrow ? 1 : 0;
            }
        }
        QCOMPARE(red, arrow ? 32 : 0);
    }
};

QTEST_GUILESS_MAIN(tst_RowMarkers)
#include "tst_RowMarkers.moc"
