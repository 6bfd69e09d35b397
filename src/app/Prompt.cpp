#include "app/Prompt.h"

#include "app/ChosenFileName.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

#include <cstdio>

namespace modVantrel {
namespace {

// Scripts that drive the program without a visible screen ask for every
// message the user is shown on standard error, one line each; nobody else
// wants them there.
void LogMessage(const MessagePrompt& p)
{
    if (qEnvironmentVariable("VANTREL_LOG_PROMPTS") != QLatin1String("1"))
        return;
    const QString line = QStringLiteral("vantrel.prompt: ") + p.title + QStringLiteral(" | ")
                         + QString(p.text).replace(QLatin1String("\r\n"), QLatin1String(" / ")) + u'\n';
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

QMessageBox::Icon ToQtIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Exclamation: return QMessageBox::Warning;
    case PromptIcon::Critical: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

class QtPrompts final : public PromptSeam {
public:
    PromptAnswer message(const MessagePrompt& p) override
    {
        LogMessage(p);
        QMessageBox box(ToQtIcon(p.icon), p.title, p.text, ToQtButtons(p.buttons), QApplication::activeWindow());
        box.setAccessibleDescription(p.text);
        switch (box.exec()) {
        case QMessageBox::Cancel: return PromptAnswer::Cancel;
        case QMessageBox::Yes: return PromptAnswer::Yes;
        case QMessageBox::No: return PromptAnswer::No;
        default: return PromptAnswer::Ok;
        }
    }

    std::optional<QString> input(const InputPrompt& p) override
    {
        QInputDialog box(QApplication::activeWindow());
        box.setWindowTitle(p.title);
        box.setLabelText(p.text);
        box.setTextValue(p.defaultText);
        box.setAccessibleDescription(p.text);
        if (box.exec() != QDialog::Accepted)
            return std::nullopt;
        return box.textValue();
    }

    std::optional<QString> openFile(const FilePrompt& p) override
    {
        QString name = QFileDialog::getOpenFileName(QApplication::activeWindow(), p.title, p.folder, p.filter);
        if (name.isEmpty())
            return std::nullopt;
        return ChosenFileName(name);
    }

    std::optional<QString> openFolder(const FilePrompt& p) override
    {
        QString name = QFileDialog::getExistingDirectory(QApplication::activeWindow(), p.title, p.folder);
        if (name.isEmpty())
            return std::nullopt;
        return ChosenFileName(name);
    }

    std::optional<QString> saveFile(const FilePrompt& p) override
    {
        QString name = QFileDialog::getSaveFileName(QApplication::activeWindow(), p.title, p.folder, p.filter);
        if (name.isEmpty())
            return std::nullopt;
        return name;
    }

    std::optional<QFont> font(const FontPrompt& p) override
    {
        bool ok = false;
        QFont chosen = QFontDialog::getFont(&ok, p.initial, QApplication::activeWindow(), p.title);
        if (!ok)
            return std::nullopt;
        return chosen;
    }

    void showModal(QWidget* window) override
    {
        if (auto* dialog = qobject_cast<QDialog*>(window)) {
            dialog->exec();
            return;
        }
        window->setWindowModality(Qt::ApplicationModal);
        window->show();
        while (window->isVisible())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
};

QtPrompts gQtPrompts;
PromptSeam* gCurrent = &gQtPrompts;

}  // namespace

PromptSeam& Prompts()
{
    return *gCurrent;
}

PromptSeam* SetPrompts(PromptSeam* seam)
{
    PromptSeam* previous = gCurrent;
    gCurrent = seam ? seam : &gQtPrompts;
    return previous;
}

PromptAnswer MsgBox(const QString& text, PromptButtons buttons, PromptIcon icon, const QString& title)
{
    return Prompts().message(MessagePrompt{title, text, icon, buttons});
}

}  // namespace modVantrel
