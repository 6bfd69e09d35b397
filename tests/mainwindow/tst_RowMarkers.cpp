// The five row-marker bitmaps, pixel for pixel (their colours are checked
// with the window's other colours in tst_Contrast).

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
        QTest::addColumn<QColor>("row");
        QTest::addColumn<bool>("arrow");
        QTest::newRow("pctBookmark") << Marker::Bookmark << QColor(255, 255, 255) << false;
        QTest::newRow("pctBookmarkArrow") << Marker::BookmarkArrow << QColor(255, 255, 255) << true;
        QTest::newRow("pctArrow") << Marker::Arrow << QColor(255, 255, 255) << true;
        QTest::newRow("pctDifferArrow") << Marker::DifferArrow << QColor(221, 221, 255) << true;
        QTest::newRow("pctOrphanArrow") << Marker::OrphanArrow << QColor(255, 225, 196) << true;
        QTest::newRow("pctArrow, dark") << Marker::Arrow << QColor(30, 30, 30) << true;
    }

    void marker()
    {
        QFETCH(Marker, marker);
        QFETCH(QColor, row);
        QFETCH(bool, arrow);
        // The arrow: 'r' pixels on the background '.'.
        const char* const art[] = {"......r...", "......rr..", "......rrr.", "rrrrrrrrrr",
                                   "rrrrrrrrrr", "......rrr.", "......rr..", "......r..."};
        const QImage image = RowMarkers::DrawMarker(marker, row);
        QCOMPARE(image.size(), QSize(10, 8));
        // An arrow stands on the row's colour; a bookmark is a block of its own.
        const QColor background = image.pixelColor(0, 0);
        const bool bookmark = marker == Marker::Bookmark || marker == Marker::BookmarkArrow;
        QCOMPARE(background == row, !bookmark);
        for (int y = 0; y < 8; ++y) {
            QString shown;
            for (int x = 0; x < 10; ++x)
                shown += image.pixelColor(x, y) == background ? u'.' : u'r';
            QCOMPARE(shown, arrow ? QString::fromLatin1(art[y]) : QStringLiteral(".........."));
        }
    }
};

QTEST_GUILESS_MAIN(tst_RowMarkers)
#include "tst_RowMarkers.moc"
