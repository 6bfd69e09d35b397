#include "help/HelpWindow.h"

#include "app/ColorContrast.h"
#include "app/Globals.h"
#include "app/Locations.h"
#include "app/Prompt.h"

#include <QHBoxLayout>
#include <QEvent>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* Button(QWidget* parent, const QString& caption, QStyle::StandardPixmap icon, const QString& name)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

HelpWindow::HelpWindow(const QString& folder, QWidget* owner)
    : QWidget(owner, Qt::Window), m_folder(folder), m_browser(new QTextBrowser(this)),
      m_contents(
          Button(this, QStringLiteral("&Contents"), QStyle::SP_FileDialogContentsView, QStringLiteral("cmdContents"))),
      m_back(Button(this, QStringLiteral("&Back"), QStyle::SP_ArrowBack, QStringLiteral("cmdBack"))),
      m_forward(Button(this, QStringLiteral("&Forward"), QStyle::SP_ArrowForward, QStringLiteral("cmdForward")))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Vantrel Help"));
    setAccessibleDescription(QStringLiteral("The manual; Contents, Back and Forward move between its pages"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setSearchPaths({folder});
    // Web and mail addresses go to the user's own programs; pages of the
    // manual stay here.
    m_browser->setOpenExternalLinks(true);
    m_browser->document()->setDefaultStyleSheet(StyleSheet(m_browser->palette()));
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 2, 4, 2);
    for (QToolButton* button : {m_contents, m_back, m_forward})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_contents, &QToolButton::clicked, this, [this] { Open(kContents); });
    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Vantrel Help") : QStringLiteral("Vantrel Help - ") + title);
    });
    resize(760, 600);
}

void HelpWindow::Open(const QString& topic)
{
    QUrl url = QUrl::fromLocalFile(m_folder + topic.section(QLatin1Char('#'), 0, 0));
    url.setFragment(topic.section(QLatin1Char('#'), 1), QUrl::DecodedMode);
    m_browser->setSource(url);
}

QString HelpWindow::StyleSheet(const QPalette& palette)
{
    using ColorContrast::Readable;
    const QColor base = palette.color(QPalette::Base);
    const QColor shade = ColorContrast::Mix(base, palette.color(QPalette::Text), 0.08);
    // A browser draws links in the application's link colour, not the
    // window's, so they are given here.
    return QStringLiteral("a { color: %1; } h1, h2 { color: %2; } .red { color: %3; } "
                          "pre { background-color: %4; } th { background-color: %5; }")
        .arg(Readable(palette.color(QPalette::Link), base).name(), Readable(QColor(0x1c, 0x3a, 0x68), base).name(),
             Readable(QColor(Qt::red), base).name(), shade.name(),
             ColorContrast::Mix(base, palette.color(QPalette::Highlight), 0.15).name());
}

void HelpWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // A desktop that turns dark (or light) gets the page drawn again in
    // colours readable on it.
    if (event->type() == QEvent::PaletteChange) {
        m_browser->document()->setDefaultStyleSheet(StyleSheet(palette()));
        if (!m_browser->source().isEmpty())
            m_browser->reload();
    }
}

QUrl HelpWindow::Source() const
{
    return m_browser->source();
}

HelpWindow* HelpWindow::ShowTopic(QWidget* owner, const QString& topic)
{
    HelpWindow* window = owner ? owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window) {
        const QString folder = modVantrel::HelpFolder(modVantrel::gAppFolder);
        if (folder.isEmpty()) {
            modVantrel::MsgBox(QStringLiteral("The help was not found. It was looked for in:\r\n")
                                   + modVantrel::HelpFolders(modVantrel::gAppFolder).join(QStringLiteral("\r\n")),
                               modVantrel::PromptButtons::Ok, modVantrel::PromptIcon::Exclamation,
                               QStringLiteral("Vantrel Help"));
            return nullptr;
        }
        window = new HelpWindow(folder, owner);
    }
    window->Open(topic);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
