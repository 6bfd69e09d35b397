#pragma once
// A prompt seam for tests: records every prompt and answers from a script.
// Installs itself on construction and restores the previous seam when it
// goes out of scope.

#include "app/Prompt.h"

#include <QList>
#include <QWidget>
#include <functional>
#include <deque>
#include <stdexcept>

class ScriptedPrompts final : public modVantrel::PromptSeam {
public:
    ScriptedPrompts() : m_previous(modVantrel::SetPrompts(this)) {}
    ~ScriptedPrompts() override { modVantrel::SetPrompts(m_previous); }
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    // Answers used in order; when they run out, messages get Ok (or Yes),
    // and the other prompts are cancelled.
    std::deque<modVantrel::PromptAnswer> messageAnswers;
    std::deque<std::optional<QString>> textAnswers;  // input, openFile, saveFile, openFolder
    std::deque<std::optional<QFont>> fontAnswers;

    QList<modVantrel::MessagePrompt> messages;
    QList<modVantrel::InputPrompt> inputs;
    QList<modVantrel::FilePrompt> files;
    QList<modVantrel::FontPrompt> fonts;
    QStringList modalWindows;  // object names of windows shown modally
    // Runs while a message is up, as a user acting behind it would.
    std::function<void()> whileMessageShown;
    // Runs while a window is shown modally, as the user working in it would.
    std::function<void(QWidget*)> whileModalShown;

    [[nodiscard]] const modVantrel::MessagePrompt& lastMessage() const
    {
        if (messages.isEmpty())
            throw std::logic_error("no message was shown");
        return messages.constLast();
    }

    modVantrel::PromptAnswer message(const modVantrel::MessagePrompt& prompt) override
    {
        messages.append(prompt);
        // The step may replace itself, so it runs from a copy.
        if (const std::function<void()> step = whileMessageShown)
            step();
        const bool yesNo = prompt.buttons == modVantrel::PromptButtons::YesNo
                           || prompt.buttons == modVantrel::PromptButtons::YesNoCancel;
        return Take(messageAnswers, yesNo ? modVantrel::PromptAnswer::Yes : modVantrel::PromptAnswer::Ok);
    }
    std::optional<QString> input(const modVantrel::InputPrompt& prompt) override { return Next(inputs, prompt); }
    std::optional<QString> openFile(const modVantrel::FilePrompt& prompt) override { return Next(files, prompt); }
    std::optional<QString> saveFile(const modVantrel::FilePrompt& prompt) override { return Next(files, prompt); }
    std::optional<QString> openFolder(const modVantrel::FilePrompt& prompt) override { return Next(files, prompt); }
    std::optional<QFont> font(const modVantrel::FontPrompt& prompt) override
    {
        fonts.append(prompt);
        return Take(fontAnswers);
    }
    void showModal(QWidget* window) override
    {
        modalWindows.append(window->objectName());
        if (const std::function<void(QWidget*)> step = whileModalShown)
            step(window);
    }

private:
    // The next answer; `none` (by default a cancel) when they have run out.
    template <class T>
    static T Take(std::deque<T>& answers, T none = {})
    {
        if (answers.empty())
            return none;
        const T answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // Records a prompt that asks for a text and answers it.
    template <class Prompt>
    std::optional<QString> Next(QList<Prompt>& asked, const Prompt& prompt)
    {
        asked.append(prompt);
        return Take(textAnswers);
    }
    modVantrel::PromptSeam* m_previous;
};
