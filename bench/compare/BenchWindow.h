#pragma once
// The main window as the benchmarks drive it: offscreen, with its own INI
// folder, the path library loaded and fresh application objects; and a
// watch that tells when chosen widgets have been painted.

#include "app/Globals.h"
#include "app/PathMix.h"
#include "app/Prompt.h"
#include "engine/cDiffEngine.h"
#include "mainwindow/frmFileDiffs.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <chrono>
#include <memory>
#include <vector>

// Answers every prompt at once, so no message box can stall a run.
class SilentPrompts final : public modVantrel::PromptSeam {
public:
    modVantrel::PromptAnswer message(const modVantrel::MessagePrompt&) override
    {
        ++messages;
        return modVantrel::PromptAnswer::Ok;
    }
    std::optional<QString> input(const modVantrel::InputPrompt&) override { return std::nullopt; }
    std::optional<QString> openFile(const modVantrel::FilePrompt&) override { return std::nullopt; }
    std::optional<QString> saveFile(const modVantrel::FilePrompt&) override { return std::nullopt; }
    std::optional<QFont> font(const modVantrel::FontPrompt&) override { return std::nullopt; }
    void showModal(QWidget*) override {}
    int messages = 0;
};

struct BenchWindow {
    QTemporaryDir folder;  // the INI file of this run
    SilentPrompts prompts;
    std::unique_ptr<frmFileDiffs> form;

    // False when the path library is not beside the benchmark.
    [[nodiscard]] bool Open()
    {
        using namespace modVantrel;
        gAppFolder = folder.path() + QLatin1Char('/');
        if (!PathMix::Load(QCoreApplication::applicationDirPath() + QLatin1Char('/')))
            return false;
        SetPrompts(&prompts);
        gOptions = std::make_unique<cViewFileDiffsOptions>();
        gDiffEngine = std::make_unique<cDiffEngine>();
        form = std::make_unique<frmFileDiffs>();
        form->Form_Load();
        return true;
    }
    // What the user looks at after a command: both grids, the difference
    // bar and both boxes of the detail pane.
    [[nodiscard]] std::vector<QWidget*> Panes() const
    {
        return {form->grdFileOne->viewport(), form->grdFileTwo->viewport(), form->pctDiffsBar,
                form->rtfLineDiff[0]->viewport(), form->rtfLineDiff[1]->viewport()};
    }
};

// Records which of its widgets received a paint event since the last Reset.
class PaintWatch final : public QObject {
public:
    explicit PaintWatch(std::vector<QWidget*> widgets) : m_widgets(std::move(widgets)), m_painted(m_widgets.size())
    {
        for (QWidget* w : m_widgets)
            w->installEventFilter(this);
    }
    void Reset() { std::fill(m_painted.begin(), m_painted.end(), false); }
    [[nodiscard]] bool AllPainted() const
    {
        return std::all_of(m_painted.begin(), m_painted.end(), [](bool p) { return p; });
    }
    // Lets pending events run (paint events among them) until every widget
    // has been painted since Reset; false when that took over `limit`
    // seconds.
    bool Wait(double limit = 600)
    {
        const auto start = std::chrono::steady_clock::now();
        while (!AllPainted()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > limit)
                return false;
        }
        return true;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            for (std::size_t i = 0; i < m_widgets.size(); ++i)
                if (m_widgets[i] == watched)
                    m_painted[i] = true;
        return false;
    }

private:
    std::vector<QWidget*> m_widgets;
    std::vector<bool> m_painted;
};

inline double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
