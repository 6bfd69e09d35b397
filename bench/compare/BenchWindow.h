#pragma once
// The main window as the benchmarks drive it: in an offscreen application
// (or on another platform, such as an X display with accessibility on),
// with its own INI folder, the path library loaded and fresh application
// objects; and a watch that tells when chosen widgets have been painted.

#include "app/Globals.h"
#include "app/PathMix.h"
#include "app/Prompt.h"
#include "engine/cDiffEngine.h"
#include "mainwindow/frmFileDiffs.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
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
    // The application is made before every other member and goes after
    // them; argc must outlive it.
    BenchWindow(int& argc, char** argv, const char* platform = "offscreen") : app(Application(argc, argv, platform)) {}

    static std::unique_ptr<QApplication> Application(int& argc, char** argv, const char* platform)
    {
        qputenv("QT_QPA_PLATFORM", platform);
        return std::make_unique<QApplication>(argc, argv);
    }

    std::unique_ptr<QApplication> app;
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
    // The window's controls by the names it gives them.
    template <class T>
    [[nodiscard]] T* Child(const char* name) const
    {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    // side 1: File One, 2: File Two.
    [[nodiscard]] VGrid* Grid(int side) const { return Child<VGrid>(side == 1 ? "grdFileOne" : "grdFileTwo"); }
    [[nodiscard]] LineDiffView* Pane(int side) const
    {
        return Child<LineDiffView>(side == 1 ? "rtfLineDiff0" : "rtfLineDiff1");
    }
    // The paths typed into the boxes; the command is the caller's to run.
    void SetPaths(const QString& one, const QString& two) const
    {
        Child<QLineEdit>("txtFileOne")->setText(one);
        Child<QLineEdit>("txtFileTwo")->setText(two);
    }
    void Run(const char* command) const { Child<QAction>(command)->trigger(); }
    // What the user looks at after a command: both grids, the difference
    // bar and both boxes of the detail pane.
    [[nodiscard]] std::vector<QWidget*> Panes() const
    {
        return {Grid(1)->viewport(), Grid(2)->viewport(), Child<QWidget>("pctDiffsBar"), Pane(1)->viewport(),
                Pane(2)->viewport()};
    }
};

// Records which of its widgets were painted since the last Reset, and when
// the paint that completed the set ended.
class PaintWatch final : public QObject {
public:
    explicit PaintWatch(std::vector<QWidget*> widgets) : m_widgets(std::move(widgets)), m_painted(m_widgets.size())
    {
        for (QWidget* w : m_widgets)
            w->installEventFilter(this);
        Live().push_back(this);
    }
    ~PaintWatch() override { Live().erase(std::find(Live().begin(), Live().end(), this)); }
    PaintWatch(const PaintWatch&) = delete;
    PaintWatch& operator=(const PaintWatch&) = delete;
    void Reset()
    {
        std::fill(m_painted.begin(), m_painted.end(), false);
        m_completed.reset();
    }
    // When the last of the widgets had been painted; work the event loop
    // does after that paint (in the same pass) is not counted.
    [[nodiscard]] std::chrono::steady_clock::time_point Completed() const
    {
        return m_completed.value_or(std::chrono::steady_clock::now());
    }
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
        // The paint is delivered from here, through the widget's other
        // filters (a scroll area paints its viewport from one), so that the
        // time after it is the time the paint ended; every watch learns of
        // it, as the original delivery stops here.
        static bool delivering = false;
        if (event->type() != QEvent::Paint || delivering)
            return false;
        delivering = true;
        QCoreApplication::sendEvent(watched, event);
        delivering = false;
        for (PaintWatch* watch : Live())
            watch->NotePainted(watched);
        return true;
    }

private:
    static std::vector<PaintWatch*>& Live()
    {
        static std::vector<PaintWatch*> watches;
        return watches;
    }
    void NotePainted(QObject* widget)
    {
        for (std::size_t i = 0; i < m_widgets.size(); ++i)
            if (m_widgets[i] == widget)
                m_painted[i] = true;
        if (!m_completed && AllPainted())
            m_completed = std::chrono::steady_clock::now();
    }

    std::vector<QWidget*> m_widgets;
    std::vector<bool> m_painted;
    std::optional<std::chrono::steady_clock::time_point> m_completed;
};

inline double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
