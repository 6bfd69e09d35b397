#include "mainwindow/GridCharacterMarks.h"

#include "mainwindow/VGrid.h"

#include <QElapsedTimer>
#include <algorithm>

namespace {

// Comparing goes on for this long in one turn of the event loop, then lets
// input and painting in: a screen of megabyte rows never freezes the window.
constexpr qint64 kSliceMilliseconds = 40;

}  // namespace

GridCharacterMarks::GridCharacterMarks(ComparisonModel& model, std::array<VGrid*, 2> grids,
                                       std::function<bool()> ignoreCase, QObject* parent)
    : QObject(parent), m_model(model), m_grids(grids), m_ignoreCase(std::move(ignoreCase))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &GridCharacterMarks::CompareWantedRows);
    for (int side = 0; side < 2; ++side)
        m_grids[static_cast<std::size_t>(side)]->SetMarkSource([this, side](int row) { return Marks(side, row); });
}

const std::vector<bool>* GridCharacterMarks::Marks(int side, std::int32_t row)
{
    if (!m_model.IsChangedLinePair(row))
        return nullptr;
    if (const auto* known = m_model.KnownRowMarks(row, m_ignoreCase()))
        return side == 0 ? &known->marks1 : &known->marks2;
    if (std::find(m_wanted.begin(), m_wanted.end(), row) == m_wanted.end())
        m_wanted.push_back(row);
    if (!m_timer.isActive())
        m_timer.start();
    return nullptr;
}

void GridCharacterMarks::CompareWantedRows()
{
    QElapsedTimer clock;
    clock.start();
    const bool ignoreCase = m_ignoreCase();
    bool found = false;
    while (!m_wanted.empty() && clock.elapsed() < kSliceMilliseconds) {
        const std::int32_t row = m_wanted.front();
        m_wanted.erase(m_wanted.begin());
        // A row scrolled out of view is compared when it is painted again.
        if (!m_grids[0]->RowIsVisible(row) && !m_grids[1]->RowIsVisible(row))
            continue;
        found = m_model.RowMarks(row, ignoreCase) != nullptr || found;
    }
    if (!m_wanted.empty())
        m_timer.start();
    if (found)
        for (VGrid* grid : m_grids)
            grid->viewport()->update();
}
