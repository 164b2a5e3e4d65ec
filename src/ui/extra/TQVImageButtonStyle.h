// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QRegion>
#include <optional>

namespace trx {

class TQVImageButton;

// The pictures and the clickable shape shared by any number of image buttons: a default, a hover and a
// click picture, and the region of the default picture without its transparent colour.
class TQVImageButtonStyle : public QObject {
    Q_OBJECT
    Q_PROPERTY(QPixmap DefaultPicture READ DefaultPicture WRITE SetDefaultPicture)
    Q_PROPERTY(QPixmap HoverPicture READ HoverPicture WRITE SetHoverPicture)
    Q_PROPERTY(QPixmap ClickPicture READ ClickPicture WRITE SetClickPicture)

public:
    explicit TQVImageButtonStyle(QObject* parent = nullptr);
    ~TQVImageButtonStyle() override;  // detaches every button first; they show nothing afterwards

    const QPixmap& DefaultPicture() const { return defaultPicture_; }
    const QPixmap& HoverPicture() const { return hoverPicture_; }
    const QPixmap& ClickPicture() const { return clickPicture_; }

    // Copies the picture, rebuilds the region and refreshes every button.
    void SetDefaultPicture(const QPixmap& picture);
    // Copies the picture and refreshes every button.
    void SetHoverPicture(const QPixmap& picture);
    // Copies the picture; buttons show it from their next press on.
    void SetClickPicture(const QPixmap& picture);
    // Takes the three pictures and the region of `source` and refreshes every button.
    void Assign(const TQVImageButtonStyle& source);

    // The region of every pixel of the default picture that is not of its transparent colour (the colour
    // of the first pixel of the bottom row); none while the default picture is empty.
    const std::optional<QRegion>& BtnRgn() const { return btnRgn_; }
    // Rebuilds BtnRgn from the default picture.
    void createBtnRgn();

    // The buttons that use this style, in the order they were attached; kept by TQVImageButton::SetStyle.
    const QList<TQVImageButton*>& Buttons() const { return buttons_; }
    void appendButton(TQVImageButton* button);
    void deleteButton(TQVImageButton* button);
    // Lets every attached button show the style's current pictures.
    void refreshButtons();

private:
    QPixmap defaultPicture_;
    QPixmap hoverPicture_;
    QPixmap clickPicture_;
    std::optional<QRegion> btnRgn_;
    QList<TQVImageButton*> buttons_;
};

}  // namespace trx
