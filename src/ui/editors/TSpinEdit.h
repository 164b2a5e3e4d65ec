// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSpinBox>

namespace trx {

// A number box that takes digits only. While the user types, a value outside the range stays in the box
// and the last valid value remains the box's value; when the box loses focus (or Enter is pressed) the
// text is brought into the range, and text that is no number becomes the minimum.
class TSpinEdit : public QSpinBox {
    Q_OBJECT

public:
    explicit TSpinEdit(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};

}  // namespace trx
