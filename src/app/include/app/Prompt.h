#pragma once
// The one seam through which every modal question or message reaches the
// user. Production shows Qt dialogs; tests install a replacement that records
// each prompt and answers it, so no test can hang on a dialog.

#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace modVantrel {

enum class PromptIcon { None, Information, Exclamation, Critical, Question };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct MessagePrompt {
    QString title;
    QString text;
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
};

struct InputPrompt {
    QString title;
    QString text;
    QString defaultText;
};

struct FilePrompt {
    QString title;
    QString folder;  // where the dialog starts
    QString filter;  // Qt name filter, e.g. "All Files (*)"
};

struct FontPrompt {
    QString title;
    QFont initial;
};

class PromptSeam {
public:
    virtual ~PromptSeam() = default;
    virtual PromptAnswer message(const MessagePrompt& prompt) = 0;
    // An empty optional means the user cancelled.
    virtual std::optional<QString> input(const InputPrompt& prompt) = 0;
    // The chosen file's name in the text form of FileNameText.
    virtual std::optional<QString> openFile(const FilePrompt& prompt) = 0;
    virtual std::optional<QString> saveFile(const FilePrompt& prompt) = 0;
    // A folder (the filter is not used); cancelled unless a seam offers it.
    virtual std::optional<QString> openFolder(const FilePrompt& prompt)
    {
        (void)prompt;
        return std::nullopt;
    }
    virtual std::optional<QFont> font(const FontPrompt& prompt) = 0;
    // Shows a window modally (for windows of our own such as the other-products
    // window). Tests may close it at once instead.
    virtual void showModal(QWidget* window) = 0;
};

// The seam in force. Never null: starts as the Qt implementation.
[[nodiscard]] PromptSeam& Prompts();
// Installs a replacement (not owned) and returns the previous one; nullptr
// restores the Qt implementation.
PromptSeam* SetPrompts(PromptSeam* seam);

// Shorthand for the common case of a message box.
PromptAnswer MsgBox(const QString& text, PromptButtons buttons, PromptIcon icon, const QString& title);

}  // namespace modVantrel
