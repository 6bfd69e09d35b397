#pragma once
// Marks the characters that differ in the changed rows of both result
// grids. A grid asks for a row's marks while it paints; a row whose lines
// have not been compared yet is painted without them and noted, and once
// the paint is over the noted rows still in view are compared, a slice of
// time per turn of the event loop, and both grids are painted again. The
// comparison model keeps what was found, so each row is compared once for
// the shown comparison.

#include "compare/ComparisonModel.h"

#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class VGrid;

class GridCharacterMarks : public QObject {
    Q_OBJECT
public:
    // grids: File One's, then File Two's; ignoreCase is asked at each use.
    GridCharacterMarks(ComparisonModel& model, std::array<VGrid*, 2> grids, std::function<bool()> ignoreCase,
                       QObject* parent = nullptr);

    // True while rows wait to be compared.
    [[nodiscard]] bool Pending() const { return !m_wanted.empty(); }

private:
    [[nodiscard]] const std::vector<bool>* Marks(int side, std::int32_t row);
    void CompareWantedRows();

    ComparisonModel& m_model;
    std::array<VGrid*, 2> m_grids;
    std::function<bool()> m_ignoreCase;
    std::vector<std::int32_t> m_wanted;  // rows painted without their marks, in the order asked
    QTimer m_timer;
};
