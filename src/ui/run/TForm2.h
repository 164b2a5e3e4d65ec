// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/RunView.h"
#include "ui/run/RunWindowServices.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

class QComboBox;
class QFileIconProvider;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace trx {

namespace platform {
class cTerminationSignals;
}
class cProject;
class cRunController;
struct cRunOptions;
struct cRunResult;

// The run window "Status": runs the whole project held in memory, shows its progress, opens and shows the
// protocol, saves the project after the run and carries out the action chosen for the end of the run.
// Showing the window starts a run; a hidden run calls Prepare and doBackUp itself.
class TForm2 : public QDialog, private cRunView {
    Q_OBJECT

public:
    // The run reads and writes through `services.Fs`; the shutdown request and the launcher carry out the
    // after-finishing actions; the sleep inhibitor keeps the computer awake while a run copies.
    TForm2(cProject& project, const cRunWindowServices& services, QWidget* parent = nullptr);
    ~TForm2() override;

    // The preparation without starting the run: texts, counters, bars and the progress totals.
    void Prepare();
    // The whole run, synchronously, up to the after-finishing action. Called by Timer_Backup once the
    // window is on screen, or directly by start-up for a hidden run after Prepare.
    void doBackUp();

    // "Abbrechen" / "Schließen".
    void Button_CancelClick();
    // "Protokoll anzeigen": the protocol viewer, modal.
    void Button_ProtocolClick();
    // "Zurückgehaltenes ausführen …", shown after a run that held work back: asks once, naming what will
    // be deleted and written, and then runs the project again with that work let through.
    void Button_ReleaseHeldBackClick();
    // The user picked `index` in the after-finishing list; "Befehl ausführen" asks for the command line
    // and falls back to "Keine Aktion" when none is given.
    void ComboBox_AfterFinishingClick(int index);
    void Timer_ShowTimeTimer();

    // The run's logic (totals, positions, times) and its context (cancel flag, problem count).
    cRunController& Controller() { return *controller_; }
    // How the last run ended; Ran is false from the preparation until the run is over.
    const cRunResult& LastRun() const { return *lastRun_; }
    bool RunFinished() const { return runFinished_; }
    // True when the last run was ended by SIGINT or SIGTERM.
    bool EndedBySignal() const { return endedBySignal_; }

    // What happens around the next runs (kept by the controller): silent or not ("/s": no time display
    // after the start, no end-of-run display, the window closes itself), the action after the run and
    // its command line, the release of held-back work. ComboBox_AfterFinishing shows the action, and
    // what the user picks there becomes the action.
    void SetRunOptions(const cRunOptions& options);
    const cRunOptions& RunOptions() const;
    // Ends the application after an after-finishing action (QCoreApplication::quit); tests record it.
    std::function<void()> EndApplication;

    QLineEdit* Edit_File = nullptr;
    QLineEdit* Edit_Description = nullptr;
    QPlainTextEdit* Memo_Comments = nullptr;
    QLabel* Image_Folder = nullptr;
    QLabel* Label_MainSource = nullptr;
    QLabel* Label_SubSource = nullptr;
    QLabel* Label_Arrows = nullptr;
    QLabel* Label_MainDestination = nullptr;
    QLabel* Label_File = nullptr;
    QLabel* Label10 = nullptr;
    QProgressBar* ProgressBar_File = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QLabel* Label_TimeElapsed = nullptr;
    QLabel* Label_TimeRest = nullptr;
    QLabel* Label_FilesCompared = nullptr;
    QLabel* Label_FilesCopied = nullptr;
    QComboBox* ComboBox_AfterFinishing = nullptr;
    QWidget* Panel_Result = nullptr;  // the end of a run with problems: what went wrong, what was held back
    QLabel* Label_Result = nullptr;
    QPushButton* Button_ReleaseHeldBack = nullptr;
    QPushButton* Button_Protocol = nullptr;
    QPushButton* Button_Cancel = nullptr;
    QTimer* Timer_Backup = nullptr;
    QTimer* Timer_ShowTime = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    QWidget* BuildProjectGroup();
    QWidget* BuildStatusGroup();
    QWidget* BuildResultPanel(QWidget* parent);
    QWidget* BuildTimesBox(QWidget* parent);
    QWidget* BuildActionGroup();
    // The list's item `index` becomes the action after the run.
    void TakeAfterFinishing(int index);
    void ChangeRunOptions(const std::function<void(cRunOptions&)>& change);
    void FormShow();
    void LayOutNow();
    void ShowPath(QLabel* label, const std::string& path);
    // A message after the run: in a box, or on standard error when the run ends by itself.
    void ReportAfterRun(const QString& text);

    // cRunView
    void ShowTimes(const std::string& elapsed, const std::string& remaining) override;
    void StartTimeDisplay() override;
    void ShowDestination(const cBackUpDestination& destination) override;
    void ShowSource(const cBackUpSource& source) override;
    void ShowOverallProgress(std::uint64_t position) override;
    void ShowSubDirectory(const std::string& relativePath) override;
    void ShowFilesCompared(int count) override;
    void ShowFileStarted(const std::string& name) override;
    void ShowFileProgress(std::uint64_t position) override;
    void ShowFileCopied(int count) override;
    void ShowEndOfRun(const cRunResult& result) override;
    void ShowOutcomeDetails(const cRunResult& result);
    void ReportRunRefused(const std::string& message) override;
    void ReportSaveFailure(const std::string& message) override;
    void ReportRunMessage(const std::string& text) override;
    void CarryOutAfterFinishing() override;
    void CloseWindow() override;

    cProject& project_;
    const cRunWindowServices services_;
    std::unique_ptr<cRunController> controller_;
    std::unique_ptr<QFileIconProvider> icons_;
    std::unique_ptr<cRunResult> lastRun_;
    bool runFinished_ = false;
    bool closeAfterRun_ = false;
    bool endedBySignal_ = false;
    bool centred_ = false;
    const platform::cTerminationSignals* signals_ = nullptr;  // during a run
};

}  // namespace trx
