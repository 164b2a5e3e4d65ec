// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extra/TQVImageButton.h"

#include "ui/extra/TQVImageButtonStyle.h"

#include <QBitmap>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

namespace trx {

TQVImageButton::TQVImageButton(QWidget* parent) : QWidget(parent) {
    // Hovering a transparent button follows the pointer across its region, not just in and out.
    setMouseTracking(true);
}

TQVImageButton::~TQVImageButton() {
    if (style_ != nullptr) {
        style_->deleteButton(this);
    }
}

void TQVImageButton::SetStyle(TQVImageButtonStyle* style) {
    if (style_ != nullptr) {
        style_->deleteButton(this);
    }
    style_ = style;
    if (style_ != nullptr) {
        style_->appendButton(this);
    }
    refreshStyle();
}

void TQVImageButton::refreshStyle() {
    const QPixmap hover = GetHoverPicture();
    ShowPicture(hovering_ && !hover.isNull() ? hover : GetDefaultPicture());
}

void TQVImageButton::SetTransparent(bool transparent) {
    if (transparent_ == transparent) {
        return;
    }
    transparent_ = transparent;
    ShowPicture(picture_);
}

void TQVImageButton::SetCursor(const QCursor& cursor) {
    cursor_ = cursor;
    if (hovering_) {
        setCursor(cursor_);
    }
}

QPixmap TQVImageButton::GetDefaultPicture() const {
    return style_ != nullptr ? style_->DefaultPicture() : QPixmap();
}

QPixmap TQVImageButton::GetHoverPicture() const {
    return style_ != nullptr ? style_->HoverPicture() : QPixmap();
}

QPixmap TQVImageButton::GetClickPicture() const {
    return style_ != nullptr ? style_->ClickPicture() : QPixmap();
}

const QRegion* TQVImageButton::GetBtnRgn() const {
    return style_ != nullptr && style_->BtnRgn().has_value() ? &*style_->BtnRgn() : nullptr;
}

QSize TQVImageButton::sizeHint() const {
    return picture_.isNull() ? QWidget::sizeHint() : picture_.size();
}

bool TQVImageButton::InClickablePart(const QPoint& position) const {
    if (!transparent_) {
        return rect().contains(position);
    }
    const QRegion* region = GetBtnRgn();
    return region != nullptr && region->contains(position);
}

void TQVImageButton::StartHovering(Qt::MouseButtons buttons) {
    hovering_ = true;
    setCursor(cursor_);
    const QPixmap click = GetClickPicture();
    const QPixmap hover = GetHoverPicture();
    if (((buttons | QGuiApplication::mouseButtons()) & Qt::LeftButton) && !click.isNull()) {
        ShowPicture(click);
    } else if (!hover.isNull()) {
        ShowPicture(hover);
    }
}

void TQVImageButton::EndHovering() {
    hovering_ = false;
    setParentCursor();
}

void TQVImageButton::setParentCursor() {
    unsetCursor();  // a widget without a cursor of its own shows its parent's
}

void TQVImageButton::ShowPicture(const QPixmap& picture) {
    picture_ = picture;
    drawn_ = picture;
    if (transparent_ && !picture.isNull()) {
        const QColor key = picture.toImage().pixelColor(0, picture.height() - 1);
        drawn_.setMask(picture.createMaskFromColor(key, Qt::MaskInColor));
    }
    if (!picture_.isNull() && size() != picture_.size()) {
        resize(picture_.size());
        updateGeometry();
    }
    update();
}

void TQVImageButton::paintEvent(QPaintEvent*) {
    if (drawn_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, drawn_);
}

void TQVImageButton::enterEvent(QEnterEvent* event) {
    // A transparent button starts hovering only once the pointer reaches its region.
    if (!transparent_) {
        StartHovering(Qt::NoButton);
    }
    QWidget::enterEvent(event);
    emit OnMouseEnter();
}

void TQVImageButton::leaveEvent(QEvent* event) {
    if (hovering_ || !transparent_) {
        ShowPicture(GetDefaultPicture());
    }
    EndHovering();
    QWidget::leaveEvent(event);
    emit OnMouseLeave();
}

void TQVImageButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (transparent_) {
        const bool inside = InClickablePart(position);
        if (inside && !hovering_) {
            StartHovering(event->buttons());
        } else if (!inside && hovering_) {
            EndHovering();
            ShowPicture(GetDefaultPicture());
        }
    }
    emit OnMouseMove(event->modifiers(), event->buttons(), position);
}

void TQVImageButton::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::LeftButton && InClickablePart(position)) {
        const QPixmap click = GetClickPicture();
        if (!click.isNull()) {
            ShowPicture(click);
        }
    }
    emit OnMouseDown(event->button(), event->modifiers(), event->buttons(), position);
}

void TQVImageButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const bool inside = InClickablePart(position);
        const QPixmap hover = GetHoverPicture();
        ShowPicture(inside && !hover.isNull() ? hover : GetDefaultPicture());
        if (inside) {
            emit OnClick();
        }
    }
    emit OnMouseUp(event->button(), event->modifiers(), event->buttons(), position);
}

void TQVImageButton::mouseDoubleClickEvent(QMouseEvent* event) {
    emit OnDblClick();
    QWidget::mouseDoubleClickEvent(event);  // also a press, as the pictures expect
}

}  // namespace trx
