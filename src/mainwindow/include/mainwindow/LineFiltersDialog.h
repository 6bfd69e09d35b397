#pragma once
// Options > Line Filters: the list of regular expressions whose lines take
// no part in a comparison, each with an on/off check, and the small dialog
// that adds or edits one, telling what is wrong with an expression while
// it is typed.

#include "app/cViewFileDiffsOptions.h"

#include <QDialog>
#include <QList>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// One expression, typed afresh or edited. OK is only offered for an
// expression that can be used.
class LineFilterEditDialog : public QDialog {
public:
    LineFilterEditDialog(const QString& pattern, QWidget* parent);
    [[nodiscard]] QString Pattern() const;

private:
    void Check();

    QLineEdit* txtExpression = nullptr;
    QLabel* lblProblem = nullptr;
    QDialogButtonBox* buttons = nullptr;
};

class LineFiltersDialog : public QDialog {
public:
    using Filter = cViewFileDiffsOptions::LineFilter;
    LineFiltersDialog(const QList<Filter>& filters, QWidget* parent);
    // The list as the dialog shows it, in order.
    [[nodiscard]] QList<Filter> Filters() const;

private:
    void Add();
    void Edit();
    void Remove();
    void ShowCurrent();
    void AddItem(const Filter& filter);

    QListWidget* lstFilters = nullptr;
    QLabel* lblProblem = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdRemove = nullptr;
};
