// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace trx::platform {

// True when a user can see windows: an X or Wayland display is named and Qt is not told to draw
// off screen. Without one, windows are drawn off screen and messages go to standard error.
bool GraphicalDisplayAvailable();

}  // namespace trx::platform
