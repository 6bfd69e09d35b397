// The detail pane's boxes, the difference bar and the splitter as
// assistive technology reads them, and the factory that hands Qt the
// interfaces of every widget the window paints by hand.

#include "mainwindow/Accessibility.h"
#include "mainwindow/DiffBarWidget.h"
#include "mainwindow/LineDiffView.h"
#include "mainwindow/SplitterBar.h"
#include "mainwindow/VGrid.h"

#include <QAccessibleWidget>
#include <QScrollBar>
#include <QStringList>
#include <algorithm>
#include <mutex>

namespace {

// Ranges of the differing characters listed in a box's description; a line
// with more says so.
constexpr std::size_t kRangesTold = 20;
// Text events carry the old and the new text; longer lines are announced
// as changed without them, so a megabyte line costs no copy.
constexpr qsizetype kEventTextLength = 10000;

// "changed: characters 12–18", "changed: characters 3, 7–9 and 20–25".
QString RangesText(const LineDiffView::Ranges& found)
{
    QStringList parts;
    for (const auto& [first, end] : found.ranges)
        parts << (end - first == 1 ? QString::number(first + 1) : QStringLiteral("%1\u2013%2").arg(first + 1).arg(end));
    QString list = parts.join(QStringLiteral(", "));
    if (found.more)
        list += QStringLiteral(" and more");
    else if (parts.size() > 1)
        list.replace(list.lastIndexOf(QStringLiteral(", ")), 2, QStringLiteral(" and "));
    const bool one = parts.size() == 1 && found.ranges.front().second - found.ranges.front().first == 1;
    return (one ? QStringLiteral("changed: character ") : QStringLiteral("changed: characters ")) + list;
}

class PaneText final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit PaneText(LineDiffView* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    [[nodiscard]] LineDiffView* Box() const { return static_cast<LineDiffView*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.selectableText = true;
        return state;
    }
    // The description names what differs; the box's own description is
    // told while nothing is shown.
    QString text(QAccessible::Text type) const override
    {
        if (type != QAccessible::Description)
            return QAccessibleWidget::text(type);
        if (Box()->Text().isEmpty())
            return QStringLiteral("empty");
        const LineDiffView::Ranges found = Box()->DifferingRanges(kRangesTold);
        return found.ranges.empty() ? QStringLiteral("no differing characters") : RangesText(found);
    }

    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && Box()->hasSelectedText()) {
            const auto [from, to] = Selected();
            *start = static_cast<int>(from);
            *end = static_cast<int>(to);
        }
    }
    int selectionCount() const override { return Box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { Box()->setSelection(Box()->cursorPosition(), 0); }
    void setSelection(int, int start, int end) override { Box()->ShowSelection(start, end - start); }
    int cursorPosition() const override { return static_cast<int>(Box()->cursorPosition()); }
    void setCursorPosition(int position) override { Box()->ShowSelection(position, 0); }
    QString text(int start, int end) const override { return Box()->Text().mid(start, std::max(0, end - start)); }
    int characterCount() const override { return static_cast<int>(Box()->Text().size()); }
    QRect characterRect(int offset) const override
    {
        LineDiffView* box = Box();
        const int scroll = box->horizontalScrollBar()->value();
        const int left = static_cast<int>(box->XOfPosition(offset)) - scroll + LineDiffView::kMargin;
        const int right = static_cast<int>(box->XOfPosition(offset + 1)) - scroll + LineDiffView::kMargin;
        const QRect place(left, 0, std::max(1, right - left), box->viewport()->height());
        return QRect(box->viewport()->mapToGlobal(place.topLeft()), place.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        const QPoint at = Box()->viewport()->mapFromGlobal(point);
        return Box()->viewport()->rect().contains(at) ? static_cast<int>(Box()->PositionAtViewportX(at.x())) : -1;
    }
    void scrollToSubstring(int start, int end) override { Box()->ShowSelection(start, end - start); }
    // Each character's look: differing or not, with the blank marker.
    QString attributes(int offset, int* start, int* end) const override
    {
        const LineDiffView* box = Box();
        const qsizetype size = box->Text().size();
        if (offset < 0 || offset >= size) {
            *start = *end = offset;
            return {};
        }
        const LineDiffView::Ink ink = box->InkAt(offset);
        const bool marker = box->MarkerAt(offset);
        qsizetype first = offset;
        qsizetype last = offset + 1;
        // Runs are short next to a long line; look no farther than a screenful.
        while (first > 0 && offset - first < 512 && box->InkAt(first - 1) == ink && box->MarkerAt(first - 1) == marker)
            --first;
        while (last < size && last - offset < 512 && box->InkAt(last) == ink && box->MarkerAt(last) == marker)
            ++last;
        *start = static_cast<int>(first);
        *end = static_cast<int>(last);
        const QColor colour = box->InkColor(ink);
        return QStringLiteral("fg-color:%1,%2,%3;underline:%4;")
            .arg(colour.red())
            .arg(colour.green())
            .arg(colour.blue())
            .arg(marker ? QStringLiteral("single") : QStringLiteral("none"));
    }

private:
    [[nodiscard]] std::pair<qsizetype, qsizetype> Selected() const
    {
        const qsizetype anchor = Box()->anchorPosition();
        const qsizetype cursor = Box()->cursorPosition();
        return {std::min(anchor, cursor), std::max(anchor, cursor)};
    }
};

class BarValue final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit BarValue(DiffBarWidget* bar) : QAccessibleWidget(bar, QAccessible::Slider) {}

    [[nodiscard]] DiffBarWidget* Bar() const { return static_cast<DiffBarWidget*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return Bar()->PositionRowCount() == 0
                       ? QString()
                       : QStringLiteral("row %1 of %2").arg(Bar()->PositionRow()).arg(Bar()->PositionRowCount());
        if (type != QAccessible::Description)
            return QAccessibleWidget::text(type);
        if (Bar()->PositionRowCount() == 0)
            return QStringLiteral("Shows where the differences lie once two files are compared.");
        const std::size_t count = Bar()->Differences();
        return QStringLiteral("Shows where the %1 lie in the files; the mark is at row %2 of %3.")
            .arg(count == 1 ? QStringLiteral("1 difference") : QStringLiteral("%1 differences").arg(count))
            .arg(Bar()->PositionRow())
            .arg(Bar()->PositionRowCount());
    }
    QVariant currentValue() const override { return Bar()->PositionRow(); }
    void setCurrentValue(const QVariant& value) override { Bar()->RequestRow(value.toInt()); }
    QVariant maximumValue() const override { return Bar()->PositionRowCount(); }
    QVariant minimumValue() const override { return Bar()->PositionRowCount() == 0 ? 0 : 1; }
    QVariant minimumStepSize() const override { return 1; }
};

QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("VGrid"))
        return Accessibility::CreateGridInterface(static_cast<VGrid*>(object));
    if (className == QLatin1String("LineDiffView"))
        return Accessibility::CreatePaneInterface(static_cast<LineDiffView*>(object));
    if (className == QLatin1String("DiffBarWidget"))
        return Accessibility::CreateBarInterface(static_cast<DiffBarWidget*>(object));
    if (className == QLatin1String("SplitterBar"))
        return Accessibility::CreateSplitterInterface(static_cast<SplitterBar*>(object));
    return nullptr;
}

}  // namespace

void Accessibility::InstallFactory()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(Factory); });
}

QAccessibleInterface* Accessibility::CreatePaneInterface(LineDiffView* box)
{
    return new PaneText(box);
}

QAccessibleInterface* Accessibility::CreateBarInterface(DiffBarWidget* bar)
{
    return new BarValue(bar);
}

QAccessibleInterface* Accessibility::CreateSplitterInterface(SplitterBar* splitter)
{
    return new QAccessibleWidget(splitter, QAccessible::Splitter);
}

LineDiffView::Ranges LineDiffView::DifferingRanges(std::size_t limit) const
{
    Ranges found;
    const qsizetype size = m_text.size();
    const auto add = [&found, limit](qsizetype first, qsizetype end) {
        if (first >= end)
            return true;
        if (!found.ranges.empty() && found.ranges.back().second == first) {
            found.ranges.back().second = end;
            return true;
        }
        if (found.ranges.size() == limit) {
            found.more = true;
            return false;
        }
        found.ranges.emplace_back(first, end);
        return true;
    };
    if (m_marked) {
        // A missing mark counts as differing, as it is drawn.
        const std::vector<bool>& marks = m_marked->marks;
        const bool commonDiffers = m_marked->common == Ink::Differ;
        for (qsizetype k = 0; k < size; ++k) {
            const bool differs =
                static_cast<std::size_t>(k) >= marks.size() || !marks[static_cast<std::size_t>(k)] || commonDiffers;
            if (differs && !add(k, k + 1))
                break;
        }
        return found;
    }
    for (auto run = m_runs.begin(); run != m_runs.end(); ++run) {
        const qsizetype end = std::next(run) == m_runs.end() ? size : std::min(size, std::next(run)->start);
        if (run->ink == Ink::Differ && !add(std::min(run->start, size), end))
            break;
    }
    return found;
}

void LineDiffView::TellLineChanged(const LineText& before)
{
    if (!QAccessible::isActive())
        return;
    if (before.size() <= kEventTextLength && m_text.size() <= kEventTextLength) {
        QAccessibleTextUpdateEvent update(this, 0, before.toString(), m_text.toString());
        QAccessible::updateAccessibility(&update);
    } else {
        QAccessibleEvent update(this, QAccessible::VisibleDataChanged);
        QAccessible::updateAccessibility(&update);
    }
    QAccessibleEvent description(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
}
