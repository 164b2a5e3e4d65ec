// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editors/TVersionSettingsBox.h"

#include "ui/common/Named.h"
#include "ui/editors/TSpinEdit.h"

#include <QGridLayout>
#include <QLabel>

namespace trx {

TVersionSettingsBox::TVersionSettingsBox(QWidget* parent)
    : QGroupBox(QStringLiteral("Frühere Versionen aufbewahren"), parent) {
    setObjectName(QStringLiteral("Box_Versions"));
    setCheckable(true);
    SpinEdit_Days = Named(new TSpinEdit, "SpinEdit_Days");
    SpinEdit_Days->setRange(1, 36500);
    SpinEdit_MaxCount = Named(new TSpinEdit, "SpinEdit_MaxCount");
    SpinEdit_MaxCount->setRange(0, 9999);
    SpinEdit_MaxCount->setSpecialValueText(QStringLiteral("unbegrenzt"));
    // Room for the word, which the box's own size does not count in.
    const int room = fontMetrics().horizontalAdvance(SpinEdit_MaxCount->specialValueText()) + 40;
    SpinEdit_Days->setMinimumWidth(room);
    SpinEdit_MaxCount->setMinimumWidth(room);
    auto* explanation = new QLabel(
        QStringLiteral("Ersetzte und gelöschte Sicherungskopien werden in den Ordner \".tresorix-versionen\" "
                       "des Ziels verschoben statt überschrieben oder gelöscht."));
    explanation->setWordWrap(true);
    auto* days = new QLabel(QStringLiteral("Aufbewahren für (Tage):"));
    days->setBuddy(SpinEdit_Days);
    auto* count = new QLabel(QStringLiteral("Höchstens Versionen je Datei:"));
    count->setBuddy(SpinEdit_MaxCount);
    auto* layout = new QGridLayout(this);
    layout->addWidget(explanation, 0, 0, 1, 3);
    layout->addWidget(days, 1, 0);
    layout->addWidget(SpinEdit_Days, 1, 1);
    layout->addWidget(count, 2, 0);
    layout->addWidget(SpinEdit_MaxCount, 2, 1);
    layout->setColumnStretch(2, 1);
    SetVersions({});
}

void TVersionSettingsBox::SetVersions(const cVersionSettings& settings) {
    setChecked(settings.Keep);
    SpinEdit_Days->setValue(settings.Days);
    SpinEdit_MaxCount->setValue(settings.MaxCount);
}

cVersionSettings TVersionSettingsBox::GetVersions() const {
    return {isChecked(), SpinEdit_Days->value(), SpinEdit_MaxCount->value()};
}

}  // namespace trx
