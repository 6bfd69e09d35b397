#include "print/PrintProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {

// QProgressDialog counts in int; pages beyond that are scaled down.
constexpr qint64 kMaxSteps = 1 << 30;

}  // namespace

DialogPrintProgress::DialogPrintProgress(QWidget* parent, const QString& jobName)
    : m_dialog(std::make_unique<QProgressDialog>(parent)), m_jobName(jobName)
{
    m_dialog->setObjectName(QStringLiteral("dlgPrintProgress"));
    m_dialog->setWindowTitle(QStringLiteral("Print"));
    m_dialog->setAccessibleDescription(QStringLiteral("How far the printing has come; Cancel stops it"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setCancelButtonText(QStringLiteral("Cancel"));
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(1000);
}

DialogPrintProgress::~DialogPrintProgress() = default;

bool DialogPrintProgress::Continue(qint64 page, qint64 pages)
{
    const qint64 scale = pages / kMaxSteps + 1;
    if (page == 1)
        m_dialog->setRange(0, static_cast<int>(pages / scale));
    m_dialog->setLabelText(QStringLiteral("%1: page %2 of %3").arg(m_jobName).arg(page).arg(pages));
    m_dialog->setValue(static_cast<int>((page - 1) / scale));
    // The dialog lets events run only once it shows; the window must paint
    // (and Cancel must work) from the first page on.
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}

PrintProgressFactory DialogProgressFor(QWidget* parent)
{
    return [parent](const QString& jobName) { return std::make_unique<DialogPrintProgress>(parent, jobName); };
}
