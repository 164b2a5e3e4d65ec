// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QStyledItemDelegate>

namespace trx {

// Draws the criteria list of the file filter frame: each item a framed box in the list's background (the
// selection colour when selected), the program's icon at 16 by 16 pixels near the left edge and the text
// beside it, every item 20 pixels high.
class TCriteriaDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kItemHeight = 20;

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
