// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <string>

namespace trx {

// The window "Form_Protocol" that shows the protocol of the project at `projectPath`: captioned
// "<file name> - Protokoll", 480 by 360 pixels inside, a read-only "Memo_Protocol" in the desktop's
// fixed-pitch font with both scroll bars holding the file's lines. Null, with the reason in `error`, when the
// file cannot be read.
std::unique_ptr<QDialog> CreateProtocolViewer(QWidget* parent, const std::string& projectPath,
                                              QString& error);

}  // namespace trx
