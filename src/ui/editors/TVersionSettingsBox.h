// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/VersionSettings.h"

#include <QGroupBox>

namespace trx {

class TSpinEdit;

// The project's setting for earlier versions: a box that is ticked when the project keeps them, with the
// days they are kept and, optionally, how many versions of one file at most.
class TVersionSettingsBox : public QGroupBox {
    Q_OBJECT

public:
    explicit TVersionSettingsBox(QWidget* parent = nullptr);

    void SetVersions(const cVersionSettings& settings);
    cVersionSettings GetVersions() const;

    TSpinEdit* SpinEdit_Days = nullptr;
    TSpinEdit* SpinEdit_MaxCount = nullptr;  // 0: no limit
};

}  // namespace trx
