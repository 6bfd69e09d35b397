// The other-products window: contents, its buttons, and its links.

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
        m_previous = ShellOpen::SetOpener([this](const QString& target) { m_opened.append(target); });
    }

    void cleanup() { ShellOpen::SetOpener(m_previous); }

    void designedLook()
    {
        frmProducts products;
        QCOMPARE(products.windowTitle(), QStringLiteral("Other Products from Quellan Software"));
        QCOMPARE(products.size(), QSize(401, 305));
        QCOMPARE(products.minimumSize(), products.maximumSize());
        QCOMPARE(products.cmdOK->text(), QStringLiteral("OK"));
        QCOMPARE(products.cmdOK->geometry(), QRect(167, 250, 69, 21));
        // The focus holder is the default button and lies outside the window.
        QVERIFY(products.cmdFocus->isDefault());
        QVERIFY(!products.rect().intersects(products.cmdFocus->geometry()));
        QCOMPARE(products.lblProductLink.size(), 2);
        const auto others = ProductInfo::OtherProducts();
        for (int i = 0; i < 2; ++i) {
            const auto* name = products.findChild<QLabel*>(QStringLiteral("lblProductName%1").arg(i));
            QVERIFY(name);
            QCOMPARE(name->text(), others.at(static_cast<std::size_t>(i)).name);
            QCOMPARE(name->font().styleHint(), QFont::Serif);
            QVERIFY(products.findChild<QFrame*>(QStringLiteral("fraProduct%1").arg(i)));
        }
        for (LinkLabel* label : products.lblProductLink + QList<LinkLabel*>{products.lblMakerLink})
            QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    }

    void keysThatDoNotClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    void keysThatDoNotClose()
    {
        QFETCH(int, key);
        frmProducts products;
        products.show();
        products.Form_Activate();
        QCOMPARE(products.focusWidget(), products.cmdFocus);
        QTest::keyClick(&products, Qt::Key(key));
        QVERIFY(products.isVisible());
        QCOMPARE(products.result(), int(QDialog::Rejected));
    }

    void okCloses()
    {
        frmProducts products;
        products.show();
        QTest::mouseClick(products.cmdOK, Qt::LeftButton);
        QVERIFY(!products.isVisible());
        QCOMPARE(products.result(), int(QDialog::Accepted));
    }

    void linksOpenTheirCaption_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("opened");
        QTest::newRow("first product") << QStringLiteral("lblProductLink0") << ProductInfo::OtherProducts()[0].webAddress;
        QTest::newRow("second product") << QStringLiteral("lblProductLink1") << ProductInfo::OtherProducts()[1].webAddress;
        QTest::newRow("maker") << QStringLiteral("lblMakerLink") << ProductInfo::kMakerWebSite;
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
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(m_opened, QStringList{opened});
        QVERIFY(products.isVisible());
        // A right click opens nothing.
        QTest::mouseClick(link, Qt::RightButton);
        QCOMPARE(m_opened.size(), 1);
    }
};

QTEST_MAIN(tst_frmProducts)
#include "tst_frmProducts.moc"
