// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartUp.h"

#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "app/HiddenRun.h"
#include "app/OpenAtStart.h"
#include "app/ProgramServices.h"
#include "app/RunNotification.h"
#include "app/UnattendedPreview.h"
#include "engine/Protocol.h"
#include "engine/RunController.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "model/ProjectFileError.h"
#include "platform/Desktop.h"
#include "ui/common/ApplicationTitle.h"
#include "ui/common/ErrorMessage.h"
#include "ui/common/ModelText.h"
#include "ui/common/ProjectMessages.h"
#include "ui/extra/ApplicationIcon.h"
#include "ui/main/TForm1.h"
#include "ui/run/RunNotice.h"
#include "ui/run/TForm2.h"
#include "ui/run/TaskbarProgress.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace trx {

namespace {

// Qt's own texts (button captions of standard dialogs) in German, like the rest of the program.
void InstallGermanQtTexts(QApplication& app, QTranslator& translator) {
    if (translator.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(&translator);
    }
}

// Without a display, standard error is where a scheduled run reports to its user: keep Qt's notes about
// its own environment (no runtime folder, no fonts) out of it and let only real errors through.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

bool LoadsQuietly(cProject& project, const std::string& path, platform::FileSystem& fs) {
    try {
        LoadProject(project, path, fs);
        return true;
    } catch (...) {
        return false;
    }
}

// Loads the project of an unattended start; reports a failure as the start-up does and returns false
// with the message in `failure`.
bool LoadUnattendedProject(cProject& project, const std::string& path, platform::FileSystem& fs,
                           QString& failure) {
    if (LoadProjectOfStart(project, path, fs, failure)) {
        return true;
    }
    ShowErrorMessage(nullptr, failure);
    return false;
}

// After an unattended run that ended where nobody watched it (hidden, silent, or ended by its action):
// a desktop notification when it went badly, or after every run with "/n". A run whose result the window
// still shows needs none unless asked for.
void NotifyAboutRun(const cRunResult& result, const cRunOptions& options, const cStartOptions& start,
                    cUserServiceManager& manager) {
    const bool unseen = !start.ShowMainWindow || options.Silent || options.Action != AfterFinishing::None;
    if (!unseen && !start.NotifyAlways) {
        return;
    }
    const QString projectPath = FromModel(start.ProjectPath);
    const QString protocol = FromModel(ProtocolFileName(start.ProjectPath));
    const std::optional<cNotice> notice =
        RunNotice(result, projectPath, QFileInfo(protocol).isFile() ? protocol : QString(), start.NotifyAlways);
    if (notice) {
        StartNoticeHelper(*notice, manager);
    }
}

// The run of "/h": no window and no widget toolkit at all, only the core of Qt for the session and system
// buses (notifications, the sleep inhibitor, shutdown). The project is loaded already.
int RunHidden(int argc, char** argv, cProject& project, const cStartOptions& start, cProgramServices& services) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(kApplicationTitle);
    QCoreApplication::setApplicationVersion(QStringLiteral(TRX_VERSION));
    cHiddenRun run(project, services.RunWindow());
    const cRunResult result = run.Run(start.Run);
    NotifyAboutRun(result, start.Run, start, services.ServiceManager());
    return RunExitStatus(result);
}

// The run of an unattended start. Shown, the run window starts the run once it is on screen and ends the
// program when it closes. Hidden, it is never shown: the run happens here, before any message loop, and the
// program ends after it as if "/s" were given; a process without a window would otherwise stay until the
// user logs off, one more for every scheduled run. For the same reason a window drawn off screen, where no
// display exists, closes itself after the run: nobody could ever close it.
int RunUnattended(cProject& project, const cStartOptions& start, bool display, cProgramServices& services) {
    TForm2 runWindow(project, services.RunWindow());
    const bool hidden = !start.ShowMainWindow;
    cRunOptions options = start.Run;
    options.Silent = options.Silent || hidden || !display;
    runWindow.SetRunOptions(options);
    cTaskbarProgress taskbar(QStringLiteral(TRX_APP_ID));
    if (hidden) {
        runWindow.Prepare();
        runWindow.doBackUp();
    } else {
        taskbar.Follow(*runWindow.ProgressBar, runWindow);
        runWindow.show();
        QApplication::exec();
    }
    NotifyAboutRun(runWindow.LastRun(), runWindow.RunOptions(), start, services.ServiceManager());
    return RunExitStatus(runWindow.LastRun());
}

}  // namespace

int RunTresorix(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    if (args.size() > 1 && args[1] == kNotifySwitch) {
        return RunNoticeHelper(argc, argv);  // no window, no display: only the session bus
    }
    // Built before the windows, which refer to its services, and outliving them.
    cProgramServices services;
    platform::FileSystem& fs = services.Fs();
    const cStartOptions start =
        ParseCommandLine(args, [&fs](const std::string& path) { return fs.IsRegularFile(path); });
    if (start.Preview) {
        // Text for standard output, for a person or a script: no window, no display needed.
        return RunUnattendedPreview(start, fs, services.RunWindow().Formats, stdout, stderr);
    }

    const bool display = platform::GraphicalDisplayAvailable();
    if (start.Unattended && !start.ShowMainWindow) {
        // A hidden run whose project loads needs no widgets; one that cannot be loaded is told below, as
        // by every start (a message box where there is a display).
        cProject project;
        project.ProjectPath = start.ProjectPath;
        if (LoadsQuietly(project, start.ProjectPath, fs)) {
            if (!display) {
                qInstallMessageHandler(QuietQtMessages);
            }
            return RunHidden(argc, argv, project, start, services);
        }
    }
    if (!display) {
        // An unattended run must work under cron or a systemd timer: draw off screen instead of failing
        // to reach a display.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        qInstallMessageHandler(QuietQtMessages);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setApplicationVersion(QStringLiteral(TRX_VERSION));
    // Desktops find the installed launcher, and with it the name and icon of the windows, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(TRX_APP_ID));
    QTranslator germanQt;
    InstallGermanQtTexts(app, germanQt);
    if (display) {
        // Every window, the filter frames' list, the about box.
        QApplication::setWindowIcon(ApplicationIcon());
    }

    cProject project;

    if (start.Unattended) {
        project.ProjectPath = start.ProjectPath;
        QString failure;
        if (!LoadUnattendedProject(project, start.ProjectPath, fs, failure)) {
            if (!display) {
                // Where no box could show it, a scheduled run's user learns it from the desktop.
                StartNoticeHelper(LoadFailureNotice(FromModel(start.ProjectPath), WithFullStop(failure)),
                                  services.ServiceManager());
            }
            return kExitLoadFailed;
        }
        return RunUnattended(project, start, display, services);
    }

    if (!display) {
        std::fprintf(stderr,
                     "Tresorix: Ohne grafische Anzeige kann das Hauptfenster nicht geöffnet werden.\n"
                     "Ein Projekt läuft auch ohne Anzeige: trxmain <Projekt.buf> /h /s\n");
        return kExitNoDisplay;
    }

    // A new, unsaved project; asks the update hook as its very last step.
    TForm1 mainWindow(project, services.MainWindow());
    mainWindow.CreateDialogs();
    cTaskbarProgress taskbar(QStringLiteral(TRX_APP_ID));
    taskbar.Follow(*mainWindow.RunWindow()->ProgressBar, *mainWindow.RunWindow());
    mainWindow.show();
    OpenProjectAtStart(mainWindow, start.OpenPath);  // "--open FILE": the menu entry and the file manager
    QApplication::exec();
    return kExitCompleted;
}

}  // namespace trx
