// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editors/TSpinEdit.h"

#include <algorithm>

namespace trx {

namespace {

bool AllDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State TSpinEdit::validate(QString& input, int& /*pos*/) const {
    if (input.isEmpty()) {
        return QValidator::Intermediate;
    }
    if (!AllDigits(input)) {
        return QValidator::Invalid;
    }
    bool ok = false;
    const qlonglong value = input.toLongLong(&ok);
    // A run of digits too long for any number is still only an unfinished entry: fixup clamps it.
    return ok && value >= minimum() && value <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void TSpinEdit::fixup(QString& input) const {
    if (input.isEmpty() || !AllDigits(input)) {
        input = QString::number(minimum());
        return;
    }
    bool ok = false;
    const qlonglong value = input.toLongLong(&ok);
    if (!ok || value > maximum()) {
        input = QString::number(maximum());
    } else if (value < minimum()) {
        input = QString::number(minimum());
    }
}

}  // namespace trx
