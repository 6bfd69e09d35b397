#include "mainwindow/LineFiltersDialog.h"

#include "app/Prompt.h"
#include "engine/LineFilterPatterns.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Where what is wrong with an expression is said, on one line: the dialog
// widens to a longer message (a wrapped one would sit cut off under the
// buttons of a dialog already shown).
QLabel* ProblemLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("lblProblem"));
    label->setMinimumHeight(label->fontMetrics().lineSpacing());
    return label;
}

}  // namespace

LineFilterEditDialog::LineFilterEditDialog(const QString& pattern, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLineFilter"));
    setWindowTitle(pattern.isEmpty() ? QStringLiteral("Add Line Filter") : QStringLiteral("Edit Line Filter"));
    setAccessibleDescription(
        QStringLiteral("A regular expression: a line it matches anywhere is left out of the comparison"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Regular expression (a line it matches anywhere is left out):"), this);
    txtExpression = new QLineEdit(pattern, this);
    txtExpression->setObjectName(QStringLiteral("txtExpression"));
    txtExpression->setMinimumWidth(360);
    label->setBuddy(txtExpression);
    lblProblem = ProblemLabel(this);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(label);
    layout->addWidget(txtExpression);
    layout->addWidget(lblProblem);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(txtExpression, &QLineEdit::textChanged, this, [this] { Check(); });
    Check();
}

QString LineFilterEditDialog::Pattern() const
{
    return txtExpression->text();
}

void LineFilterEditDialog::Check()
{
    bool usable = false;
    lblProblem->setText(LineFilterPatterns::Problem(txtExpression->text(), usable));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(usable);
}

LineFiltersDialog::LineFiltersDialog(const QList<Filter>& filters, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLineFilters"));
    setWindowTitle(QStringLiteral("Line Filters"));
    setAccessibleDescription(QStringLiteral("Regular expressions for lines that take no part in a comparison; "
                                            "Space ticks or clears the current one"));
    auto* layout = new QGridLayout(this);
    auto* label = new QLabel(QStringLiteral("Lines that match a ticked &expression take no part in the comparison; "
                                            "they are shown in grey. Changes reach the next Compare."),
                             this);
    label->setWordWrap(true);
    lstFilters = new QListWidget(this);
    lstFilters->setObjectName(QStringLiteral("lstFilters"));
    lstFilters->setUniformItemSizes(true);
    lstFilters->setAccessibleName(QStringLiteral("Line filters"));
    label->setBuddy(lstFilters);
    auto* cmdAdd = new QPushButton(QStringLiteral("&Add..."), this);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdEdit = new QPushButton(QStringLiteral("E&dit..."), this);
    cmdEdit->setObjectName(QStringLiteral("cmdEdit"));
    cmdRemove = new QPushButton(QStringLiteral("&Remove"), this);
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    lblProblem = ProblemLabel(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* side = new QVBoxLayout;
    side->addWidget(cmdAdd);
    side->addWidget(cmdEdit);
    side->addWidget(cmdRemove);
    side->addStretch();
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(lstFilters, 1, 0);
    layout->addLayout(side, 1, 1);
    layout->addWidget(lblProblem, 2, 0, 1, 2);
    layout->addWidget(buttons, 3, 0, 1, 2);
    resize(520, 320);
    for (const Filter& filter : filters)
        AddItem(filter);
    connect(cmdAdd, &QPushButton::clicked, this, [this] { Add(); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { Edit(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { Remove(); });
    connect(lstFilters, &QListWidget::itemDoubleClicked, this, [this] { Edit(); });
    connect(lstFilters, &QListWidget::currentRowChanged, this, [this] { ShowCurrent(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (lstFilters->count() > 0)
        lstFilters->setCurrentRow(0);
    ShowCurrent();
}

QList<LineFiltersDialog::Filter> LineFiltersDialog::Filters() const
{
    QList<Filter> filters;
    filters.reserve(lstFilters->count());
    for (int i = 0; i < lstFilters->count(); ++i) {
        const QListWidgetItem* item = lstFilters->item(i);
        filters.append({item->text(), item->checkState() == Qt::Checked});
    }
    return filters;
}

void LineFiltersDialog::AddItem(const Filter& filter)
{
    auto* item = new QListWidgetItem(filter.pattern, lstFilters);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(filter.enabled ? Qt::Checked : Qt::Unchecked);
}

void LineFiltersDialog::Add()
{
    LineFilterEditDialog edit(QString(), this);
    modVantrel::Prompts().showModal(&edit);
    if (edit.result() != QDialog::Accepted)
        return;
    AddItem({edit.Pattern(), true});
    lstFilters->setCurrentRow(lstFilters->count() - 1);
}

void LineFiltersDialog::Edit()
{
    QListWidgetItem* item = lstFilters->currentItem();
    if (!item)
        return;
    LineFilterEditDialog edit(item->text(), this);
    modVantrel::Prompts().showModal(&edit);
    if (edit.result() != QDialog::Accepted)
        return;
    item->setText(edit.Pattern());
    ShowCurrent();
}

void LineFiltersDialog::Remove()
{
    delete lstFilters->currentItem();
    ShowCurrent();
}

// An expression read from the options file may not compile: say so while
// it is the current one.
void LineFiltersDialog::ShowCurrent()
{
    const QListWidgetItem* item = lstFilters->currentItem();
    cmdEdit->setEnabled(item != nullptr);
    cmdRemove->setEnabled(item != nullptr);
    bool usable = false;
    lblProblem->setText(item ? LineFilterPatterns::Problem(item->text(), usable) : QString());
}
