// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/ProjectCommands.h"

#include "engine/RunOptions.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/FileSystem.h"
#include "ui/common/ApplicationTitle.h"
#include "ui/common/CommaText.h"
#include "ui/common/ModelText.h"
#include "ui/common/ProjectMessages.h"
#include "ui/editors/TFrame_FileFilter.h"
#include "ui/editors/TFrame_Options.h"
#include "ui/editors/TVersionSettingsBox.h"
#include "ui/main/DirectoryTree.h"
#include "ui/main/ProtocolTab.h"
#include "ui/main/TForm1.h"
#include "ui/main/UserDialogs.h"
#include "ui/preview/TPreviewWindow.h"
#include "ui/run/TForm2.h"
#include "ui/shortcut/Shortcut.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <exception>

namespace trx {

namespace {

// The extension of the last path component, upper-cased and without its dot.
QString UpperExtension(const QString& path) {
    return QFileInfo(path).suffix().toUpper();
}

}  // namespace

cProjectCommands::cProjectCommands(TForm1& window, cProject& project, platform::FileSystem& fs,
                                   const cTextFormats& formats, cUserDialogs& dialogs)
    : window_(window), project_(project), fs_(fs), formats_(formats), dialogs_(dialogs) {
}

void cProjectCommands::SetProjectPath(const QString& path) {
    project_.ProjectPath = ToModel(path);
    window_.setWindowTitle(path.isEmpty() ? kApplicationTitle
                                          : kApplicationTitle + QStringLiteral(" - [") + path + u']');
    window_.TabSheet_Protocol->Refresh(project_.ProjectPath);
}

bool cProjectCommands::AskSave() {
    const auto answer = dialogs_.Ask(&window_, QMessageBox::Question, QStringLiteral("Projekt schließen"),
                                     QStringLiteral("Möchten Sie das aktuelle Projekt vorher speichern?"),
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
        return Save();
    }
    return answer == QMessageBox::No;
}

bool cProjectCommands::Save() {
    if (project_.ProjectPath.empty()) {
        return SaveAs();
    }
    return WriteProject(project_.ProjectPath);
}

bool cProjectCommands::SaveAs() {
    const QString chosen = dialogs_.ChooseProjectToSave(&window_, DialogStart());
    if (chosen.isEmpty()) {
        return false;
    }
    if (!WriteProject(ToModel(chosen))) {
        return false;
    }
    SetProjectPath(chosen);
    return true;
}

bool cProjectCommands::WriteProject(const std::string& path) {
    TakeWindowState();
    QString detail;
    try {
        SaveProject(project_, path, fs_);
        return true;
    } catch (const std::exception& error) {
        detail = QString::fromUtf8(error.what());
    } catch (...) {
    }
    dialogs_.ShowError(&window_, ProjectSaveFailure(FromModel(path), detail));
    return false;
}

void cProjectCommands::TakeWindowState() {
    cBackUpOptions& defaults = project_.DefaultOptions;
    window_.Frame_FileFilterIn->GetFilter(defaults.Filters[0]);
    window_.Frame_FileFilterOut->GetFilter(defaults.Filters[1]);
    window_.Frame_DefOptions->GetOptions(defaults);
    project_.Versions = window_.Box_Versions->GetVersions();
    project_.Description = ToModel(window_.Edit_Description->text());
    QString comments = window_.Memo_Comments->toPlainText();
    comments.replace(u'\n', QStringLiteral("\r\n"));
    project_.Comments = ToModel(comments);
}

void cProjectCommands::ResetWindow(bool newProject) {
    window_.TreeView_Dirs->ClearNodes();
    window_.PageControl->setCurrentIndex(0);
    window_.Frame_FileFilterIn->ResetFilter(newProject);
    window_.Frame_FileFilterOut->ResetFilter(newProject);
    if (newProject) {
        project_.DefaultOptions.ResetToNewProjectDefaults();
        window_.Frame_DefOptions->SetOptions(project_.DefaultOptions);
        window_.Box_Versions->SetVersions(project_.Versions);
        window_.Edit_Description->clear();
        window_.Memo_Comments->clear();
    }
    window_.UpdateButtons();
}

void cProjectCommands::ShowModel() {
    ResetWindow(false);
    window_.TreeView_Dirs->Rebuild();
    const cBackUpOptions& defaults = project_.DefaultOptions;
    window_.Frame_DefOptions->SetOptions(defaults);
    window_.Box_Versions->SetVersions(project_.Versions);
    window_.Frame_FileFilterIn->SetFilter(defaults.Filters[0]);
    window_.Frame_FileFilterOut->SetFilter(defaults.Filters[1]);
    window_.Edit_Description->setText(FromModel(project_.Description));
    window_.Edit_Description->setCursorPosition(0);
    QString comments = FromModel(project_.Comments);
    comments.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    window_.Memo_Comments->setPlainText(comments);
    window_.UpdateButtons();
}

void cProjectCommands::StartNewProject() {
    SetProjectPath(QString());
    // The nodes go before the objects they stand for.
    window_.TreeView_Dirs->ClearNodes();
    project_.Reset();
    // A new project keeps earlier versions; one saved without the setting stays without them.
    project_.Versions = cVersionSettings::ForNewProject();
    ResetWindow(true);
}

void cProjectCommands::New() {
    if (AskSave()) {
        StartNewProject();
    }
}

void cProjectCommands::Open() {
    if (!AskSave()) {
        return;
    }
    const QString chosen = dialogs_.ChooseProjectToOpen(&window_, DialogStart());
    if (!chosen.isEmpty()) {
        OpenProject(chosen);
    }
}

void cProjectCommands::OpenProject(const QString& path) {
    SetProjectPath(path);
    // The load destroys the destinations the nodes stand for.
    window_.TreeView_Dirs->ClearNodes();
    QString failure;
    bool failed = false;
    try {
        LoadProject(project_, ToModel(path), fs_);
    } catch (const std::exception& error) {
        failed = true;
        failure = QString::fromUtf8(error.what());
    } catch (...) {
        failed = true;
    }
    // After a failure the model holds what was read up to the fault; the window shows exactly that
    // before the message box opens and the window is painted again.
    ShowModel();
    if (failed) {
        dialogs_.ShowError(&window_, ProjectLoadFailure(path, failure));
    }
}

void cProjectCommands::StartBackup() {
    if (window_.RunWindow() == nullptr) {
        return;
    }
    TakeWindowState();
    RunBackup(false);
}

void cProjectCommands::Preview() {
    if (window_.RunWindow() == nullptr) {
        return;
    }
    TakeWindowState();
    TPreviewWindow::Choice chosen = TPreviewWindow::Choice::Nothing;
    {
        TPreviewWindow preview(project_, fs_, formats_, &window_);
        dialogs_.Execute(preview);
        chosen = preview.Chosen();
    }
    if (chosen != TPreviewWindow::Choice::Nothing) {
        RunBackup(chosen == TPreviewWindow::Choice::ReleaseAndRun);
    }
}

void cProjectCommands::RunBackup(bool release) {
    TForm2* runWindow = window_.RunWindow();
    cRunOptions options;  // no action after the run, no command from an earlier run
    options.ReleaseHeldBack = release;
    runWindow->SetRunOptions(options);
    // Showing the run window starts the run; it saves a saved project itself when the run was not
    // cancelled. The run leaves the destinations in place, and the window shows the model afresh.
    dialogs_.Execute(*runWindow);
    SetProjectPath(FromModel(project_.ProjectPath));
    ShowModel();
}

void cProjectCommands::DropFiles(const QStringList& paths) {
    for (QString item : paths) {
        if (UpperExtension(item) == QLatin1String("DESKTOP")) {
            QString arguments;
            if (ReadShortcut(fs_, item, nullptr, &arguments)) {
                const QStringList parts = SplitCommaText(arguments);
                if (!parts.isEmpty()) {
                    item = parts.constFirst();
                }
            }
        }
        if (UpperExtension(item) == QLatin1String("BUF")) {
            if (AskSave()) {
                OpenProject(item);
            }
            return;
        }
    }
}

QString cProjectCommands::DialogStart() const {
    if (project_.ProjectPath.empty()) {
        return {};
    }
    return QFileInfo(FromModel(project_.ProjectPath)).absolutePath();
}

}  // namespace trx
