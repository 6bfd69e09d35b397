#pragma once
// Compares two files line by line and keeps the outcome as result lines.

#include <QString>
#include <QStringList>

class cDiffEngine {
public:
    void IgnoreCase(bool on) { m_ignoreCase = on; }
    void IgnoreWhiteSpace(bool on) { m_ignoreWhiteSpace = on; }
    void ForceTextCompare(bool on) { m_forceText = on; }
    [[nodiscard]] bool IgnoreCase() const { return m_ignoreCase; }
    [[nodiscard]] bool IgnoreWhiteSpace() const { return m_ignoreWhiteSpace; }
    [[nodiscard]] bool ForceTextCompare() const { return m_forceText; }

    // 0 identical, 1 different, 2 the comparison failed (line 0 says why).
    [[nodiscard]] int CompareFiles(const QString& fileOne, const QString& fileTwo);
    [[nodiscard]] int ResultLineCount() const { return static_cast<int>(m_lines.size()); }
    [[nodiscard]] QString ResultLine(int index) const { return m_lines.value(index); }

private:
    bool m_ignoreCase = false;
    bool m_ignoreWhiteSpace = false;
    bool m_forceText = false;
    QStringList m_lines;
};
