// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAnyStringView>

namespace trx {

// `widget` with its object name set, so that a layout builder can name a control where it creates it.
template <typename Widget>
Widget* Named(Widget* widget, QAnyStringView name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace trx
