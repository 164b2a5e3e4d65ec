// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace trx {

namespace platform {
class FileSystem;
}

// The tab "Protokoll" of the main window: the protocol file of the current project, read-only, with its
// shortened path and "Protokoll löschen". The tab is in the tab row exactly while that file is known to
// exist; the page itself lives as long as the tab widget, also while it is out of the row.
class TProtocolTab : public QWidget {
    Q_OBJECT

public:
    // The page of `pages`, which it joins (as the last tab) whenever Refresh finds a protocol. Reads and
    // deletes through `fs`, which must outlive the page.
    TProtocolTab(QTabWidget& pages, platform::FileSystem& fs);

    // Called whenever the project path was set (start, new, open, save as, after every run): shows the
    // protocol of the project at `projectPath` when that file exists, else takes the tab out of the row.
    // A hidden view keeps its old lines.
    void Refresh(const std::string& projectPath);
    // Deletes the protocol of the current project without asking or reporting, then refreshes: the tab
    // goes unless the file is still there.
    void Button_DelProtocolClick();

    // True while the tab is in the tab row.
    bool IsShown() const;
    // The full path of the protocol shown last ("" before the first one).
    const QString& ProtocolPath() const { return protocolPath_; }

    QPlainTextEdit* Memo_Protocol = nullptr;
    QLabel* Label_ProtocolFile = nullptr;
    QPushButton* Button_DelProtocol = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show(bool shown);
    // Puts the protocol's path into the label, shortened to the label's current width.
    void FitPathLabel();

    QTabWidget& pages_;
    platform::FileSystem& fs_;
    std::string projectPath_;
    QString protocolPath_;
};

}  // namespace trx
