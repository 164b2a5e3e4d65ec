// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QString>
#include <cstdint>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QRadioButton;

namespace trx {

class cBackUpOptions;
class TSpinEdit;

// Edits the copy options of one option set (everything but its two filters) and shows, as a live
// example, where the files of a sample source land with the chosen directory-name transfer. It holds no
// option data: its owner loads a set with SetOptions and takes the controls back with GetOptions.
class TFrame_Options : public QFrame {
    Q_OBJECT

public:
    // The sample paths the main window's example shows.
    static inline const QString kSampleSourcePath =
        QStringLiteral("/home/benutzer/Eigene Dateien/Briefe/Muster/");
    static inline const QString kSampleDestinationPath = QStringLiteral("/media/Sicherungen/");

    // Starts with the sample paths and the options of a new project's default set.
    explicit TFrame_Options(QWidget* parent = nullptr);

    // Shows `options` in the controls; the main window and the element settings dialog call it.
    void SetOptions(const cBackUpOptions& options);
    // Writes the controls into `options`; its filters stay untouched. A number still being typed is
    // brought into its range first, so what is stored is what the box then shows.
    void GetOptions(cBackUpOptions& options);
    // The transfer byte of the controls; level and drive bits are kept while the transfer is off.
    std::uint8_t GetTransferByte() const;
    // Enables the transfer controls with "Quellverzeichnisnamen übernehmen" and recomputes the example;
    // runs on every change of a transfer control and of the example's two given paths.
    void CheckBox_TransferDirNamesClick();

    QCheckBox* CheckBox_SubFolders = nullptr;
    QCheckBox* CheckBox_OnlyNewFiles = nullptr;
    QCheckBox* CheckBox_DelDeletedFiles = nullptr;
    QCheckBox* CheckBox_TransferDirNames = nullptr;
    QRadioButton* RadioButton_TransferDirNameLevel = nullptr;
    TSpinEdit* SpinEdit_TransferDirNameLevel = nullptr;
    QRadioButton* RadioButton_TransferAllDirNames = nullptr;
    QCheckBox* CheckBox_TransferDriveName = nullptr;
    QFrame* Panel_TransferDirNameExample = nullptr;
    QLabel* Label_Example = nullptr;
    QLineEdit* Edit_ExSource = nullptr;       // set by the owner
    QLineEdit* Edit_ExDestination = nullptr;  // set by the owner
    QLineEdit* Edit_ExDestination2 = nullptr;
    QRadioButton* RadioButton_TimeOriginal = nullptr;
    QRadioButton* RadioButton_TimeBackup = nullptr;
    QComboBox* ComboBox_Protocol = nullptr;

private:
    // The controls indented under "Quellverzeichnisnamen übernehmen", the example among them.
    QLayout* BuildTransferControls();
    void BuildExamplePanel();
    QWidget* BuildTimeStampPanel();
    QLayout* BuildProtocolRow();

    QButtonGroup* levelGroup_ = nullptr;
    QButtonGroup* timeGroup_ = nullptr;
};

}  // namespace trx
