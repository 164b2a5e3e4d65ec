// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/RunPlan.h"

#include <QIcon>
#include <QString>

namespace trx {

// The icon of a kind of action, drawn rather than taken from the desktop theme so that every desktop
// shows the same five: a green plus (copy), blue arrows (replace), a red cross (delete), an amber pause
// (held back), a red warning sign (problem).
QIcon KindIcon(cPlannedAction::Kind kind);

// The kind's name in the list: "Kopieren", "Ersetzen", "Löschen", "Zurückgehalten", "Problem".
QString KindName(cPlannedAction::Kind kind);

}  // namespace trx
