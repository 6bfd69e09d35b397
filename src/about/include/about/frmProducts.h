#pragma once
// The window about the maker's other products, shown modally when the main
// window closes.

#include <QDialog>
#include <QList>

class LinkLabel;
class QPushButton;

class frmProducts : public QDialog {
    Q_OBJECT
public:
    explicit frmProducts(QWidget* parent = nullptr);

    void Form_Load();
    void Form_Activate();
    void cmdOK_Click();
    void LinkLabel_Click(const LinkLabel* label);

    QList<LinkLabel*> lblProductLink;
    LinkLabel* lblMakerLink;
    QPushButton* cmdOK;
    QPushButton* cmdFocus;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void AddProductPanel(int index, int top);
};
