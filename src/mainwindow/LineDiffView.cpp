#include "mainwindow/LineDiffView.h"

#include "compare/RowText.h"
#include "mainwindow/Accessibility.h"
#include "mainwindow/WindowColors.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>

namespace {

// Characters per measured chunk: small enough that laying out the chunks
// under the viewport is cheap, large enough that a megabyte line has few.
constexpr qsizetype kChunkSize = 256;

bool IsPrintableAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
}

bool IsPrintableAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

// The advance every printable ASCII character shares in this font, or 0
// when they differ. Most chunks are then measured without shaping; any
// other character, even in a fixed-pitch font, is measured by the font.
qreal UniformAsciiAdvance(const QFontMetricsF& metrics)
{
    const qreal advance = metrics.horizontalAdvance(QLatin1Char('x'));
    for (char16_t c = 0x20; c < 0x7F; ++c)
        if (metrics.horizontalAdvance(QChar(c)) != advance)
            return 0;
    // Pairs could still be kerned or joined; measure a sample to be sure.
    const QString sample = QStringLiteral("AVAWAT.fi ffl-->=<=!=Ta To yy");
    return metrics.horizontalAdvance(sample) == advance * sample.size() ? advance : 0;
}

// True for characters whose advance does not depend on their neighbours:
// no marks, format or control characters, no surrogates, and only scripts
// whose letters neither join nor reorder.
bool HasOwnAdvance(QChar c)
{
    if (c.isSurrogate())
        return false;
    switch (c.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
    case QChar::Other_Control: return false;
    default: break;
    }
    switch (c.script()) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
    case QChar::Script_Armenian:
    case QChar::Script_Hebrew:
    case QChar::Script_Georgian:
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana: return true;
    default: return false;
    }
}

// Widths of chunks in a font without kerning, found without shaping them:
// the sum of their characters' advances, each asked of the font once. A
// chunk holding a character without an advance of its own is shaped.
class ChunkWidths {
public:
    explicit ChunkWidths(const QFontMetricsF& metrics) : m_metrics(metrics) {}
    [[nodiscard]] std::optional<qreal> Sum(QStringView chunk)
    {
        qreal width = 0;
        for (const QChar c : chunk) {
            if (!HasOwnAdvance(c))
                return std::nullopt;
            float& advance = m_advances[c.unicode()];
            if (advance < 0)
                advance = static_cast<float>(m_metrics.horizontalAdvance(c));
            width += advance;
        }
        return width;
    }

private:
    const QFontMetricsF& m_metrics;
    std::vector<float> m_advances = std::vector<float>(0x10000, -1.0f);  // by UTF-16 unit; -1: not asked yet
};

}  // namespace

LineDiffView::LineDiffView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    Accessibility::InstallFactory();
}

LineDiffView::~LineDiffView() = default;

void LineDiffView::SetLine(const LineText& text, std::vector<Run> runs)
{
    const LineText before = m_text;
    Replace(text, std::move(runs));
    TellLineChanged(before);
}

void LineDiffView::Replace(const LineText& text, std::vector<Run> runs)
{
    m_text = text;
    m_runs = std::move(runs);
    m_marked.reset();
    m_anchor = m_cursor = 0;
    m_measured = false;
    UpdateScrollRange();
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void LineDiffView::SetLine(const LineText& text, MarkedLook look)
{
    const LineText before = m_text;
    Replace(text, std::vector<Run>());
    // A missing mark counts as differing, as it is drawn.
    const auto common = std::find(look.marks.begin(), look.marks.end(), false);
    const auto firstDifference = static_cast<qsizetype>(common - look.marks.begin());
    m_marked = std::move(look);
    if (firstDifference < m_text.size())
        OpenAt(firstDifference);
    TellLineChanged(before);
}

void LineDiffView::OpenAt(qsizetype position)
{
    if (XOfPosition(position + 1) <= viewport()->width() - 2 * kMargin)
        return;
    horizontalScrollBar()->setValue(static_cast<int>(XOfPosition(std::max<qsizetype>(0, position - kContextBefore))));
}

void LineDiffView::setPlainText(const QString& text)
{
    SetLine(LineText(text), {Run{0, Ink::Common, false}});
}

void LineDiffView::clear()
{
    SetLine(LineText(), std::vector<Run>());
}

LineDiffView::Ink LineDiffView::InkAt(qsizetype position) const
{
    const std::vector<Run> runs = RunsIn(position, position + 1);
    return runs.empty() ? Ink::Common : runs.front().ink;
}

QColor LineDiffView::InkColor(Ink ink) const
{
    return ink == Ink::Common ? WindowColors::DetailCommon(palette()) : WindowColors::DetailDiffer(palette());
}

bool LineDiffView::MarkerAt(qsizetype position) const
{
    const std::vector<Run> runs = RunsIn(position, position + 1);
    return !runs.empty() && runs.front().marker;
}

std::vector<LineDiffView::Run> LineDiffView::RunsIn(qsizetype start, qsizetype end) const
{
    std::vector<Run> runs;
    if (!m_marked) {
        auto run = std::upper_bound(m_runs.begin(), m_runs.end(), start,
                                    [](qsizetype p, const Run& r) { return p < r.start; });
        if (run != m_runs.begin())
            --run;
        for (; run != m_runs.end() && run->start < end; ++run)
            runs.push_back({std::max(run->start, start), run->ink, run->marker});
        return runs;
    }
    enum class Look { None, Common, Differ, DifferBlank };
    const std::vector<bool>& marks = m_marked->marks;
    Look current = Look::None;
    for (qsizetype k = start; k < std::min(end, m_text.size()); ++k) {
        // A missing mark counts as differing: better red than silently black.
        const bool common = static_cast<std::size_t>(k) < marks.size() && marks[static_cast<std::size_t>(k)];
        const QChar c = m_text.at(k);
        const bool blank = c == QLatin1Char(' ') || c == QLatin1Char('\t');
        const Look look = common ? Look::Common : m_marked->markBlanks && blank ? Look::DifferBlank : Look::Differ;
        if (look == current)
            continue;
        runs.push_back({k, look == Look::Common ? m_marked->common : Ink::Differ, look == Look::DifferBlank});
        current = look;
    }
    return runs;
}

QString LineDiffView::selectedText() const
{
    const qsizetype start = std::min(m_anchor, m_cursor);
    return m_text.mid(start, std::max(m_anchor, m_cursor) - start);
}

void LineDiffView::setSelection(qsizetype start, qsizetype length)
{
    m_anchor = std::clamp<qsizetype>(start, 0, m_text.size());
    m_cursor = std::clamp<qsizetype>(start + length, 0, m_text.size());
    viewport()->update();
}

void LineDiffView::ShowSelection(qsizetype start, qsizetype length)
{
    setSelection(start, length);
    EnsureVisible(m_cursor);
    EnsureVisible(m_anchor);
}

void LineDiffView::selectAll()
{
    setSelection(0, m_text.size());
}

void LineDiffView::copy() const
{
    if (hasSelectedText())
        QGuiApplication::clipboard()->setText(selectedText());
}

QMenu* LineDiffView::CreateContextMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    QAction* copyAction = menu->addAction(tr("&Copy"), this, [this] { copy(); });
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelectedText());
    menu->addSeparator();
    QAction* selectAllAction = menu->addAction(tr("Select &All"), this, [this] { selectAll(); });
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    selectAllAction->setEnabled(!m_text.isEmpty());
    return menu;
}

qreal LineDiffView::XOfPosition(qsizetype position)
{
    Measure();
    if (m_chunkStarts.empty())
        return 0;
    const qsizetype chunk = ChunkOfPosition(position);
    QTextLayout layout;
    LayOut(layout, ChunkStart(chunk), ChunkEnd(chunk));
    const qreal origin = chunk == 0 ? 0 : m_chunkEnds[static_cast<std::size_t>(chunk - 1)];
    return origin + layout.lineAt(0).cursorToX(static_cast<int>(position - ChunkStart(chunk)));
}

void LineDiffView::Measure()
{
    if (m_measured)
        return;
    m_chunkStarts.clear();
    m_chunkEnds.clear();
    const QFontMetricsF metrics(font());
    const qreal pitch = UniformAsciiAdvance(metrics);
    // A font that shares one advance for all of ASCII and does not kern it
    // is taken not to kern other letters either.
    ChunkWidths sums(metrics);
    const qsizetype length = m_text.size();
    qreal width = 0;
    for (qsizetype start = 0; start < length;) {
        qsizetype end = std::min(start + kChunkSize, length);
        // A surrogate pair or a character with its combining marks stays
        // in one chunk, as it is shaped as one.
        while (end < length && (m_text.at(end).isLowSurrogate() || m_text.at(end).isMark()))
            ++end;
        const qsizetype size = end - start;
        const bool ascii = m_text.isBytes() ? IsPrintableAscii(m_text.bytes().sliced(start, size))
                                            : IsPrintableAscii(QStringView(m_text.text()).sliced(start, size));
        const QString text = ascii && pitch > 0 ? QString() : RowText::WithVisibleSeparators(m_text.mid(start, size));
        const std::optional<qreal> summed = pitch > 0 && !ascii ? sums.Sum(text) : std::nullopt;
        width += ascii && pitch > 0 ? pitch * static_cast<qreal>(size)
                 : summed           ? *summed
                                    : metrics.horizontalAdvance(text);
        m_chunkStarts.push_back(start);
        m_chunkEnds.push_back(width);
        start = end;
    }
    m_measured = true;
}

void LineDiffView::UpdateScrollRange()
{
    Measure();
    const qreal width = m_chunkEnds.empty() ? 0 : m_chunkEnds.back();
    const qreal overflow = std::ceil(width) + 2 * kMargin - viewport()->width();
    QScrollBar* bar = horizontalScrollBar();
    bar->setRange(0, static_cast<int>(std::clamp<qreal>(overflow, 0, std::numeric_limits<int>::max())));
    bar->setPageStep(std::max(1, viewport()->width()));
    bar->setSingleStep(std::max(1, QFontMetrics(font()).horizontalAdvance(QLatin1Char('x')) * 2));
}

qsizetype LineDiffView::ChunkAtX(qreal x)
{
    Measure();
    const auto it = std::upper_bound(m_chunkEnds.begin(), m_chunkEnds.end(), x);
    const auto chunk = static_cast<qsizetype>(it - m_chunkEnds.begin());
    return std::min(chunk, static_cast<qsizetype>(m_chunkEnds.size()) - 1);
}

qsizetype LineDiffView::ChunkOfPosition(qsizetype position) const
{
    const auto it = std::upper_bound(m_chunkStarts.begin(), m_chunkStarts.end(), position);
    return std::max<qsizetype>(0, static_cast<qsizetype>(it - m_chunkStarts.begin()) - 1);
}

qsizetype LineDiffView::ChunkStart(qsizetype chunk) const
{
    return m_chunkStarts[static_cast<std::size_t>(chunk)];
}

qsizetype LineDiffView::ChunkEnd(qsizetype chunk) const
{
    const auto next = static_cast<std::size_t>(chunk + 1);
    return next < m_chunkStarts.size() ? m_chunkStarts[next] : m_text.size();
}

// Lays out the characters [start, end) as one line, with the runs' colours
// and markers.
void LineDiffView::LayOut(QTextLayout& layout, qsizetype start, qsizetype end) const
{
    // A separator would end the one line the chunk is laid out on.
    layout.setText(RowText::WithVisibleSeparators(m_text.mid(start, end - start)));
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    QList<QTextLayout::FormatRange> formats;
    const std::vector<Run> runs = RunsIn(start, end);
    for (auto run = runs.begin(); run != runs.end(); ++run) {
        const qsizetype to = std::next(run) == runs.end() ? end : std::next(run)->start;
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(run->start - start);
        range.length = static_cast<int>(to - run->start);
        range.format.setForeground(InkColor(run->ink));
        range.format.setFontUnderline(run->marker);
        formats.append(range);
    }
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(1e6);
    layout.endLayout();
}

qsizetype LineDiffView::PositionAtViewportX(int x)
{
    Measure();
    if (m_chunkStarts.empty())
        return 0;
    const qreal lineX = x - kMargin + horizontalScrollBar()->value();
    const qsizetype chunk = ChunkAtX(lineX);
    QTextLayout layout;
    LayOut(layout, ChunkStart(chunk), ChunkEnd(chunk));
    const qreal origin = chunk == 0 ? 0 : m_chunkEnds[static_cast<std::size_t>(chunk - 1)];
    return ChunkStart(chunk) + layout.lineAt(0).xToCursor(lineX - origin);
}

void LineDiffView::EnsureVisible(qsizetype position)
{
    QScrollBar* bar = horizontalScrollBar();
    const int x = static_cast<int>(XOfPosition(position));
    const int room = viewport()->width() - 2 * kMargin;
    if (x < bar->value())
        bar->setValue(x);
    else if (x > bar->value() + room)
        bar->setValue(x - room);
}

bool LineDiffView::event(QEvent* event)
{
    // Copy and Select All belong to the box while it has the focus, even
    // where the window binds the same keys.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key == QKeySequence::Copy || key == QKeySequence::SelectAll) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void LineDiffView::paintEvent(QPaintEvent*)
{
    Measure();
    QPainter painter(viewport());
    if (hasFocus())
        PaintFocus(painter);
    if (m_chunkStarts.empty())
        return;
    const qreal scroll = horizontalScrollBar()->value();
    const qsizetype first = ChunkAtX(scroll);
    const qsizetype last = ChunkAtX(scroll + viewport()->width());
    const qsizetype start = ChunkStart(first);
    QTextLayout layout;
    LayOut(layout, start, ChunkEnd(last));
    QList<QTextLayout::FormatRange> selection;
    const qsizetype from = std::max(std::min(m_anchor, m_cursor), start);
    const qsizetype to = std::min(std::max(m_anchor, m_cursor), ChunkEnd(last));
    if (to > from) {
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(from - start);
        range.length = static_cast<int>(to - from);
        range.format.setBackground(palette().brush(QPalette::Highlight));
        range.format.setForeground(WindowColors::SelectedText(palette()));
        selection.append(range);
    }
    const qreal origin = first == 0 ? 0 : m_chunkEnds[static_cast<std::size_t>(first - 1)];
    const qreal top = (viewport()->height() - layout.lineAt(0).height()) / 2;
    painter.setPen(InkColor(Ink::Common));
    layout.draw(&painter, QPointF(kMargin + origin - scroll, std::max<qreal>(0, top)), selection);
}

void LineDiffView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void LineDiffView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        m_measured = false;
        UpdateScrollRange();
        viewport()->update();
    }
    QAbstractScrollArea::changeEvent(event);
}
