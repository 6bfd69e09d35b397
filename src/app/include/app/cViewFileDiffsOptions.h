#pragma once
// The program's option record: plain fields, no behaviour. One instance,
// gOptions, lives from start-up to the main window's unload and is the one
// place every option is kept while the program runs: the INI file is read
// into it and written from it, the Compare command hands its flags to the
// engine, and the main window shows it in its menu check marks, its grids
// and its pane-tooltip box, changing it through its option commands.

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

class cViewFileDiffsOptions {
public:
    QString FileOne;  // File One of the last Compare
    QString FileTwo;
    bool IgnoreWhiteSpace = false;
    bool IgnoreCase = false;
    // Weaker than IgnoreWhiteSpace: a run of blanks equals any other run
    // and blanks at the end of a line do not count, but "a b" is not "ab".
    bool IgnoreWhiteSpaceChanges = false;
    // CR LF equals LF, and a last line without an ending equals one with.
    bool IgnoreLineEndings = false;
    // A difference made only of blank lines does not count.
    bool IgnoreBlankLines = false;
    // Regular expressions (QRegularExpression's syntax); a line an enabled
    // one matches takes no part in the comparison. Kept in the user's order.
    struct LineFilter {
        QString pattern;
        bool enabled = true;
        friend bool operator==(const LineFilter&, const LineFilter&) = default;
    };
    QList<LineFilter> LineFilters;
    bool ShowOptionsDialog = false;  // kept with the others; nothing reads or writes it
    bool ForceTextCompare = false;
    int Format = 0;
    // What the grids show: lines between rows, and their font.
    bool ShowGridLines = true;
    QFont GridFont = DesignedGridFont();
    // Hide Unchanged Lines: unchanged runs are folded, keeping this many
    // rows next to each difference (0 to kLargestUnchangedContext).
    bool HideUnchangedLines = false;
    // Lines that left one place and arrived at another are shown as moved.
    bool ShowMovedLines = true;
    int UnchangedContext = 3;
    static constexpr int kLargestUnchangedContext = 9999;
    // The box starts unticked; the INI file's default ticks it.
    bool PaneTooltips = false;

    // Folder comparisons: the two folders of the last one, how files are
    // compared, and which entries are left out or hidden.
    struct FolderCompare {
        QString FolderOne;
        QString FolderTwo;
        // By size and time instead of by content.
        bool BySizeAndTime = false;
        // Files read as text with the ignore options and line filters above.
        bool AsText = false;
        // Seconds two times may be apart and still count as the same
        // (0 to kLargestTimeTolerance); file systems keep times to 2 s.
        int TimeTolerance = 2;
        static constexpr int kLargestTimeTolerance = 86400;
        bool IgnoreNameCase = false;
        bool HonourGitIgnore = false;
        bool FollowLinks = true;
        bool ShowIdentical = false;
        // Shell patterns for the names of files and of folders left out.
        QStringList ExcludeFiles{QStringLiteral("*.o"), QStringLiteral("*.obj"), QStringLiteral("*.pyc"),
                                 QStringLiteral("*.class")};
        QStringList ExcludeFolders{QStringLiteral(".git"), QStringLiteral(".hg"), QStringLiteral(".svn"),
                                   QStringLiteral("node_modules"), QStringLiteral("__pycache__")};
        friend bool operator==(const FolderCompare&, const FolderCompare&) = default;

        // A list of patterns as one text, separated by semicolons, and
        // back: blanks around each pattern and empty ones dropped.
        [[nodiscard]] static QString PatternText(const QStringList& patterns) { return patterns.join(u';'); }
        [[nodiscard]] static QStringList Patterns(const QString& text)
        {
            QStringList patterns;
            for (const QString& part : text.split(u';')) {
                const QString pattern = part.trimmed();
                if (!pattern.isEmpty())
                    patterns << pattern;
            }
            return patterns;
        }
    };
    FolderCompare Folders;

    // The patterns of the enabled line filters, in order.
    [[nodiscard]] QStringList EnabledLineFilters() const
    {
        QStringList patterns;
        for (const LineFilter& filter : LineFilters)
            if (filter.enabled)
                patterns << filter.pattern;
        return patterns;
    }

    // The grids' font before any is chosen: Courier New, 8.25 points.
    [[nodiscard]] static QFont DesignedGridFont()
    {
        QFont font(QStringLiteral("Courier New"));
        font.setStyleHint(QFont::TypeWriter);
        font.setPointSizeF(8.25);
        return font;
    }
};
