// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace trx {

// Resource paths of the program's own pictures, compiled into trx_ui_extra.
inline const QString kApplicationIconResource = QStringLiteral(":/icons/tresorix.svg");
inline const QString kLogoResource = QStringLiteral(":/images/logo.svg");

// Makes the pictures of trx_ui_extra reachable under ":/"; the accessors below call it, anyone reading the
// resource paths directly calls it first. Safe to call any number of times.
void InitExtraResources();

// The program's icon (a vault door) in the sizes the desktop asks for, 16 to 256 pixels, for the window
// icons, the filter frames' criteria list and the about box. Built once; needs a QGuiApplication.
QIcon ApplicationIcon();

// The about box's logo at its own size on white, the colour that lets the banner show through; rendered
// with `devicePixelRatio` times as many pixels for sharp high-resolution screens.
QImage LogoImage(qreal devicePixelRatio = 1.0);

}  // namespace trx
