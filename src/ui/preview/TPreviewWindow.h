// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/RunController.h"
#include "engine/RunPlan.h"
#include "engine/RunView.h"

#include <QDialog>
#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QTreeView;

namespace trx {

namespace platform {
class FileSystem;
}
class cPlanFilter;
class cPlanModel;
class cProject;
class cTextFormats;

// "Vorschau": walks the project held in memory as a run would, without writing anything, and lists what
// the run would copy, replace and delete, what it would hold back and where it would meet problems. While
// it walks it shows where it is and can be stopped; afterwards the user starts the real run from here, or
// releases the held-back work and starts it. Showing the window starts the walk.
class TPreviewWindow : public QDialog, private cRunView {
    Q_OBJECT

public:
    // What the user chose; the main window carries it out once this window is closed.
    enum class Choice { Nothing, Run, ReleaseAndRun };

    TPreviewWindow(cProject& project, platform::FileSystem& fs, const cTextFormats& formats,
                   QWidget* parent = nullptr);
    ~TPreviewWindow() override;

    // The walk and then the plan; called once the window is on screen.
    void Walk();
    Choice Chosen() const { return chosen_; }
    bool Walking() const { return walking_; }
    // The walk was stopped before its end: the list is incomplete.
    bool Stopped() const { return stopped_; }

    // "Abbrechen" while walking; "Schließen" afterwards.
    void Button_CancelClick();
    void Button_StartClick();
    // Asks once, naming what will be deleted and written; only a click on "Ausführen" starts the run.
    void Button_ReleaseClick();

    cPlanModel& Model() { return *model_; }
    // The walk's controller: its context for tests that act from inside the walk.
    cRunController& Controller() { return controller_; }
    cPlanFilter& Filter() { return *filter_; }

    QStackedWidget* Pages = nullptr;
    QLabel* Label_Destination = nullptr;
    QLabel* Label_Source = nullptr;
    QLabel* Label_Folder = nullptr;
    QLabel* Label_FilesCompared = nullptr;
    QProgressBar* ProgressBar_Walk = nullptr;
    std::array<QToolButton*, 5> Button_Kinds{};  // per kind: its count and bytes, and its filter
    QLineEdit* Edit_Search = nullptr;
    QLabel* Label_Note = nullptr;  // why the list is empty or incomplete; hidden otherwise
    QTreeView* TreeView_Plan = nullptr;
    QLabel* Label_Full = nullptr;  // the marked row in full
    QPushButton* Button_Start = nullptr;
    QPushButton* Button_Release = nullptr;
    QPushButton* Button_Cancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    QWidget* BuildWalkPage();
    QWidget* BuildPlanPage();
    QWidget* BuildKindRow();
    void ShowPlan();
    void ShowCounts();
    void ExpandGroups();
    void ShowMarked();
    void ClickHeader(int column);
    // A stop asked for while walking; `close` also closes the window once the walk has ended.
    void Stop(bool close);

    // cRunView: where the walk is; a preview has no end-of-run display and no action afterwards.
    void ShowTimes(const std::string&, const std::string&) override {}
    void StartTimeDisplay() override {}
    void ShowDestination(const cBackUpDestination& destination) override;
    void ShowSource(const cBackUpSource& source) override;
    void ShowOverallProgress(std::uint64_t position) override;
    void ShowSubDirectory(const std::string& relativePath) override;
    void ShowFilesCompared(int count) override;
    void ShowFileStarted(const std::string&) override {}
    void ShowFileProgress(std::uint64_t) override {}
    void ShowFileCopied(int) override {}
    void ShowEndOfRun(const cRunResult&) override {}
    void ReportRunRefused(const std::string& message) override;
    void ReportSaveFailure(const std::string&) override {}
    void ReportRunMessage(const std::string&) override {}
    void CarryOutAfterFinishing() override {}
    void CloseWindow() override {}

    const cTextFormats& formats_;
    cRunController controller_;
    std::unique_ptr<cRunPlan> plan_;
    cRunResult result_;
    std::unique_ptr<cPlanModel> model_;
    cPlanFilter* filter_ = nullptr;
    std::string refusal_;
    Choice chosen_ = Choice::Nothing;
    bool started_ = false;
    bool walking_ = false;
    bool stopped_ = false;
    bool closeAfterWalk_ = false;
};

}  // namespace trx
