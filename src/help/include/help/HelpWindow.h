#pragma once
// The help window: the manual installed with the program, shown in a
// browser of our own, so that help works on machines without a web
// browser. One window per owner, raised again when already open.

#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // Topics: a page of the manual, with or without an anchor.
    static inline const QString kContents = QStringLiteral("index.html");
    static inline const QString kTroubleshooting = QStringLiteral("index.html#troubleshooting");

    // Shows the manual's topic in owner's help window, opening it when
    // needed. When the manual is not found the user is told where it was
    // looked for, and no window opens. Returns the window, or null.
    static HelpWindow* ShowTopic(QWidget* owner, const QString& topic);

    // The manual's folder (ending in a separator).
    explicit HelpWindow(const QString& folder, QWidget* owner = nullptr);
    void Open(const QString& topic);
    [[nodiscard]] QUrl Source() const;
    [[nodiscard]] QTextBrowser* Browser() const { return m_browser; }

    // The manual's colours for a palette: links, headings, the red of the
    // examples and the shading of code and table headers, each readable on
    // the palette's base colour. The manual's own style sheet gives none.
    [[nodiscard]] static QString StyleSheet(const QPalette& palette);

protected:
    void changeEvent(QEvent* event) override;

private:
    QString m_folder;
    QTextBrowser* m_browser;
    QToolButton* m_contents;
    QToolButton* m_back;
    QToolButton* m_forward;
};
