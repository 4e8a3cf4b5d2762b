// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTextBrowser;

namespace qx {

// The help window: the program's help pages, opened at a window's help context number or at
// the welcome page.
class THelpForm final : public QWidget {
    Q_OBJECT
public:
    explicit THelpForm(QWidget* parent = nullptr);

    // The page of a help context (1000 to 1007); any other number opens the welcome page.
    void ShowContext(int helpContext);
    void ShowTopic(const QString& page);
    QString CurrentPage() const;

    static QString PageOfContext(int helpContext);

private:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 520;

    // Opening: the whole window on the screen of the active window, in its middle, the first
    // time and whenever it would stand partly off the screen.
    void PlaceOnScreen();

    QTextBrowser* m_browser;
    bool m_placed = false;
};

// Opens the help of the window that has the focus (its "helpContext" property, or that of a
// window above it) when F1 is pressed anywhere in the program.
class THelpKey final : public QObject {
    Q_OBJECT
public:
    THelpKey(THelpForm& help, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    THelpForm& m_help;
};

} // namespace qx
