// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <initializer_list>

class QGroupBox;
class QLabel;
class QWidget;

namespace Tolvane {

// The settings tabs' building blocks: a framed group of rows, and a dim wrapped caption under an option.
QGroupBox* section(std::initializer_list<QWidget*> rows);
QLabel* explanation(const QString& text);

} // namespace Tolvane
