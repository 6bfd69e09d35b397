#pragma once
// Options > Leave Out Names: the shell patterns (*, ?, [...]) of the file
// names and of the folder names a folder comparison leaves out, each list
// typed as patterns separated by semicolons.

#include <QDialog>
#include <QStringList>

class QLineEdit;

class NameFiltersDialog : public QDialog {
public:
    NameFiltersDialog(const QStringList& files, const QStringList& folders, QWidget* parent);
    [[nodiscard]] QStringList Files() const;
    [[nodiscard]] QStringList Folders() const;

private:
    QLineEdit* txtFiles = nullptr;
    QLineEdit* txtFolders = nullptr;
};
