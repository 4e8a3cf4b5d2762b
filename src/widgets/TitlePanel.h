// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace qx {

// A colour as the settings keep it: blue, green, red from the high byte down.
inline QColor ColourFromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// A caption strip: white text on a horizontal gradient. The text reads company, application
// and caption text in that order, the first two in bold; empty parts are left out. Used at the
// top of dialogs and above the panes of the explorers.
class TTitlePanel final : public QWidget {
    Q_OBJECT
public:
    explicit TTitlePanel(QWidget* parent = nullptr);

    void SetCompanyText(const QString& text);
    void SetApplicationText(const QString& text);
    void SetCaptionText(const QString& text);
    void SetColours(const QColor& start, const QColor& end);

    QString CompanyText() const { return m_company; }
    QString ApplicationText() const { return m_application; }
    QString CaptionText() const { return m_caption; }
    QColor StartColour() const { return m_start; }
    QColor EndColour() const { return m_end; }
    // The whole line as drawn, parts separated by one blank.
    QString Text() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The program's default end colour (red 166, green 202, blue 240) after black.
    static QColor DefaultStartColour() { return QColor(0, 0, 0); }
    static QColor DefaultEndColour() { return QColor(166, 202, 240); }

Q_SIGNALS:
    // A press of any button, so that a pane can take the focus when its caption is clicked.
    void Clicked();
    // A double click with the left button.
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString BoldPart() const;
    QFont BoldFont() const;
    void TextChanged();

    QString m_company;
    QString m_application;
    QString m_caption;
    QColor m_start = DefaultStartColour();
    QColor m_end = DefaultEndColour();
};

} // namespace qx
