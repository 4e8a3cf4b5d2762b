// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QSpinBox;
class QWidget;

namespace qx {

// The up-down control of a retry or delay field: the range of UpDownPosition.h, as wide as its
// numbers need.
QSpinBox* NewUpDown(const char* name, QWidget* parent);

} // namespace qx
