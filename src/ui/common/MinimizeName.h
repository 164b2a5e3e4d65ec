// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QFontMetrics;

namespace trx {

// Shortens a path until it fits `maxWidth` by putting ".../" in place of its leading directory names, one
// at a time: /a/b/c/file becomes /.../b/c/file, /.../c/file, /.../file, .../file and finally file (a
// "C:" drive in front is dropped after the directories). The result may still be too wide. `width` measures
// a text.
QString MinimizeName(const QString& path, const std::function<int(const QString&)>& width, int maxWidth);

// The same measured in a label's font.
QString MinimizeName(const QString& path, const QFontMetrics& metrics, int maxWidth);

}  // namespace trx
