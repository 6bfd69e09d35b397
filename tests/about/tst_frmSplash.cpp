// The splash window: its look, and the single switch to the main window.

#include "about/frmSplash.h"

#include <QTest>
#include <QTimer>

class tst_frmSplash : public QObject {
    Q_OBJECT

private slots:
    void loadShowsLogoAndStartsTimer()
    {
        frmSplash splash([] {});
        splash.Form_Load();
        QVERIFY(splash.isVisible());
        QVERIFY(splash.Timer1->isActive());
        QCOMPARE(splash.Timer1->interval(), 2000);
        QCOMPARE(splash.size(), QSize(322, 158));
        QCOMPARE(splash.imgLogo->geometry(), QRect(-2, -2, 326, 161));
        QVERIFY(!splash.imgLogo->pixmap().isNull());
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    }

    void switchHappensOnce_data()
    {
        QTest::addColumn<bool>("byClick");
        QTest::newRow("timer") << false;
        QTest::newRow("click on the logo") << true;
    }

    void switchHappensOnce()
    {
        QFETCH(bool, byClick);
        int loads = 0;
        bool splashHiddenWhileLoading = false;
        frmSplash* self = nullptr;
        frmSplash splash([&] {
            ++loads;
            splashHiddenWhileLoading = !self->isVisible() && !self->Timer1->isActive();
        });
        self = &splash;
        splash.Form_Load();
        if (byClick)
            QTest::mouseClick(splash.imgLogo, Qt::LeftButton);
        else
            splash.Timer1_Timer();
        QCOMPARE(loads, 1);
        QVERIFY(splashHiddenWhileLoading);
        QVERIFY(!splash.Timer1->isActive());
        QVERIFY(!splash.isVisible());
        // A late click or timer tick does not load a second main window.
        splash.imgLogo_Click();
        splash.Timer1_Timer();
        QCOMPARE(loads, 1);
    }

    void rightClickDoesNotSkip()
    {
        int loads = 0;
        frmSplash splash([&] { ++loads; });
        splash.Form_Load();
        QTest::mouseClick(splash.imgLogo, Qt::RightButton);
        QCOMPARE(loads, 0);
        QVERIFY(splash.Timer1->isActive());
    }
};

QTEST_MAIN(tst_frmSplash)
#include "tst_frmSplash.moc"
