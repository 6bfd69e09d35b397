#include "about/frmSplash.h"

#include "about/AboutResources.h"

#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kTwipsPerPixel = 15;

int Pixels(int twips)
{
    return twips / kTwipsPerPixel;
}

}  // namespace

void ClickableImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit Click();
}

frmSplash::frmSplash(std::function<void()> loadMainWindow, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), imgLogo(new ClickableImage(this)),
      Timer1(new QTimer(this)), m_loadMainWindow(std::move(loadMainWindow))
{
    InitAboutResources();
    setObjectName(QStringLiteral("frmSplash"));
    setAccessibleName(QStringLiteral("Vantrel"));
    setAccessibleDescription(QStringLiteral("Vantrel is starting"));
    setFixedSize(Pixels(4830), Pixels(2370));
    // The logo overlaps the client area by two pixels on each side, so that
    // no edge of the window shows around it.
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(-2, -2, Pixels(4890), Pixels(2415));
    imgLogo->setContentsMargins(2, 2, 2, 1);
    imgLogo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QIcon logo;
    logo.addFile(QStringLiteral(":/about/images/logo.png"), size());
    logo.addFile(QStringLiteral(":/about/images/logo@2x.png"), size() * 2);
    imgLogo->setPixmap(logo.pixmap(size(), devicePixelRatioF()));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(false);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    connect(imgLogo, &ClickableImage::Click, this, &frmSplash::imgLogo_Click);
}

void frmSplash::Form_Load()
{
    Timer1->setInterval(2000);
    Timer1->start();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

void frmSplash::Timer1_Timer()
{
    // The timer stops first, and a second call (a click arriving while the
    // main window loads) finds the switch already made.
    Timer1->stop();
    if (m_switched)
        return;
    m_switched = true;
    hide();
    if (m_loadMainWindow)
        m_loadMainWindow();
    close();
}

void frmSplash::imgLogo_Click()
{
    Timer1_Timer();
}
