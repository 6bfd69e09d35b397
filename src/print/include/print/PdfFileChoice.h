#pragma once
// Choosing the file a pane is saved to as PDF.

#include <QString>
#include <QStringList>

namespace PdfFileChoice {

// Where the save dialog starts: the user's home folder, a file named after
// the pane's file, not one already taken by the other pane.
[[nodiscard]] QString SuggestedPath(const QString& panePath, const QString& homeFolder, const QStringList& taken);
// Why pdfPath may not be written, or empty when it may: the program never
// writes over a file it compares, and two panes never share one file.
[[nodiscard]] QString Refusal(const QString& pdfPath, const QStringList& comparedPaths, const QStringList& taken);

}  // namespace PdfFileChoice
