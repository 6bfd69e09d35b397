// The folder window's comparison: checking the two folders, starting the
// scan with the options in force, and telling how far it has come and what
// it found.

#include "folderview/frmFolderDiffs.h"

#include "app/ErrorReport.h"
#include "app/FolderComparison.h"
#include "app/Globals.h"
#include "app/Prompt.h"
#include "engine/FileNameText.h"
#include "engine/LineFilterPatterns.h"
#include "engine/cDiffEngine.h"
#include "mainwindow/CompareMessages.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>
#include <QTreeView>

namespace {

const QString kCompareTitle = QStringLiteral("Compare Folders");

std::vector<std::string> Patterns(const QStringList& patterns)
{
    std::vector<std::string> bytes;
    for (const QString& pattern : patterns)
        bytes.push_back(FileNameText::ToBytes(pattern).toStdString());
    return bytes;
}

QString Number(std::uint64_t n)
{
    return QLocale().toString(static_cast<qulonglong>(n));
}

}  // namespace

void frmFolderDiffs::mnuFileCompare_Click()
{
    try {
        QString one;
        QString two;
        if (!CheckFolders(one, two))
            return;
        m_refreshPlace.reset();
        StartScan(one, two);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFolderDiffs.mnuFileCompare_Click"));
    }
}

// A rescan of the folders shown, keeping the place in the tree where its
// entries are still there.
void frmFolderDiffs::mnuFileRefresh_Click()
{
    try {
        const FolderTree::Tree* shown = m_model.Tree();
        QString one;
        QString two;
        if (!CheckFolders(one, two))
            return;
        std::optional<Place> place;
        if (shown)
            place = CurrentPlace();
        StartScan(one, two);
        m_refreshPlace = std::move(place);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFolderDiffs.mnuFileRefresh_Click"));
    }
}

void frmFolderDiffs::mnuFileStop_Click()
{
    m_feed.Stop();
    lblProgress->setText(QStringLiteral("Stopping..."));
}

bool frmFolderDiffs::CheckFolders(QString& one, QString& two)
{
    one = modVantrel::TrimSpaces(txtFolderOne->text());
    two = modVantrel::TrimSpaces(txtFolderTwo->text());
    const auto refuse = [](const QString& text) {
        modVantrel::MsgBox(text, modVantrel::PromptButtons::Ok, modVantrel::PromptIcon::Exclamation,
                           QStringLiteral("Folder Does Not Exist"));
        return false;
    };
    if (!modVantrel::IsFolderPath(one))
        return refuse(QStringLiteral("Folder One is not an existing folder."));
    if (!modVantrel::IsFolderPath(two))
        return refuse(QStringLiteral("Folder Two is not an existing folder."));
    return true;
}

void frmFolderDiffs::StartScan(const QString& one, const QString& two)
{
    Options().Folders.FolderOne = one;
    Options().Folders.FolderTwo = two;
    m_scannedIgnoring = CompareMessages::Ignored(Options());
    m_scanned = ScanSettings();
    m_model.SetIgnoring(CompareMessages::Ignoring(m_scannedIgnoring));
    m_feed.Start(FileNameText::ToBytes(one).toStdString(), FileNameText::ToBytes(two).toStdString(), m_scanned);
    mnuFileStop->setEnabled(true);
    m_progressTimer->start();
    ShowProgress();
    ShowCounts();
    tvwFolders->setFocus();
}

FolderScanSettings frmFolderDiffs::ScanSettings() const
{
    const cViewFileDiffsOptions& options = Options();
    const cViewFileDiffsOptions::FolderCompare& folders = options.Folders;
    FolderScanSettings settings;
    settings.rules.by = folders.BySizeAndTime ? FolderTree::CompareBy::SizeAndTime : FolderTree::CompareBy::Content;
    settings.rules.asText = folders.AsText && !folders.BySizeAndTime;
    settings.rules.ignoreNameCase = folders.IgnoreNameCase;
    settings.rules.timeTolerance = std::int64_t{folders.TimeTolerance} * 1'000'000'000;
    settings.followLinks = folders.FollowLinks;
    settings.honourGitIgnore = folders.HonourGitIgnore;
    settings.excludeFiles = Patterns(folders.ExcludeFiles);
    settings.excludeFolders = Patterns(folders.ExcludeFolders);
    // The text is compared as the file view compares it.
    cDiffEngine engine;
    engine.IgnoreCase(options.IgnoreCase);
    engine.IgnoreWhiteSpace(options.IgnoreWhiteSpace);
    engine.IgnoreWhiteSpaceChanges(options.IgnoreWhiteSpaceChanges);
    engine.IgnoreLineEndings(options.IgnoreLineEndings);
    engine.IgnoreBlankLines(options.IgnoreBlankLines);
    engine.ForceTextCompare(options.ForceTextCompare);
    settings.text = engine.Settings();
    const QStringList filters = options.EnabledLineFilters();
    if (settings.rules.asText && !filters.isEmpty())
        settings.makeLineSkipper = [filters]() -> std::shared_ptr<const LineSkipper> {
            QString error;
            return LineFilterPatterns::Compile(filters, error);
        };
    return settings;
}

void frmFolderDiffs::ScanProgressed()
{
    // The top of a new tree is open as soon as it is in.
    if (m_model.rowCount() > 0 && !tvwFolders->currentIndex().isValid() && !m_refreshPlace)
        tvwFolders->setCurrentIndex(m_model.index(0, 0));
}

void frmFolderDiffs::ScanFinished()
{
    m_progressTimer->stop();
    mnuFileStop->setEnabled(false);
    const FolderTree::Id current = CurrentEntry();
    m_model.SetHideIdentical(!Options().Folders.ShowIdentical);
    if (m_refreshPlace) {
        RestorePlace(*m_refreshPlace);
        m_refreshPlace.reset();
    } else if (!tvwFolders->currentIndex().isValid() || current == FolderTree::kRoot) {
        const QModelIndex first = m_model.index(0, 0);
        if (first.isValid())
            tvwFolders->setCurrentIndex(first);
    }
    ShowProgress();
    ShowCounts();
}

void frmFolderDiffs::ShowCounts()
{
    const FolderTree::Tree* tree = m_model.Tree();
    if (!tree) {
        lblCounts->clear();
        return;
    }
    using FolderTree::State;
    const std::pair<State, const char*> states[] = {
        {State::Identical, "identical"},          {State::IdenticalIgnoring, "identical as text"},
        {State::Different, "different"},          {State::OnlyInOne, "only in Folder One"},
        {State::OnlyInTwo, "only in Folder Two"}, {State::KindsDiffer, "of different kinds"},
        {State::Error, "cannot be compared"},     {State::Stopped, "not compared"},
    };
    QStringList parts;
    for (const auto& [state, words] : states) {
        const std::uint32_t count = tree->Count(state);
        // The counts every comparison has are always told; the others when
        // there are any.
        if (count > 0 || state == State::Identical || state == State::Different)
            parts << Number(count) + QLatin1Char(' ') + QString::fromLatin1(words);
    }
    lblCounts->setText(parts.join(QStringLiteral(", ")));
}

void frmFolderDiffs::ShowProgress()
{
    const FolderScanFeed::Progress now = m_feed.Now();
    const QString done = QStringLiteral("%1 folders, %2 of %3 files")
                             .arg(Number(now.folders), Number(now.filesDone), Number(now.filesFound));
    if (m_feed.Running()) {
        lblProgress->setText(QStringLiteral("Comparing: ") + done);
        return;
    }
    const FolderTree::Tree* tree = m_model.Tree();
    if (!tree) {
        lblProgress->clear();
        return;
    }
    const QString seconds = QLocale().toString(static_cast<double>(now.elapsedMs) / 1000.0, 'f', 1);
    lblProgress->setText((tree->Stopped() ? QStringLiteral("Stopped: ") : QStringLiteral("Compared: ")) + done
                         + QStringLiteral(" in %1 s").arg(seconds));
}
