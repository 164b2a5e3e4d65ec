// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editors/TCriteriaDelegate.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace trx {

TCriteriaDelegate::TCriteriaDelegate(const QIcon& icon, QObject* parent)
    : QStyledItemDelegate(parent), icon_(icon) {
}

void TCriteriaDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QRect box = option.rect;
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QPalette& palette = option.palette;
    painter->save();
    painter->fillRect(box, palette.color(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(palette.color(QPalette::Mid));
    painter->drawRect(box.adjusted(0, 0, -1, -1));

    constexpr int kIconSize = 16;
    icon_.paint(painter,
                QRect(box.left() + 2, box.top() + (box.height() - kIconSize) / 2, kIconSize, kIconSize));

    // Centred by the height of a capital letter, so all five texts sit on one line whatever their
    // descenders.
    painter->setFont(option.font);
    painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QFontMetrics metrics(option.font);
    const int capitalHeight = metrics.boundingRect(QLatin1Char('A')).height();
    const int baseline = box.top() + (box.height() + capitalHeight) / 2;
    painter->drawText(box.left() + kTextLeft, baseline, index.data(Qt::DisplayRole).toString());
    painter->restore();
}

int TCriteriaDelegate::ItemHeight(const QFont& font) {
    return std::max(kItemHeight, QFontMetrics(font).height() + 6);
}

QSize TCriteriaDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int textWidth = option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
    return {kTextLeft + textWidth + 6, ItemHeight(option.font)};
}

}  // namespace trx
