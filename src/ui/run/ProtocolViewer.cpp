// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/ProtocolViewer.h"

#include "engine/Protocol.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace trx {

std::unique_ptr<QDialog> CreateProtocolViewer(QWidget* parent, const std::string& projectPath,
                                              QString& error) {
    const QString fileName = QString::fromStdString(ProtocolFileName(projectPath));
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        error =
            QStringLiteral("Das Protokoll \"%1\" kann nicht gelesen werden: %2")
                .arg(fileName, fileName.isEmpty() ? QStringLiteral("kein Projektpfad") : file.errorString());
        return nullptr;
    }
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));

    auto viewer = std::make_unique<QDialog>(parent);
    viewer->setObjectName(QStringLiteral("Form_Protocol"));
    viewer->setSizeGripEnabled(true);
    viewer->setWindowTitle(QFileInfo(QString::fromStdString(projectPath)).fileName() +
                           QStringLiteral(" - Protokoll"));
    auto* layout = new QVBoxLayout(viewer.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* memo = new QPlainTextEdit(viewer.get());
    memo->setObjectName(QStringLiteral("Memo_Protocol"));
    // The desktop\'s fixed-pitch font, so that the columns of the protocol line up.
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);  // the last line's end opens no further line
    }
    memo->setPlainText(text);
    layout->addWidget(memo);
    viewer->resize(480, 360);
    return viewer;
}

}  // namespace trx
