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
        // The red arrow: 'r' pixels on the background '.'.
        const char* const art[] = {"......r...", "......rr..", "......rrr.", "rrrrrrrrrr",
                                   "rrrrrrrrrr", "......rrr.", "......rr..", "......r..."};
        const QImage image = RowMarkers::DrawMarker(marker);
        QCOMPARE(image.size(), QSize(10, 8));
        for (int y = 0; y < 8; ++y) {
            QString shown;
            for (int x = 0; x < 10; ++x) {
                const QColor pixel = image.pixelColor(x, y);
                shown += pixel == background ? u'.' : pixel == QColor(255, 0, 0) ? u'r' : u'?';
            }
            QCOMPARE(shown, arrow ? QString::fromLatin1(art[y]) : QStringLiteral(".........."));
        }
    }
};

QTEST_GUILESS_MAIN(tst_RowMarkers)
#include "tst_RowMarkers.moc"
