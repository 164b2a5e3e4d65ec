// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnattendedPreview.h"

#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "app/PreviewReport.h"
#include "engine/RunController.h"
#include "engine/RunPlan.h"
#include "engine/SilentRunView.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/TerminationSignals.h"
#include "ui/common/ErrorMessage.h"
#include "ui/common/ModelText.h"
#include "ui/common/ProjectMessages.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <string>

namespace trx {

namespace {

// A preview shows nothing while it walks; only a refusal has words, kept for standard error.
class cSilentPreviewView : public cSilentRunView {
public:
    std::string Refusal;

private:
    void ReportRunRefused(const std::string& message) override { Refusal = message; }
};

void Say(std::FILE* err, const QString& text) {
    std::fprintf(err, "%s\n", WithFullStop(text).toUtf8().constData());
    std::fflush(err);
}

bool Load(cProject& project, const std::string& path, platform::FileSystem& fs, std::FILE* err) {
    QString failure;
    if (LoadProjectOfStart(project, path, fs, failure)) {
        return true;
    }
    Say(err, failure);
    return false;
}

// The plan to `out`; a plan that could not be written whole is no plan a script may act on.
bool Write(const std::string& text, std::FILE* out, std::FILE* err) {
    const bool written =
        std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0;
    if (!written) {
        Say(err, QStringLiteral("Die Vorschau kann nicht ausgegeben werden: ") +
                     QString::fromLocal8Bit(std::strerror(errno)));
    }
    return written;
}

}  // namespace

int RunUnattendedPreview(const cStartOptions& start, platform::FileSystem& fs, const cTextFormats& formats,
                         std::FILE* out, std::FILE* err) {
    cProject project;
    project.ProjectPath = start.ProjectPath;
    if (!Load(project, start.ProjectPath, fs, err)) {
        return kExitLoadFailed;
    }
    cSilentPreviewView view;
    cRunController controller(project, view, fs, formats);
    cRunOptions options;
    options.Silent = true;
    options.ReleaseHeldBack = start.Run.ReleaseHeldBack;
    controller.SetOptions(options);
    controller.PrepareTotals(1, 1);
    cRunPlan plan;
    cRunResult result;
    {
        const platform::cTerminationSignals termination(controller.CancelFlag());
        result = controller.Preview(plan);
    }
    if (result.AlreadyRunning) {
        Say(err, FromModel(view.Refusal));
        return kExitWithProblems;
    }
    if (result.Cancelled) {
        Say(err, QStringLiteral("Die Vorschau wurde abgebrochen"));
        return kExitCancelled;
    }
    const std::string text = start.PreviewTabs ? PreviewTabs(plan) : PreviewText(plan, formats);
    if (!Write(text, out, err)) {
        return kExitWithProblems;
    }
    const bool trouble = PlanHasTrouble(plan) || result.ProblemCount > 0 || !result.HeldBack.empty();
    return trouble ? kExitWithProblems : kExitCompleted;
}

}  // namespace trx
