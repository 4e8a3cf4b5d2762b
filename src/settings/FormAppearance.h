#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <string>

class QVBoxLayout;
class QWidget;

namespace qx {

class TGlobalOptions;

// The font every window of the program uses, from the global options.
QFont OptionsFont(const TGlobalOptions& options);

// Colours are stored as 0xBBGGRR, blue in the high byte of the low three.
QColor ColorFromStored(std::uint32_t bbggrr);
std::uint32_t StoredFromColor(const QColor& color);

// Text of the core (UTF-8 bytes) for the widgets, and back.
inline QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string FromQt(const QString& text) {
    return text.toStdString();
}

// Centres a top-level window on the screen it is on (the primary one before it is shown).
void CenterOnScreen(QWidget& window);

// Lays out a fixed-size dialog: the caption panel across the top edge, below it the returned
// layout with the usual margins for the dialog's own controls.
QVBoxLayout* CaptionedDialogLayout(QWidget& dialog, QWidget* caption);

} // namespace qx
