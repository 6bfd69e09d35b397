#pragma once
// A read-only, one-line text view for the detail pane. It holds the line
// and its look as runs of equally formatted characters and lays out only
// the slice that is visible, so a line of a megabyte with thousands of
// colour changes shows as quickly as a short one. Text can be selected with
// the mouse and copied (Ctrl+C, pop-up menu); Ctrl+A selects everything.

#include "compare/LineText.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

class QMenu;
class QPainter;
class QTextLayout;

class LineDiffView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // How a character is drawn: as common to both lines or as differing.
    // The colours come from the box's palette when it is painted, so a
    // change to a dark or light desktop recolours what is shown.
    enum class Ink { Common, Differ };

    // Characters from `start` up to the next run's start share one look.
    struct Run {
        qsizetype start = 0;
        Ink ink = Ink::Common;
        bool marker = false;  // the blank marker, drawn as an underline
        friend bool operator==(const Run&, const Run&) = default;
    };

    // Space between the frame and the line's first character, in pixels.
    static constexpr int kMargin = 2;

    explicit LineDiffView(QWidget* parent = nullptr);
    ~LineDiffView() override;

    // The look of a line given by one mark per character: a character whose
    // mark is true shows in `common`, any other as differing, and a
    // differing blank (space or TAB) also with the marker when markBlanks is
    // set.
    struct MarkedLook {
        std::vector<bool> marks;
        bool markBlanks = false;
        Ink common = Ink::Common;
    };

    // Replaces the line; the runs ascend by start and the first starts at 0
    // (characters before it show as common). Selection and scrolling go back to
    // the start.
    void SetLine(const LineText& text, std::vector<Run> runs);
    // The same with the look taken from marks, worked out only for the
    // characters being laid out. A first differing character beyond the
    // visible width is scrolled into view with kContextBefore characters
    // before it.
    void SetLine(const LineText& text, MarkedLook look);
    static constexpr qsizetype kContextBefore = 8;
    void SetLine(const QString& text, std::vector<Run> runs) { SetLine(LineText(text), std::move(runs)); }
    // The text as common, without the marker.
    void setPlainText(const QString& text);
    void clear();

    // The whole line as one string (a copy for a line held as bytes).
    [[nodiscard]] QString toPlainText() const { return m_text.toString(); }
    [[nodiscard]] const LineText& Text() const { return m_text; }
    [[nodiscard]] Ink InkAt(qsizetype position) const;
    // The colour an ink is drawn in on the box's palette.
    [[nodiscard]] QColor InkColor(Ink ink) const;
    [[nodiscard]] bool MarkerAt(qsizetype position) const;

    // The selection lies between an anchor and the cursor position.
    [[nodiscard]] bool hasSelectedText() const { return m_anchor != m_cursor; }
    [[nodiscard]] QString selectedText() const;
    [[nodiscard]] qsizetype cursorPosition() const { return m_cursor; }
    [[nodiscard]] qsizetype anchorPosition() const { return m_anchor; }
    void setSelection(qsizetype start, qsizetype length);
    // Selects characters and scrolls them into view, their start first.
    void ShowSelection(qsizetype start, qsizetype length);
    void selectAll();
    void copy() const;
    // The pop-up menu: Copy and Select All.
    [[nodiscard]] QMenu* CreateContextMenu(QWidget* parent);

    // Horizontal offset in pixels of a character position from the line's
    // start; the width of the whole line for the text's length.
    [[nodiscard]] qreal XOfPosition(qsizetype position);
    // The character position under a point of the viewport.
    [[nodiscard]] qsizetype PositionAtViewportX(int x);

    // The characters drawn as differing, as ranges [first, end) in order:
    // at most `limit` of them, and whether more follow.
    struct Ranges {
        std::vector<std::pair<qsizetype, qsizetype>> ranges;
        bool more = false;
    };
    [[nodiscard]] Ranges DifferingRanges(std::size_t limit) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Measure();
    void UpdateScrollRange();
    [[nodiscard]] qsizetype ChunkAtX(qreal x);
    [[nodiscard]] qsizetype ChunkOfPosition(qsizetype position) const;
    [[nodiscard]] qsizetype ChunkStart(qsizetype chunk) const;
    [[nodiscard]] qsizetype ChunkEnd(qsizetype chunk) const;
    void LayOut(QTextLayout& layout, qsizetype start, qsizetype end) const;
    // The runs that give the look of characters [start, end); the first
    // starts at `start`.
    [[nodiscard]] std::vector<Run> RunsIn(qsizetype start, qsizetype end) const;
    void EnsureVisible(qsizetype position);
    // Shows the line from a little before `position` when that is out of
    // sight at the line's start.
    void OpenAt(qsizetype position);
    // The keyboard focus's mark: a frame around the box and the caret.
    void PaintFocus(QPainter& painter);
    // Shift+Left, Right, Home or End: the cursor moves, the anchor stays;
    // false for any other key.
    bool MoveCursor(int key);
    // Replaces the line and its runs without telling anyone.
    void Replace(const LineText& text, std::vector<Run> runs);
    // Tells assistive technology that the line changed from `before`.
    void TellLineChanged(const LineText& before);

    LineText m_text;
    std::vector<Run> m_runs;
    std::optional<MarkedLook> m_marked;  // when set, the look; m_runs is empty
    qsizetype m_anchor = 0;
    qsizetype m_cursor = 0;
    // Chunk k covers [m_chunkStarts[k], m_chunkStarts[k + 1]); m_chunkEnds[k]
    // is the width of the line up to that chunk's end. Both are built on
    // first need after the text or the font changed.
    std::vector<qsizetype> m_chunkStarts;
    std::vector<qreal> m_chunkEnds;
    bool m_measured = false;
};
