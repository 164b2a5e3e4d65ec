#pragma once

#include "platform/PosixFileSystem.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace trx {

// "Projektverknüpfung anlegen": writes a launcher that starts the program on a saved project as an
// unattended backup with the switches the user ticks. Created once and reused: the folder and both check
// boxes keep their state from one opening to the next; every showing fills in name, description and
// after-finishing choice afresh.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kResultOK = 1;
    static constexpr int kResultCancel = 2;

    // The indexes of ComboBox_AfterFinishing.
    enum AfterFinishingChoice { kNoAction = 0, kShutDown = 1, kRunCommand = 2 };

    // Characters a shortcut name may not hold, in the order they are cleaned.
    static const QString kInvalidNameCharacters;

    explicit TForm3(QWidget* parent = nullptr);

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

    // Escape, "Abbrechen" and the window's close button end with kResultCancel.
    void reject() override;

    // The program the launcher starts; the running program when empty. Tests put a stand-in here.
    QString ProgramPath;
    // The file system the dialog checks and writes through (the real one unless a test sets another).
    void SetFileSystem(platform::FileSystem& fs) { fs_ = &fs; }

    QLineEdit* Edit_Dir = nullptr;
    QPushButton* Button_SearchDir = nullptr;
    QLineEdit* Edit_LinkName = nullptr;
    QLabel* Label_Suffix = nullptr;
    QLineEdit* Edit_Description = nullptr;
    QCheckBox* CheckBox_Silent = nullptr;
    QCheckBox* CheckBox_Hidden = nullptr;
    QComboBox* ComboBox_AfterFinishing = nullptr;
    QLineEdit* Edit_ExecLine = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Cancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Puts the focus on `field`, then shows `message` as an error; the dialog stays open.
    void RejectInput(QWidget* field, const QString& message);

    QString projectPath_;
    QString projectDescription_;
    platform::PosixFileSystem ownFs_;
    platform::FileSystem* fs_ = &ownFs_;
};

}  // namespace trx
