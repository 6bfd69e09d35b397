// The nearest readable colour, at the least contrast it must reach: greys
// on white, where 118 is the lightest to reach 4.5 (119 gets 4.48).

#include "app/ColorContrast.h"

#include <QTest>

#include <cmath>

using ColorContrast::Contrast;

class tst_ColorContrast : public QObject {
    Q_OBJECT
private slots:
    void readable_data()
    {
        QTest::addColumn<int>("wanted");
        QTest::addColumn<double>("minContrast");
        QTest::addColumn<int>("expected");  // 0: any darker grey that reaches it
        const double at118 = Contrast(QColor(118, 118, 118), Qt::white);
        QTest::newRow("reached exactly: kept") << 118 << at118 << 118;
        QTest::newRow("just missed: darker") << 118 << std::nextafter(at118, 21.0) << 0;
        QTest::newRow("a mix that reaches it exactly") << 160 << at118 << 118;
    }

    void readable()
    {
        QFETCH(int, wanted);
        QFETCH(double, minContrast);
        QFETCH(int, expected);
        const QColor readable = ColorContrast::Readable(QColor(wanted, wanted, wanted), Qt::white, minContrast);
        QVERIFY(Contrast(readable, Qt::white) >= minContrast);
        QVERIFY(readable.red() == readable.green() && readable.green() == readable.blue());
        if (expected)
            QCOMPARE(readable.red(), expected);
        else
            QVERIFY(readable.red() < wanted);
    }
};

QTEST_GUILESS_MAIN(tst_ColorContrast)
#include "tst_ColorContrast.moc"
