#pragma once
// Printing the result grids: every pane is a job of its own, with the
// header on every page and the pane's rows in a fixed-pitch font below it,
// the coloured rows in bold.

#include "print/PageLayout.h"
#include "print/PrintJob.h"
#include "print/PrintProgress.h"
#include "print/PrintRows.h"

#include <QDateTime>
#include <QFont>
#include <functional>
#include <vector>

class QPainter;

namespace modVantrelPrint {

enum class PrintOutcome { Printed, Failed, Cancelled };

// One pane as one job.
struct PaneJob {
    PrintPane pane;
    PrintOutput::Destination destination;
    QString name;  // "Left Pane" or "Right Pane", for the progress
};

struct JobOptions {
    bool pageNumbers = true;
    bool dateTime = true;
    PrintOutput::Orientation orientation = PrintOutput::Orientation::Portrait;
    PrintProgressFactory progress;  // none: no progress, no cancelling
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
};

// The face every printed line uses ("Courier New"; fontconfig gives its
// metric twin where the face itself is missing) at a fixed 10 points.
[[nodiscard]] QFont PrintFont(bool bold, bool italic);
// The date as the header shows it: the system's short date and long time.
[[nodiscard]] QString GeneralDate(const QDateTime& when);

// Prints the jobs in order. A job that fails is reported and the next one
// still prints; a cancelled job ends the printing. Printed only when every
// job was printed.
[[nodiscard]] PrintOutcome PrintFileDiffs(const std::vector<PaneJob>& jobs, const JobOptions& options);
// Prints one pane as one job and reports its own failures.
[[nodiscard]] PrintOutcome PrintGrid(const PaneJob& job, const JobOptions& options);
// Draws the header at the top of the current page.
void PrintGridHeader(QPainter& painter, const PageLayout::Metrics& page, const QString& path, const QString& printDate,
                     qint64 pageNumber, const JobOptions& options);

}  // namespace modVantrelPrint
