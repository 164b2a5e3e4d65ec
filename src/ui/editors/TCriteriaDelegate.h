// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QStyledItemDelegate>

namespace trx {

// Draws the criteria list of the file filter frame: each item a framed box in the list's background (the
// selection colour when selected), the program's icon at 16 by 16 pixels near the left edge and the text
// beside it, 22 pixels from the left edge. Every item is 20 pixels high, or higher where the font needs
// it.
class TCriteriaDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kItemHeight = 20;
    static constexpr int kTextLeft = 22;

    // The height of an item in `font`.
    static int ItemHeight(const QFont& font);

    explicit TCriteriaDelegate(const QIcon& icon, QObject* parent = nullptr);

    void SetIcon(const QIcon& icon) { icon_ = icon; }
    const QIcon& Icon() const { return icon_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QIcon icon_;
};

}  // namespace trx
