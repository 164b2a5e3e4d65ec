// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/ReleaseConfirmation.h"

#include "ui/common/CaptionWidth.h"
#include "ui/run/RunOutcomeText.h"

#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace trx {

bool ConfirmRelease(QWidget& parent, const cRunResult& result, bool fromPreview) {
    QMessageBox question(QMessageBox::Warning, QStringLiteral("Zurückgehaltenes ausführen"),
                         ReleaseQuestion(result, fromPreview), QMessageBox::NoButton, &parent);
    QPushButton* go = question.addButton(QStringLiteral("Ausführen"), QMessageBox::DestructiveRole);
    QPushButton* keep = question.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    question.setDefaultButton(keep);
    question.setEscapeButton(keep);
    // Paths read best on one line each, as far as the screen allows.
    int widest = 0;
    for (const QString& line : question.text().split(u'\n')) {
        widest = std::max(widest, question.fontMetrics().horizontalAdvance(line));
    }
    constexpr int kRoomForIcon = 128;
    const int room = parent.screen() != nullptr ? parent.screen()->availableGeometry().width() * 3 / 4 : 800;
    WidenTo(question, std::min(widest + kRoomForIcon, room));
    question.setTextFormat(Qt::PlainText);  // paths may hold "<" or "&"
    FitCaption(question);
    question.exec();
    return question.clickedButton() == go;
}

}  // namespace trx
