// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editors/TForm4.h"

#include "ui/common/ButtonRow.h"
#include "ui/common/FixedDialogFrame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace trx {

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Verzeichnisse hinzufügen"));
    UseFixedDialogFrame(*this);

    // FormCreate: the question-mark icon is loaded once.
    Image = new QLabel;
    Image->setObjectName(QStringLiteral("Image"));
    Image->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    Image->setFixedSize(32, 32);
    Label1 = new QLabel(QStringLiteral("Wie sollen die ausgewählten Verzeichnisse hinzugefügt werden?"));
    Label1->setObjectName(QStringLiteral("Label1"));
    RadioButton_Destination = new QRadioButton(QStringLiteral("Als Zielverzeichnisse"));
    RadioButton_Destination->setObjectName(QStringLiteral("RadioButton_Destination"));
    RadioButton_Source = new QRadioButton(QStringLiteral("Als Quellverzeichnisse"));
    RadioButton_Source->setObjectName(QStringLiteral("RadioButton_Source"));
    Button_OK = new QPushButton(QStringLiteral("OK"));
    Button_OK->setObjectName(QStringLiteral("Button_OK"));
    Button_OK->setDefault(true);
    Button_Cancel = new QPushButton(QStringLiteral("Abbrechen"));
    Button_Cancel->setObjectName(QStringLiteral("Button_Cancel"));

    auto* choices = new QVBoxLayout;
    choices->setSpacing(4);
    choices->addWidget(Label1);
    choices->addWidget(RadioButton_Destination);
    choices->addWidget(RadioButton_Source);
    auto* question = new QHBoxLayout;
    question->setSpacing(12);
    question->addWidget(Image, 0, Qt::AlignTop);
    question->addLayout(choices);
    QHBoxLayout* buttons = RightAlignedButtons({Button_OK, Button_Cancel});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(question);
    layout->addSpacing(4);
    layout->addLayout(buttons);
    // A fixed dialog border: the dialog takes the size of its content and cannot be resized.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(RadioButton_Destination, &QRadioButton::toggled, this, [this] { RadioButtonClick(); });
    connect(RadioButton_Source, &QRadioButton::toggled, this, [this] { RadioButtonClick(); });
    connect(Button_OK, &QPushButton::clicked, this, [this] { Button_OKClick(); });
    connect(Button_Cancel, &QPushButton::clicked, this, [this] { reject(); });
    FormShow();
}

void TForm4::FormShow() {
    // Radio buttons of one group refuse to be unticked while exclusive.
    for (QRadioButton* button : {RadioButton_Destination, RadioButton_Source}) {
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
    Button_OK->setEnabled(false);
}

void TForm4::RadioButtonClick() {
    Button_OK->setEnabled(RadioButton_Destination->isChecked() || RadioButton_Source->isChecked());
}

void TForm4::Button_OKClick() {
    if (!Button_OK->isEnabled()) {
        return;
    }
    done(RadioButton_Source->isChecked() ? kResultAddAsSources : kResultAddAsDestinations);
}

void TForm4::reject() {
    done(kResultCancel);
}

void TForm4::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        FormShow();
    }
    QDialog::showEvent(event);
}

}  // namespace trx
