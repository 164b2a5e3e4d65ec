// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

namespace trx {

// Asks how folders dropped onto the directory tree are added: as destinations or as sources. Created
// once and reused; every showing starts without a choice, and "OK" stays disabled until one is made.
class TForm4 : public QDialog {
    Q_OBJECT

public:
    // Results of exec(); the caller treats every code below kResultAddAsDestinations as no choice.
    static constexpr int kResultCancel = 2;
    static constexpr int kResultAddAsDestinations = 3;
    static constexpr int kResultAddAsSources = 4;

    explicit TForm4(QWidget* parent = nullptr);

    // Clears both choices and disables "OK"; runs on every showing.
    void FormShow();
    // Either radio button: a choice is made, "OK" is enabled.
    void RadioButtonClick();
    // Closes with kResultAddAsSources or kResultAddAsDestinations.
    void Button_OKClick();

    // Escape, "Abbrechen" and the window's close button end with kResultCancel.
    void reject() override;

    QLabel* Image = nullptr;
    QLabel* Label1 = nullptr;
    QRadioButton* RadioButton_Destination = nullptr;
    QRadioButton* RadioButton_Source = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Cancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace trx
