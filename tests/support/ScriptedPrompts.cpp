#include "support/ScriptedPrompts.h"

#include <QWidget>
#include <stdexcept>

using namespace modVantrel;

ScriptedPrompts::ScriptedPrompts() : m_previous(SetPrompts(this))
{
}

ScriptedPrompts::~ScriptedPrompts()
{
    SetPrompts(m_previous);
}

const MessagePrompt& ScriptedPrompts::lastMessage() const
{
    if (messages.isEmpty())
        throw std::logic_error("no message was shown");
    return messages.constLast();
}

PromptAnswer ScriptedPrompts::message(const MessagePrompt& prompt)
{
    messages.append(prompt);
    // The step may replace itself, so it runs from a copy.
    if (const std::function<void()> step = whileMessageShown)
        step();
    if (!messageAnswers.empty()) {
        const PromptAnswer answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    return prompt.buttons == PromptButtons::YesNo || prompt.buttons == PromptButtons::YesNoCancel ? PromptAnswer::Yes
                                                                                                  : PromptAnswer::Ok;
}

void ScriptedPrompts::showModal(QWidget* window)
{
    modalWindows.append(window->objectName());
    if (const std::function<void(QWidget*)> step = whileModalShown)
        step(window);
}
