// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>

class QLabel;
class QWidget;

namespace qx {

// UTF-8 text as Qt's.
QString Utf8Text(const std::string& text);

// A label of text that comes from a server or from ssh: shown as plain text (never as rich
// text), wrapped, selectable for copying.
QLabel* PlainLabel(const QString& text, const char* name, QWidget* parent);

// A fingerprint, in a fixed-width font and unwrapped.
QLabel* FingerprintLabel(const QString& text, const char* name, QWidget* parent);

} // namespace qx
