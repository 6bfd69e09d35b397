// The other-products window: its buttons and its links.

#include "about/LinkLabel.h"
#include "about/ProductInfo.h"
#include "about/ShellOpen.h"
#include "about/frmProducts.h"

#include <QPushButton>
#include <QTest>

class tst_frmProducts : public QObject {
    Q_OBJECT

    QStringList m_opened;
    ShellOpen::Opener m_previous;

private slots:
    void init()
    {
        m_opened.clear();
        m_previous = ShellOpen::SetOpener([this](const QUrl& target) {
            m_opened.append(target.toString());
            return true;
        });
    }

    void cleanup() { ShellOpen::SetOpener(m_previous); }

    // Only OK closes the window; Enter presses the focus holder, which lies
    // outside the window.
    void onlyOkCloses_data()
    {
        QTest::addColumn<int>("key");  // 0: a click on OK
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("OK") << 0;
    }

    void onlyOkCloses()
    {
        QFETCH(int, key);
        frmProducts products;
        products.show();
        products.Form_Activate();
        QCOMPARE(products.focusWidget(), products.cmdFocus);
        QVERIFY(!products.rect().intersects(products.cmdFocus->geometry()));
        QCOMPARE(products.minimumSize(), products.maximumSize());
        if (key)
            QTest::keyClick(&products, Qt::Key(key));
        else
            QTest::mouseClick(products.cmdOK, Qt::LeftButton);
        QCOMPARE(products.isVisible(), key != 0);
        QCOMPARE(products.result(), key ? int(QDialog::Rejected) : int(QDialog::Accepted));
    }

    void linksOpenTheirCaption_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("opened");
        QTest::newRow("first product") << "lblProductLink0" << ProductInfo::OtherProducts()[0].webAddress;
        QTest::newRow("second product") << "lblProductLink1" << ProductInfo::OtherProducts()[1].webAddress;
        QTest::newRow("maker") << "lblMakerLink" << ProductInfo::kMakerWebSite;
    }

    void linksOpenTheirCaption()
    {
        QFETCH(QString, label);
        QFETCH(QString, opened);
        frmProducts products;
        products.show();
        auto* link = products.findChild<LinkLabel*>(label);
        QVERIFY(link);
        QCOMPARE(link->text(), opened);
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(link, Qt::RightButton);  // opens nothing
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(m_opened, QStringList{opened});
        QVERIFY(products.isVisible());
    }
};

QTEST_MAIN(tst_frmProducts)
#include "tst_frmProducts.moc"
