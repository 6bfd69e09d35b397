#pragma once
// Progress of one print job, asked before every page: the user may cancel
// a long job, and the window keeps painting meanwhile.

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

class PrintProgress {
public:
    virtual ~PrintProgress() = default;
    // Called before page `page` (from 1) of `pages` is printed; false ends
    // the job as cancelled.
    [[nodiscard]] virtual bool Continue(qint64 page, qint64 pages) = 0;
};

// Makes the progress of one job; jobName names the pane being printed.
using PrintProgressFactory = std::function<std::unique_ptr<PrintProgress>(const QString& jobName)>;

// A window-modal progress dialog ("<job>: page n of m") with a Cancel
// button, shown once a job takes longer than a moment; it lets pending
// events run on every page.
class DialogPrintProgress final : public PrintProgress {
public:
    DialogPrintProgress(QWidget* parent, const QString& jobName);
    ~DialogPrintProgress() override;
    DialogPrintProgress(const DialogPrintProgress&) = delete;
    DialogPrintProgress& operator=(const DialogPrintProgress&) = delete;

    [[nodiscard]] bool Continue(qint64 page, qint64 pages) override;
    [[nodiscard]] QProgressDialog* Dialog() const { return m_dialog.get(); }

private:
    std::unique_ptr<QProgressDialog> m_dialog;
    QString m_jobName;
};

// The factory of DialogPrintProgress over a parent window.
[[nodiscard]] PrintProgressFactory DialogProgressFor(QWidget* parent);
