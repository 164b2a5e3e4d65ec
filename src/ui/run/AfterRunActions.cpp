// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/AfterRunActions.h"

#include "engine/RunOptions.h"
#include "ui/common/CommaText.h"
#include "ui/common/ModelText.h"
#include "ui/run/CommandLauncher.h"
#include "ui/run/SystemShutdown.h"

namespace trx {

bool CarryOutAfterRun(const cRunOptions& options, cSystemShutdown& shutdown, cCommandLauncher& launcher) {
    switch (options.Action) {
        case AfterFinishing::ShutDown:
            shutdown.RequestPowerOff();
            return true;
        case AfterFinishing::RunCommand: {
            const QStringList items = SplitCommaText(FromModel(options.Command));
            if (!items.isEmpty() && !items.first().isEmpty()) {
                launcher.Open(items.first(), items.mid(1));
            }
            return true;
        }
        case AfterFinishing::None:
            break;
    }
    return false;
}

}  // namespace trx
