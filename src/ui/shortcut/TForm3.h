// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/shortcut/Schedule.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimeEdit;

namespace trx {

namespace platform {
class FileSystem;
}
class cScheduleStore;

// "Projektverknüpfung anlegen": writes a launcher that starts the program on a saved project as an
// unattended backup with the switches the user ticks. Created once and reused: the folder and both check
// boxes keep their state from one opening to the next; every showing fills in name, description and
// after-finishing choice afresh. The group "Zeitplan" runs the project by itself at chosen times, as a
// timer of the user's service manager, and lists and removes the schedules made so far.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kResultOK = 1;
    static constexpr int kResultCancel = 2;

    // The indexes of ComboBox_AfterFinishing.
    enum AfterFinishingChoice { kNoAction = 0, kShutDown = 1, kRunCommand = 2 };

    // Characters a shortcut name may not hold, in the order they are cleaned.
    static const QString kInvalidNameCharacters;

    // The indexes of ComboBox_ScheduleKind, which follow cSchedule::Kind.
    enum ScheduleChoice { kDaily = 0, kWeekly = 1, kAtLogin = 2 };

    // The dialog checks and writes the launcher through `fs`; `schedules` keeps the schedules. Both
    // outlive the dialog.
    TForm3(platform::FileSystem& fs, cScheduleStore& schedules, QWidget* parent = nullptr);

    // Shows the dialog modally for the saved project `projectPath` (never empty), whose "Bezeichnung:"
    // currently reads `projectDescription`. Returns kResultOK when a launcher was written, else
    // kResultCancel. Called by the main window's menu "Extras".
    int Execute(const QString& projectPath, const QString& projectDescription);

    // Name from the project file, description from the project's label, "Keine Aktion" with an empty,
    // disabled command line; folder and check boxes stay. Runs on every showing.
    void FormShow();
    // The folder browser; a confirmed folder goes into Edit_Dir.
    void Button_SearchDirClick();
    // Removes the invalid characters from Edit_LinkName (never from the description).
    void Edit_LinkNameExit();
    // Edit_ExecLine is usable exactly for "Befehl ausführen" and then takes the focus.
    void ComboBox_AfterFinishingClick();
    // Validates, asks before overwriting, writes the launcher and closes with kResultOK; a failed check or
    // write leaves the dialog open.
    void Button_OKClick();

    // The argument string for the launcher: the project in double quotes, then " /s", " /h", " /a" and
    // the command line in double quotes as chosen.
    QString ComposeArguments() const;
    // The launcher's path for the folder and name as they stand.
    QString LinkFilePath() const;

    // The weekday list serves only weekly schedules, the time every schedule but the one at login.
    void ComboBox_ScheduleKindChange();
    // Writes and switches on the schedule of the project as chosen (asking before it replaces another);
    // a failure is shown and changes nothing.
    void Button_SaveScheduleClick();
    // Switches off and removes the schedule marked in the list, after asking.
    void Button_RemoveScheduleClick();
    // Lists the schedules made so far and marks the project's own.
    void RefreshSchedules();
    // The schedule the group's controls describe for the project.
    cSchedule ChosenSchedule() const;

    // Escape, "Abbrechen" and the window's close button end with kResultCancel.
    void reject() override;

    // The program the launcher and the schedule start; the running program when empty. Tests put a
    // stand-in here.
    QString ProgramPath;

    QLineEdit* Edit_Dir = nullptr;
    QPushButton* Button_SearchDir = nullptr;
    QLineEdit* Edit_LinkName = nullptr;
    QLabel* Label_Suffix = nullptr;
    QLineEdit* Edit_Description = nullptr;
    QCheckBox* CheckBox_Silent = nullptr;
    QCheckBox* CheckBox_Hidden = nullptr;
    QComboBox* ComboBox_AfterFinishing = nullptr;
    QLineEdit* Edit_ExecLine = nullptr;
    QComboBox* ComboBox_ScheduleKind = nullptr;
    QComboBox* ComboBox_Weekday = nullptr;
    QTimeEdit* TimeEdit_Schedule = nullptr;
    QCheckBox* CheckBox_NotifyAlways = nullptr;
    QPushButton* Button_SaveSchedule = nullptr;
    QListWidget* ListBox_Schedules = nullptr;
    QPushButton* Button_RemoveSchedule = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Cancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Puts the focus on `field`, then shows `message` as an error; the dialog stays open.
    void RejectInput(QWidget* field, const QString& message);
    QWidget* BuildLinkGroup();
    QWidget* BuildOptionsGroup();
    QWidget* BuildScheduleGroup();
    // Sets the group's controls to `schedule`.
    void ShowSchedule(const cSchedule& schedule);
    // Asks a question with the buttons Yes and No; true for Yes.
    bool Confirm(const QString& caption, const QString& question);
    void ShowFailure(const QString& caption, const QString& message);
    QString Program() const;

    cScheduleStore& schedules_;

    QString projectPath_;
    QString projectDescription_;
    platform::FileSystem& fs_;
};

}  // namespace trx
