#include "folderview/NameFiltersDialog.h"

#include "app/cViewFileDiffsOptions.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

NameFiltersDialog::NameFiltersDialog(const QStringList& files, const QStringList& folders, QWidget* parent)
    : QDialog(parent), txtFiles(new QLineEdit(files.join(QStringLiteral("; ")), this)),
      txtFolders(new QLineEdit(folders.join(QStringLiteral("; ")), this))
{
    setObjectName(QStringLiteral("NameFiltersDialog"));
    setWindowTitle(QStringLiteral("Leave Out Names"));
    txtFiles->setObjectName(QStringLiteral("txtFiles"));
    txtFolders->setObjectName(QStringLiteral("txtFolders"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Files:"), txtFiles);
    form->addRow(QStringLiteral("F&olders:"), txtFolders);
    auto* hint = new QLabel(QStringLiteral("Names matching these patterns (* ? [abc]), separated by semicolons, are "
                                           "left out of folder comparisons."),
                            this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(480, sizeHint().height());
}

QStringList NameFiltersDialog::Files() const
{
    return cViewFileDiffsOptions::FolderCompare::Patterns(txtFiles->text());
}

QStringList NameFiltersDialog::Folders() const
{
    return cViewFileDiffsOptions::FolderCompare::Patterns(txtFolders->text());
}
