// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace trx {

class TForm1;

// Loads the project named by "--open FILE" into the main window of an interactive start, the way
// "Öffnen" does once its dialog has given a file: a project that cannot be loaded is reported by the
// window, which stays open. A relative path is taken from the current folder, so that the caption and the
// next save name the file the user meant. Nothing happens for an empty path. Called by the start-up after
// the main window was created and shown.
void OpenProjectAtStart(TForm1& mainWindow, const std::string& path);

}  // namespace trx
