// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QPixmap>
#include <QPoint>
#include <QRegion>
#include <QWidget>

namespace trx {

class TQVImageButtonStyle;

// A button drawn entirely from the pictures of a TQVImageButtonStyle: the default picture at rest, the
// hover picture while the pointer is over its clickable part, the click picture while pressed. Its
// clickable part is the whole button, or, when it is transparent, the style's region. It sizes itself to
// the picture it shows.
class TQVImageButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(QCursor Cursor READ Cursor WRITE SetCursor)

public:
    explicit TQVImageButton(QWidget* parent = nullptr);
    ~TQVImageButton() override;  // detaches from its style

    TQVImageButtonStyle* QVImageButtonStyle() const { return style_; }
    // Detaches from the old style, attaches to `style` (or none) and shows its pictures.
    void SetStyle(TQVImageButtonStyle* style);
    // Shows the hover picture while hovering and there is one, else the default picture.
    void refreshStyle();

    // A transparent button leaves out the pixels of its picture's transparent colour, and only the
    // style's region is clickable.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    // The cursor over the clickable part; elsewhere the parent's cursor shows.
    QCursor Cursor() const { return cursor_; }
    void SetCursor(const QCursor& cursor);

    // The style's pictures; null without a style or when the style's picture is empty.
    QPixmap GetDefaultPicture() const;
    QPixmap GetHoverPicture() const;
    QPixmap GetClickPicture() const;
    // The style's region, or null without a style or region.
    const QRegion* GetBtnRgn() const;

    const QPixmap& Picture() const { return picture_; }  // the picture shown now
    bool IsHovering() const { return hovering_; }        // the pointer is over the clickable part

    QSize sizeHint() const override;

signals:
    void OnClick();
    void OnDblClick();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                     QPoint position);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                   QPoint position);
    void OnMouseMove(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint position);
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool InClickablePart(const QPoint& position) const;
    void StartHovering(Qt::MouseButtons buttons);
    void EndHovering();
    void setParentCursor();
    void ShowPicture(const QPixmap& picture);

    TQVImageButtonStyle* style_ = nullptr;
    bool transparent_ = false;
    bool hovering_ = false;
    QCursor cursor_;
    QPixmap picture_;
    QPixmap drawn_;  // picture_, without its transparent colour on a transparent button
};

}  // namespace trx
