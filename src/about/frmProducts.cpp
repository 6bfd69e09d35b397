#include "about/frmProducts.h"

#include "about/AboutResources.h"
#include "about/LinkLabel.h"
#include "about/ProductInfo.h"
#include "about/ShellOpen.h"

#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kTwipsPerPixel = 15;

int Pixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr int kPanelLeft = 8;
constexpr int kPanelHeight = 106;

}  // namespace

frmProducts::frmProducts(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      lblMakerLink(new LinkLabel(ProductInfo::kMakerWebSite, this)), cmdOK(new QPushButton(QStringLiteral("OK"), this)),
      cmdFocus(new QPushButton(this))
{
    InitAboutResources();
    setObjectName(QStringLiteral("frmProducts"));
    setWindowTitle(QStringLiteral("Other Products from Quellan Software"));
    setAccessibleDescription(QStringLiteral("The maker's other products, each with a link to its web page"));
    setFixedSize(Pixels(6015), Pixels(4575));
    AddProductPanel(0, 8);
    AddProductPanel(1, 8 + kPanelHeight + 6);
    lblMakerLink->setObjectName(QStringLiteral("lblMakerLink"));
    lblMakerLink->setAlignment(Qt::AlignCenter);
    lblMakerLink->setGeometry(kPanelLeft, 230, width() - 2 * kPanelLeft, 16);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Pixels(2498), Pixels(3750), Pixels(1035), Pixels(315));
    cmdOK->setAutoDefault(false);
    // The focus holder stands outside the client area and is the default
    // button, so Enter presses a button that does nothing.
    cmdFocus->setObjectName(QStringLiteral("cmdFocus"));
    cmdFocus->setGeometry(Pixels(6990), Pixels(1860), Pixels(195), Pixels(195));
    cmdFocus->setDefault(true);
    // What a screen reader says on arriving, where no button shows the focus.
    cmdFocus->setAccessibleName(windowTitle());
    cmdFocus->setAccessibleDescription(QStringLiteral("Tab goes to the links and to OK"));
    connect(cmdOK, &QPushButton::clicked, this, &frmProducts::cmdOK_Click);
    for (LinkLabel* label : lblProductLink + QList<LinkLabel*>{lblMakerLink})
        connect(label, &LinkLabel::Click, this, [this, label] { LinkLabel_Click(label); });
    Form_Load();
}

void frmProducts::AddProductPanel(int index, int top)
{
    const ProductInfo::Product product = ProductInfo::OtherProducts().at(static_cast<std::size_t>(index));
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("fraProduct%1").arg(index));
    panel->setFrameShape(QFrame::Box);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(kPanelLeft, top, width() - 2 * kPanelLeft, kPanelHeight);
    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("imgProduct%1").arg(index));
    QIcon picture;
    picture.addFile(product.iconPath, QSize(32, 32));
    picture.addFile(QString(product.iconPath).replace(QStringLiteral(".png"), QStringLiteral("@2x.png")),
                    QSize(64, 64));
    icon->setPixmap(picture.pixmap(QSize(32, 32), devicePixelRatioF()));
    icon->setGeometry(10, 12, 32, 32);
    auto* name = new QLabel(product.name, panel);
    name->setObjectName(QStringLiteral("lblProductName%1").arg(index));
    QFont serif(QStringLiteral("Liberation Serif"));
    serif.setStyleHint(QFont::Serif);
    serif.setPointSize(14);
    serif.setBold(true);
    name->setFont(serif);
    name->setGeometry(52, 8, panel->width() - 60, 26);
    auto* description = new QLabel(product.description, panel);
    description->setObjectName(QStringLiteral("lblProductDescription%1").arg(index));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description->setGeometry(52, 38, panel->width() - 60, 36);
    auto* link = new LinkLabel(product.webAddress, panel);
    link->setObjectName(QStringLiteral("lblProductLink%1").arg(index));
    link->setGeometry(52, 80, panel->width() - 60, 16);
    lblProductLink.append(link);
}

void frmProducts::Form_Load()
{
    // Every link label shows the same pointing hand while the pointer is
    // over it.
    const QCursor hand(Qt::PointingHandCursor);
    for (LinkLabel* label : lblProductLink + QList<LinkLabel*>{lblMakerLink})
        label->setCursor(hand);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmProducts::Form_Activate()
{
    cmdFocus->setFocus(Qt::ActiveWindowFocusReason);
}

void frmProducts::cmdOK_Click()
{
    accept();
}

void frmProducts::LinkLabel_Click(const LinkLabel* label)
{
    ShellOpen::Open(label->text());
}

bool frmProducts::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QDialog::event(event);
}

void frmProducts::keyPressEvent(QKeyEvent* event)
{
    // Only OK and the close box close the window; Escape does not.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
