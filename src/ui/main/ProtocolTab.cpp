// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/ProtocolTab.h"

#include "engine/Protocol.h"
#include "platform/FileSystem.h"
#include "ui/common/MinimizeName.h"
#include "ui/common/ModelText.h"

#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace trx {

TProtocolTab::TProtocolTab(QTabWidget& pages, platform::FileSystem& fs)
    : QWidget(&pages), pages_(pages), fs_(fs) {
    setObjectName(QStringLiteral("TabSheet_Protocol"));
    hide();  // out of the tab row until a protocol turns up

    Memo_Protocol = new QPlainTextEdit;
    Memo_Protocol->setObjectName(QStringLiteral("Memo_Protocol"));
    // The desktop\'s fixed-pitch font, so that the columns of the protocol line up.
    Memo_Protocol->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Memo_Protocol->setReadOnly(true);
    Memo_Protocol->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo_Protocol->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo_Protocol->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Files dropped here go to the window, which opens a dropped project.
    Memo_Protocol->setAcceptDrops(false);

    Label_ProtocolFile = new QLabel;
    Label_ProtocolFile->setObjectName(QStringLiteral("Label_ProtocolFile"));
    // The label takes the width the row leaves it; a long path never widens the window.
    Label_ProtocolFile->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Label_ProtocolFile->installEventFilter(this);

    Button_DelProtocol = new QPushButton(QStringLiteral("Protokoll löschen"));
    Button_DelProtocol->setObjectName(QStringLiteral("Button_DelProtocol"));
    Button_DelProtocol->setAutoDefault(false);
    connect(Button_DelProtocol, &QPushButton::clicked, this, [this] { Button_DelProtocolClick(); });

    auto* row = new QHBoxLayout;
    row->addWidget(Label_ProtocolFile, 1);
    row->addWidget(Button_DelProtocol);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo_Protocol, 1);
    layout->addLayout(row);
}

void TProtocolTab::Refresh(const std::string& projectPath) {
    projectPath_ = projectPath;
    const std::string file = ProtocolFileName(projectPath);
    if (file.empty() || !fs_.IsRegularFile(file)) {
        Show(false);
        return;
    }
    // There but unreadable: the tab shows that it exists, with nothing in it.
    const auto content = fs_.ReadWholeFile(file);
    QString text = FromModel(content ? *content : std::string());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith(u'\n')) {
        text.chop(1);  // the last line's end opens no further line
    }
    Memo_Protocol->setPlainText(text);
    protocolPath_ = FromModel(file);
    Label_ProtocolFile->setToolTip(protocolPath_);
    FitPathLabel();
    Show(true);
}

void TProtocolTab::Button_DelProtocolClick() {
    const std::string file = ProtocolFileName(projectPath_);
    if (!file.empty()) {
        (void)fs_.RemoveFile(file);
    }
    // A file that could not be deleted is still there, and the tab keeps showing it.
    Refresh(projectPath_);
}

bool TProtocolTab::IsShown() const {
    return pages_.indexOf(const_cast<TProtocolTab*>(this)) >= 0;
}

void TProtocolTab::Show(bool shown) {
    const int index = pages_.indexOf(this);
    if (shown && index < 0) {
        pages_.addTab(this, QStringLiteral("Protokoll"));
    } else if (!shown && index >= 0) {
        pages_.removeTab(index);
        hide();
    }
}

void TProtocolTab::FitPathLabel() {
    Label_ProtocolFile->setText(MinimizeName(protocolPath_, Label_ProtocolFile->fontMetrics(),
                                             Label_ProtocolFile->contentsRect().width()));
}

bool TProtocolTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label_ProtocolFile &&
        (event->type() == QEvent::Resize || event->type() == QEvent::FontChange)) {
        FitPathLabel();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace trx
