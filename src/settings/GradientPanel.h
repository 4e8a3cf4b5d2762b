#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace qx {

// A title panel: a gradient from black on the left to an end colour on the right, drawn in
// 32 bands, with an optional bold title and a text in white.
class TGradientPanel final : public QWidget {
    Q_OBJECT
public:
    explicit TGradientPanel(QWidget* parent = nullptr);

    void SetEndColor(const QColor& color);
    QColor EndColor() const { return m_endColor; }
    // "Title text": the title in bold, the text after it.
    void SetTexts(const QString& title, const QString& text);
    QString Title() const { return m_title; }
    QString Text() const { return m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr int kBands = 32;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QFont TitleFont() const;

    QColor m_endColor;
    QString m_title;
    QString m_text;
};

} // namespace qx
