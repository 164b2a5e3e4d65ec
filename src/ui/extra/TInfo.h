// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

class QLabel;
class QPushButton;

namespace trx {

class cDesktopServices;

// The about box "Info": a painted banner with the program's icon, title, version and development period
// and its logo, the maker's credit line, and two link labels that hand a mail and a web address to the
// desktop. Created once and reused.
class TInfo : public QDialog {
    Q_OBJECT

public:
    // This build's credit line and addresses; the web address is shown without its scheme.
    static inline const QString kCreditLine = QStringLiteral("Ein Programm des Tresorix-Projekts");
    static inline const QString kEMailAddress = QStringLiteral("info@tresorix.example");
    static inline const QString kWebAddress = QStringLiteral("www.tresorix.example");
    // The licence, named under the banner on the left; its full name is the label's tool tip.
    static inline const QString kLicense = QStringLiteral("Lizenz: GNU GPL 3 oder später");
    static inline const QString kLicenseName = QStringLiteral(
        "GNU General Public License, Version 3 oder (nach Ihrer Wahl) jede spätere Version "
        "(GPL-3.0-or-later)");

    // FormCreate: loads the logo and fills the three labels. The link labels hand their addresses to
    // `desktop`, which outlives the box.
    explicit TInfo(cDesktopServices& desktop, QWidget* parent = nullptr);

    // Keeps the title and the development period for the banner and the mail subject, then shows the box
    // modally; returns the dialog's result. The main window passes the application title and "2006".
    int ShowAbout(const QString& title, const QString& developmentPeriod);
    // Keeps both texts without showing anything (ShowAbout's first half).
    void SetTexts(const QString& title, const QString& developmentPeriod);
    const QString& Title() const { return title_; }
    const QString& DevelopmentPeriod() const { return developmentPeriod_; }

    // The banner of the given size: the two gradients, the logo ANDed onto them, the icon in its frame
    // and the three lines of text. PaintBox_LogoPaint draws it; the version comes from the application.
    QImage PaintBanner(QSize size, qreal devicePixelRatio = 1.0) const;
    // The blend of the banner's start colour with white at `fraction` (0 to 1), each channel cut.
    static QColor BannerBlend(double fraction);
    const QImage& Logo() const { return logo_; }

    void PaintBox_LogoPaint();
    // Shared by both link labels: hover underlines, a pressed button turns the text red.
    void Label_LinkMouseEnter(QLabel* label);
    void Label_LinkMouseLeave(QLabel* label);
    void Label_LinkMouseDown(QLabel* label);
    void Label_LinkMouseUp(QLabel* label);
    // Opens a new message to the mail address with the subject "Anwendung: " and the title.
    void Label_EMailClick();
    // Opens the web address.
    void Label_URLClick();

    // The link colours: at rest and while a mouse button is pressed on the label.
    static inline const QColor kLinkColour = QColor(0, 0, 255);
    static inline const QColor kLinkPressedColour = QColor(255, 0, 0);

    QWidget* PaintBox_Logo = nullptr;
    QLabel* Label_Info = nullptr;
    QLabel* Label_EMail = nullptr;
    QLabel* Label_URL = nullptr;
    QLabel* Label_License = nullptr;
    QPushButton* Button_OK = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Sizes the box, its banner and its rows to the font, the labels right-aligned under the banner.
    void LayOut();
    void SetLinkColour(QLabel* label, const QColor& colour);

    cDesktopServices& desktop_;
    QString title_;
    QString developmentPeriod_;
    QImage logo_;
};

}  // namespace trx
