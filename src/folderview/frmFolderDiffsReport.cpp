// File > Save Report of the folder window: the comparison shown as one HTML
// page (engine/HtmlFolderReport.h), the page `vantrel-diff -r --html`
// writes for the same folders, saved whole or not at all.

#include "folderview/frmFolderDiffs.h"

#include "app/ErrorReport.h"
#include "app/Prompt.h"
#include "compare/ComparisonSave.h"
#include "engine/FileNameText.h"
#include "engine/HtmlFolderReport.h"
#include "mainwindow/WaitCursor.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kTitle = QStringLiteral("Save Report");

QString FromBytes(const std::string& bytes)
{
    return FileNameText::FromBytes(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// The files of the tree that `path` would replace: the report may be saved
// inside either folder, but not over a file being compared there.
std::vector<std::string> ReplacedFiles(const FolderTree::Tree& tree, const QString& path)
{
    const QFileInfo target(path);
    const QString folder = QFileInfo(target.absolutePath()).canonicalFilePath();
    std::vector<std::string> replaced;
    for (int side = 0; side < 2; ++side) {
        const QString root = QFileInfo(FromBytes(tree.Root(side))).canonicalFilePath();
        if (root.isEmpty() || folder.isEmpty())
            continue;
        const QString below = QDir(root).relativeFilePath(folder + QLatin1Char('/') + target.fileName());
        if (below.startsWith(QStringLiteral("..")) || QDir::isAbsolutePath(below))
            continue;
        const FolderTree::Id id = tree.Find(FileNameText::ToBytes(below).toStdString());
        if (id < tree.Size())
            replaced.push_back(tree.Path(id, side));
    }
    return replaced;
}

std::vector<std::string> Words(const QStringList& names)
{
    std::vector<std::string> words;
    for (const QString& name : names)
        words.push_back(name.toStdString());
    return words;
}

}  // namespace

// Refused with no comparison to save and while the scan still runs; the
// sections compare their pairs as the scan did.
void frmFolderDiffs::mnuFileSaveReport_Click()
{
    try {
        const FolderTree::Tree* tree = m_model.Tree();
        QString trouble;
        if (!tree)
            trouble = QStringLiteral("No comparison is shown: compare two folders first.");
        else if (Scanning())
            trouble = QStringLiteral("The folders are still being compared: save the report once the comparison "
                                     "has finished, or stop it first.");
        if (trouble.isEmpty()) {
            const QString name = QDir(FromBytes(tree->Root(0))).dirName();
            const QString suggested =
                QDir(QDir::homePath()).filePath((name.isEmpty() ? QStringLiteral("folders") : name) + ".html");
            const std::optional<QString> path = modVantrel::Prompts().saveFile(
                {kTitle, suggested, QStringLiteral("HTML Files (*.html *.htm);;All Files (*)")});
            if (!path || path->isEmpty())
                return;
            const WaitCursor wait;
            // The words and pairs of the comparison shown, whatever the
            // options say since.
            const HtmlFolderReport::Heading heading = HtmlFolderReport::HeadingOf(m_scanned, Words(m_scannedIgnoring));
            const HtmlFolderReport::ComparePair compare = HtmlFolderReport::SectionComparer(m_scanned);
            trouble = ComparisonSave::Save(*path, ReplacedFiles(*tree, *path), [&](OutputSink& out) {
                (void)HtmlFolderReport::Write(out, *tree, heading, compare);
            });
        }
        if (!trouble.isEmpty())
            modVantrel::MsgBox(trouble, modVantrel::PromptButtons::Ok, modVantrel::PromptIcon::Exclamation, kTitle);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFolderDiffs.mnuFileSaveReport_Click"));
    }
}
