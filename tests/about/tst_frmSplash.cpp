// The splash window: the logo for two seconds or until clicked, then the
// main window, once.

#include "about/frmSplash.h"

#include <QTest>
#include <QTimer>

class tst_frmSplash : public QObject {
    Q_OBJECT

private slots:
    void switchHappensOnce_data()
    {
        QTest::addColumn<QString>("by");
        QTest::addColumn<int>("loads");
        QTest::newRow("timer") << "timer" << 1;
        QTest::newRow("left click on the logo") << "left" << 1;
        QTest::newRow("right click on the logo") << "right" << 0;
    }

    void switchHappensOnce()
    {
        QFETCH(QString, by);
        QFETCH(int, loads);
        int loaded = 0;
        bool hiddenWhileLoading = false;
        frmSplash* self = nullptr;
        frmSplash splash([&] {
            ++loaded;
            hiddenWhileLoading = !self->isVisible() && !self->Timer1->isActive();
        });
        self = &splash;
        splash.Form_Load();
        QVERIFY(splash.isVisible() && !splash.imgLogo->pixmap().isNull());
        QVERIFY(splash.Timer1->isActive());
        QCOMPARE(splash.Timer1->interval(), 2000);
        if (by == QLatin1String("timer"))
            splash.Timer1_Timer();
        else
            QTest::mouseClick(splash.imgLogo, by == QLatin1String("left") ? Qt::LeftButton : Qt::RightButton);
        QCOMPARE(loaded, loads);
        QCOMPARE(splash.isVisible(), loads == 0);
        QCOMPARE(splash.Timer1->isActive(), loads == 0);
        // Late clicks and ticks load at most one main window.
        splash.imgLogo_Click();
        splash.Timer1_Timer();
        QCOMPARE(loaded, 1);
        QVERIFY(hiddenWhileLoading);
    }
};

QTEST_MAIN(tst_frmSplash)
#include "tst_frmSplash.moc"
