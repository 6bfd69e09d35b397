// The About text and one version for the About box, vantrel-diff and the
// package (the one project() in the top-level CMakeLists.txt names); the
// splash window and the other-products window.

#include "about/LinkLabel.h"
#include "about/ProductInfo.h"
#include "about/ShellOpen.h"
#include "about/frmProducts.h"
#include "about/frmSplash.h"
#include "support/FileBytes.h"
#include "support/TestEnvironment.h"

#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

class tst_About : public QObject {
    Q_OBJECT
    QStringList m_opened;

private slots:
    void initTestCase()
    {
        ShellOpen::SetOpener([this](const QUrl& target) {
            m_opened.append(target.toString());
            return true;
        });
    }

    // Written 1.01.0300 elsewhere: plain numbers, no leading zeros.
    void text()
    {
        QCOMPARE(
            ProductInfo::AboutText(1, 1, 300),
            QStringLiteral("Vantrel v1.1.300\r\n\r\nDeveloped by Quellan Software\r\nquellan.example.org\r\n\r\n"));
    }

    void oneVersion()
    {
        const QByteArray lists = FileBytes::Read(qEnvironmentVariable("VANTREL_SOURCE_DIR") + "/CMakeLists.txt");
        const QString version = QRegularExpression(QStringLiteral(R"(project\(Vantrel\s+VERSION\s+(\d+\.\d+\.\d+))"))
                                    .match(QString::fromUtf8(lists))
                                    .captured(1);
        QVERIFY(ProductInfo::AboutText().startsWith("Vantrel v" + version + "\r\n"));
        QProcess diff;
        diff.start(TestEnvironment::BinDir() + QStringLiteral("vantrel-diff"), {QStringLiteral("--version")});
        QVERIFY(diff.waitForFinished(10000) && diff.exitCode() == 0);
        const QList<QByteArray> lines = diff.readAllStandardOutput().split('\n');
        QCOMPARE(lines.value(0), QStringLiteral("vantrel-diff %1").arg(version).toUtf8());
        QVERIFY(lines.value(2).startsWith("License GPLv3+"));
    }

    // The logo for two seconds or until clicked, then the main window, once.
    void splashSwitchesOnce_data()
    {
        QTest::addColumn<QString>("by");
        QTest::addColumn<int>("loads");
        QTest::newRow("timer") << "timer" << 1;
        QTest::newRow("left click on the logo") << "left" << 1;
        QTest::newRow("right click on the logo") << "right" << 0;
    }

    void splashSwitchesOnce()
    {
        QFETCH(QString, by);
        QFETCH(int, loads);
        int loaded = 0;
        bool hiddenWhileLoading = false;
        frmSplash splash([&] {
            ++loaded;
            hiddenWhileLoading = !splash.isVisible() && !splash.Timer1->isActive();
        });
        splash.Form_Load();
        QVERIFY(splash.isVisible() && !splash.imgLogo->pixmap().isNull());
        QVERIFY(splash.Timer1->isActive() && splash.Timer1->interval() == 2000);
        if (by == QLatin1String("timer"))
            splash.Timer1->setInterval(1);  // its tick, without the two seconds' wait
        else
            QTest::mouseClick(splash.imgLogo, by == QLatin1String("left") ? Qt::LeftButton : Qt::RightButton);
        QTRY_COMPARE(loaded, loads);
        // Late clicks and ticks load at most one main window.
        splash.imgLogo_Click();
        splash.Timer1_Timer();
        QCOMPARE(loaded, 1);
        QVERIFY(hiddenWhileLoading);
    }

    // Each link opens the address it shows, on a left click only, and leaves
    // the products window open; only OK closes it. Enter presses the focus
    // holder, which lies outside the window.
    void productsOnlyOkCloses_data()
    {
        QTest::addColumn<int>("key");  // 0: a click on OK
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("OK") << 0;
    }

    void productsOnlyOkCloses()
    {
        QFETCH(int, key);
        frmProducts products;
        products.show();
        const QStringList labels{"lblProductLink0", "lblProductLink1", "lblMakerLink"};
        const QStringList addresses{ProductInfo::OtherProducts()[0].webAddress,
                                    ProductInfo::OtherProducts()[1].webAddress, ProductInfo::kMakerWebSite};
        m_opened.clear();
        for (qsizetype i = 0; i < labels.size(); ++i) {
            auto* link = products.findChild<LinkLabel*>(labels[i]);
            QVERIFY2(link && link->text() == addresses[i], qPrintable(labels[i]));
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(link, Qt::RightButton);
            QTest::mouseClick(link, Qt::LeftButton);
        }
        QCOMPARE(m_opened, addresses);
        products.Form_Activate();
        QCOMPARE(products.focusWidget(), products.cmdFocus);
        QVERIFY(products.isVisible() && !products.rect().intersects(products.cmdFocus->geometry()));
        QCOMPARE(products.minimumSize(), products.maximumSize());
        if (key)
            QTest::keyClick(&products, Qt::Key(key));
        else
            QTest::mouseClick(products.cmdOK, Qt::LeftButton);
        QCOMPARE(products.isVisible(), key != 0);
        QCOMPARE(products.result(), key ? int(QDialog::Rejected) : int(QDialog::Accepted));
    }
};

QTEST_MAIN(tst_About)
#include "tst_About.moc"
