#include "mainwindow/VGrid.h"

#include "mainwindow/Accessibility.h"
#include "mainwindow/RowMarkers.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>
#include <stdexcept>

namespace {

// Room left of a cell's text at least, and between a marker picture at the
// cell's left edge and the first digit of the number that follows the row
// text's leading space.
constexpr int kTextIndent = 4;
constexpr int kPictureGap = 2;

}  // namespace

namespace {

// The row model keeps "no colour" as kDefaultColor; the grid reports it as
// kNoCellColor.
std::uint32_t GridColor(std::uint32_t rowColor)
{
    return rowColor == Alignment::kDefaultColor ? Grid::kNoCellColor : rowColor;
}

std::uint32_t RowColor(std::uint32_t gridColor)
{
    return gridColor == Grid::kNoCellColor ? Alignment::kDefaultColor : gridColor;
}

}  // namespace

VGrid::VGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    SetOwnRows(Alignment::PaneRows{{Alignment::kNoLine}, {Alignment::kDefaultColor}});
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    UpdateRowHeight();
    Accessibility::InstallFactory();
}

void VGrid::SetRows(int rows)
{
    rows = std::max(rows, 1);
    const auto below = static_cast<std::size_t>(rows - 1);
    if (below != m_rows->size()) {
        // Only the rows that stay are copied.
        const std::size_t kept = std::min(below, m_rows->size());
        Alignment::PaneRows resized;
        resized.line.assign(m_rows->line.begin(), m_rows->line.begin() + static_cast<std::ptrdiff_t>(kept));
        resized.color.assign(m_rows->color.begin(), m_rows->color.begin() + static_cast<std::ptrdiff_t>(kept));
        resized.line.resize(below, Alignment::kNoLine);
        resized.color.resize(below, Alignment::kDefaultColor);
        SetOwnRows(std::move(resized));
        m_folds.reset();
        RowsReset();
    }
    for (auto it = m_texts.begin(); it != m_texts.end();)
        it = it.key() >= rows ? m_texts.erase(it) : std::next(it);
    for (auto it = m_pictures.begin(); it != m_pictures.end();)
        it = it.key() >= rows ? m_pictures.erase(it) : std::next(it);
    m_row = std::clamp(m_row, rows > 1 ? 1 : 0, rows - 1);
    UpdateScrollBars();
    Refresh();
}

void VGrid::SetRowsFrom(std::shared_ptr<const Alignment::PaneRows> rows,
                        std::shared_ptr<const Grid::RowTextSource> source)
{
    if (!rows || rows->color.size() != rows->line.size())
        throw std::invalid_argument("VGrid::SetRowsFrom: rows without a colour each");
    m_rows = std::move(rows);
    m_writableRows = nullptr;
    m_source = std::move(source);
    m_folds.reset();
    const QString header = m_texts.value(0);
    const QPixmap headerPicture = m_pictures.value(0);
    m_texts.clear();
    m_pictures.clear();
    if (!header.isEmpty())
        m_texts.insert(0, header);
    if (!headerPicture.isNull())
        m_pictures.insert(0, headerPicture);
    m_row = Rows() > 1 ? 1 : 0;
    UpdateScrollBars();
    Refresh();
    RowsReset();
}

void VGrid::SetPictureSource(std::function<QPixmap(int row)> source)
{
    m_pictureSource = std::move(source);
    Refresh();
}

void VGrid::SetMarkSource(Grid::MarkSource source)
{
    m_markSource = std::move(source);
    Refresh();
}

void VGrid::SetFolds(std::shared_ptr<const RowFolding::FoldedView> folds)
{
    if (folds && folds->RowCount() != Rows() - 1)
        folds.reset();
    const bool keepCurrent = RowIsVisible(m_row) && m_row > 0;
    const int offset = ShownOf(m_row) - TopShown();
    const int top = TopRow();
    m_folds = std::move(folds);
    {
        // The first row shown is set below and announced once.
        const QSignalBlocker block(verticalScrollBar());
        UpdateScrollBars();
    }
    SetTopShown(keepCurrent ? ShownOf(m_row) - offset : ShownOf(top));
    Refresh();
    RowsReset();
}

const RowFolding::Fold* VGrid::FoldOf(int row) const
{
    return m_folds ? m_folds->FoldOf(row) : nullptr;
}

Alignment::PaneRows& VGrid::WritableRows()
{
    if (!m_writableRows)
        SetOwnRows(*m_rows);
    return *m_writableRows;
}

void VGrid::SetOwnRows(Alignment::PaneRows rows)
{
    auto own = std::make_shared<Alignment::PaneRows>(std::move(rows));
    m_writableRows = own.get();
    m_rows = std::move(own);
}

void VGrid::SetRow(int row)
{
    if (!Valid(row) || row == m_row)
        return;
    m_row = row;
    TellCurrentRow();
}

int VGrid::TopShown() const
{
    return verticalScrollBar()->value() + 1;
}

int VGrid::TopRow() const
{
    return RowOfShown(TopShown());
}

void VGrid::SetTopRow(int row)
{
    SetTopShown(ShownOf(std::clamp(row, 1, std::max(1, Rows() - 1))));
}

void VGrid::SetTopShown(int shown)
{
    // The scroll bar clamps the value; its change signal ends in Scroll.
    verticalScrollBar()->setValue(std::clamp(shown, 1, MaxTopShown()) - 1);
}

QString VGrid::TextMatrix(int row) const
{
    if (!Valid(row))
        return {};
    if (const auto it = m_texts.constFind(row); it != m_texts.cend())
        return *it;
    if (row == 0 || !m_source)
        return {};
    const std::int32_t line = m_rows->line[static_cast<std::size_t>(row - 1)];
    return line == Alignment::kNoLine ? QString() : m_source->RowText(line);
}

RowText::Part VGrid::TextMatrixPart(int row, qsizetype columns) const
{
    if (!Valid(row))
        return {};
    if (const auto it = m_texts.constFind(row); it != m_texts.cend())
        return RowText::LeadingColumns(*it, columns);
    if (row == 0 || !m_source)
        return {};
    const std::int32_t line = m_rows->line[static_cast<std::size_t>(row - 1)];
    return line == Alignment::kNoLine ? RowText::Part() : m_source->RowTextPart(line, columns);
}

LineText VGrid::LineOfRow(int row) const
{
    if (!Valid(row))
        return {};
    if (const auto it = m_texts.constFind(row); it != m_texts.cend())
        return LineText(RowText::LineOfRowText(*it));
    if (row == 0 || !m_source)
        return {};
    const std::int32_t line = m_rows->line[static_cast<std::size_t>(row - 1)];
    return line == Alignment::kNoLine ? LineText() : m_source->LineTextOf(line);
}

qsizetype VGrid::VisibleColumns() const
{
    // Text starts kTextIndent into the cell and is clipped at the cell's
    // right edge and the viewport's. No character is narrower than the
    // narrowest ASCII one in a fixed-pitch font (a proportional one only
    // makes the part longer than needed); one more for a character cut in
    // half at the edge.
    const int scrolled = horizontalScrollBar()->value();
    const int shown = std::min(viewport()->width() + scrolled, m_colWidth) - m_textIndent;
    return std::max(0, shown) / m_narrowestAdvance + 2;
}

void VGrid::SetTextMatrix(int row, const QString& text)
{
    if (!Valid(row))
        return;
    // An empty text must still hide the line the row refers to.
    if (row > 0 && m_rows->line[static_cast<std::size_t>(row - 1)] != Alignment::kNoLine)
        WritableRows().line[static_cast<std::size_t>(row - 1)] = Alignment::kNoLine;
    if (text.isEmpty())
        m_texts.remove(row);
    else
        m_texts.insert(row, text);
    if (RowIsVisible(row))
        Refresh();
}

std::uint32_t VGrid::CellBackColor(int row) const
{
    if (!Valid(row))
        return Grid::kNoCellColor;
    return row == 0 ? m_headerColor : GridColor(m_rows->color[static_cast<std::size_t>(row - 1)]);
}

void VGrid::SetCellBackColor(int row, std::uint32_t color)
{
    SetCellBackColor(row, row, color);
}

void VGrid::SetCellBackColor(int firstRow, int lastRow, std::uint32_t color)
{
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, Rows() - 1);
    if (firstRow > lastRow)
        return;
    if (firstRow == 0) {
        m_headerColor = color;
        firstRow = 1;
    }
    if (firstRow <= lastRow) {
        std::vector<std::uint32_t>& colors = WritableRows().color;
        std::fill(colors.begin() + (firstRow - 1), colors.begin() + lastRow, RowColor(color));
    }
    Refresh();
}

QPixmap VGrid::CellPicture(int row) const
{
    if (const auto it = m_pictures.constFind(row); it != m_pictures.cend())
        return *it;
    return m_pictureSource && Valid(row) ? m_pictureSource(row) : QPixmap();
}

void VGrid::SetCellPicture(int row, const QPixmap& picture)
{
    if (!Valid(row))
        return;
    if (picture.isNull())
        m_pictures.remove(row);
    else
        m_pictures.insert(row, picture);
    if (RowIsVisible(row))
        Refresh();
}

bool VGrid::RowIsVisible(int row) const
{
    if (!Valid(row))
        return false;
    if (row == 0)
        return true;
    const int area = viewport()->height() - m_rowHeight;
    const int shown = area <= 0 ? 0 : (area + m_rowHeight - 1) / m_rowHeight;
    const int top = TopShown();
    const int at = ShownOf(row);
    return at >= top && at < top + shown;
}

int VGrid::VisibleRowCount() const
{
    return std::max(0, (viewport()->height() - m_rowHeight) / m_rowHeight);
}

bool VGrid::OnPicture(int x) const
{
    // The picture stands at the cell's left, which scrolls sideways.
    const int left = x + horizontalScrollBar()->value() - kPictureIndent;
    return left >= 0 && left < RowMarkers::kWidth + kPictureGap;
}

int VGrid::RowAt(int y) const
{
    if (y < 0)
        return -1;
    if (y < m_rowHeight)
        return 0;
    const int shown = TopShown() + (y - m_rowHeight) / m_rowHeight;
    return shown < ShownRows() ? RowOfShown(shown) : -1;
}

void VGrid::SetRedraw(bool on)
{
    m_redraw = on;
    if (on)
        viewport()->update();
}

void VGrid::ClearCells()
{
    const std::size_t rows = m_rows->size();
    SetOwnRows(Alignment::PaneRows{std::vector<std::int32_t>(rows, Alignment::kNoLine),
                                   std::vector<std::uint32_t>(rows, Alignment::kDefaultColor)});
    m_headerColor = Grid::kNoCellColor;
    m_texts.clear();
    m_pictures.clear();
    m_source.reset();
    m_folds.reset();
    UpdateScrollBars();
    Refresh();
    RowsReset();
}

void VGrid::SetGridLines(bool on)
{
    m_gridLines = on;
    Refresh();
}

void VGrid::SetColWidth(int pixels)
{
    m_fitColumn = false;
    m_colWidth = std::max(pixels, 0);
    UpdateScrollBars();
    Refresh();
}

void VGrid::FitColumnToViewport()
{
    m_fitColumn = true;
    m_colWidth = viewport()->width();
    UpdateScrollBars();
    Refresh();
}

void VGrid::SetToolTipText(const QString& text)
{
    // A line such as "<b>x</b>" would be taken for rich text and shown
    // without its tags; such a text is handed over escaped.
    m_toolTip = text;
    viewport()->setToolTip(Qt::mightBeRichText(text) ? QStringLiteral("<p style=\"white-space:pre\">")
                                                           + text.toHtmlEscaped() + QStringLiteral("</p>")
                                                     : text);
}

QColor VGrid::ToQColor(std::uint32_t color) const
{
    return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                  static_cast<int>((color >> 16) & 0xFFu));
}

int VGrid::MaxTopShown() const
{
    return std::max(1, ShownRows() - VisibleRowCount());
}

void VGrid::UpdateRowHeight()
{
    const QFontMetrics metrics = fontMetrics();
    m_rowHeight = std::max(metrics.height() + 2, 8);
    int narrowest = metrics.horizontalAdvance(QLatin1Char(' '));
    for (char16_t c = 0x21; c < 0x7F; ++c)
        narrowest = std::min(narrowest, metrics.horizontalAdvance(QChar(c)));
    m_narrowestAdvance = std::max(narrowest, 1);
    m_textIndent = std::max(
        kTextIndent, kPictureIndent + RowMarkers::kWidth + kPictureGap - metrics.horizontalAdvance(QLatin1Char(' ')));
    UpdateScrollBars();
}

void VGrid::UpdateScrollBars()
{
    QScrollBar* vertical = verticalScrollBar();
    const int top = TopShown();
    {
        // A range change may move the top row; it is announced once below.
        const QSignalBlocker block(vertical);
        vertical->setRange(0, MaxTopShown() - 1);
        vertical->setPageStep(std::max(1, VisibleRowCount()));
        vertical->setValue(std::min(top, MaxTopShown()) - 1);
    }
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, m_colWidth - viewport()->width()));
    horizontal->setPageStep(std::max(1, viewport()->width()));
    horizontal->setSingleStep(std::max(1, fontMetrics().averageCharWidth()));
    if (TopShown() != top) {
        Refresh();
        emit Scroll();
    }
}

void VGrid::Refresh()
{
    if (m_redraw)
        viewport()->update();
}

void VGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (m_fitColumn)
        m_colWidth = viewport()->width();
    UpdateScrollBars();
}

void VGrid::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateRowHeight();
}

QString VGrid::HeaderShown() const
{
    const int room = std::min(m_colWidth, viewport()->width()) - m_textIndent - kTextIndent;
    return fontMetrics().elidedText(TextMatrix(0), Qt::ElideRight, std::max(room, 0));
}

bool VGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (help->pos().y() < m_rowHeight && HeaderShown() != TextMatrix(0)) {
            QToolTip::showText(help->globalPos(), TextMatrix(0), viewport());
            return true;
        }
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void VGrid::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    // Told even when the scroll area sees no step: it does not learn of the
    // moves made while the scroll bar's signals are blocked (a change of the
    // range, of the folds), so a later move back to where it last saw the
    // bar comes with a step of 0.
    Refresh();
    emit Scroll();
}
