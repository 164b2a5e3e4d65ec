// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DesktopRecorder.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "platform/PosixFileSystem.h"
#include "support/TestDir.h"
#include "ui/common/QtTextFormats.h"
#include "ui/editors/TForm5.h"
#include "ui/extra/TInfo.h"
#include "ui/main/DirectoryTree.h"
#include "ui/main/TForm1.h"
#include "ui/main/UserDialogs.h"
#include "ui/run/ActionRecorders.h"
#include "ui/run/TForm2.h"
#include "ui/shortcut/ScheduleStore.h"
#include "ui/shortcut/TForm3.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QList>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <string>
#include <vector>

namespace trx::test {

// One message box the window asked.
struct AskedMessage {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
};

// One showing of the shortcut dialog, the element settings dialog or the about box.
struct DialogShowing {
    QDialog* dialog = nullptr;
    QString first;                         // shortcut: the project path; about box: the title
    QString second;                        // shortcut: the project's label; about box: the development period
    std::vector<cBackUpSource*> selected;  // element settings: the marked sources
    std::vector<cBackUpSource*> sourcesInTreeOrder;  // element settings: every source of the tree
};

// Answers the window's questions from scripts and records them; no modal loop ever runs, except for
// dialogs that Execute hands to the real one when no script is given. An unscripted question is answered
// like a cancelled one.
class ScriptedDialogs : public cUserDialogs {
public:
    QString ChooseDirectory(QWidget*, const QString& start) override {
        DirectoryStarts.append(start);
        return Directories.isEmpty() ? QString() : Directories.takeFirst();
    }
    QString ChooseProjectToOpen(QWidget*, const QString&) override {
        ++OpenDialogs;
        return OpenAnswers.isEmpty() ? QString() : OpenAnswers.takeFirst();
    }
    QString ChooseProjectToSave(QWidget*, const QString&) override {
        ++SaveDialogs;
        return SaveAnswers.isEmpty() ? QString() : SaveAnswers.takeFirst();
    }
    QMessageBox::StandardButton Ask(QWidget*, QMessageBox::Icon icon, const QString& caption,
                                    const QString& text, QMessageBox::StandardButtons buttons) override {
        Asked.append({icon, caption, text, buttons});
        if (OnAsk) {
            OnAsk();
        }
        if (!Answers.isEmpty()) {
            return Answers.takeFirst();
        }
        return buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
               : buttons.testFlag(QMessageBox::No)   ? QMessageBox::No
                                                     : QMessageBox::Ok;
    }
    void ShowError(QWidget*, const QString& message) override {
        Errors.append(message);
        if (OnError) {
            OnError();
        }
    }
    int Execute(QDialog& dialog) override {
        ++Executed;
        if (!ExecuteResults.isEmpty()) {
            return ExecuteResults.takeFirst();
        }
        return cUserDialogs::Execute(dialog);
    }

    int ExecuteShortcutDialog(TForm3& dialog, const QString& projectPath,
                              const QString& description) override {
        Shortcuts.append({&dialog, projectPath, description, {}, {}});
        if (RealShortcutDialog) {
            return cUserDialogs::ExecuteShortcutDialog(dialog, projectPath, description);
        }
        return TForm3::kResultCancel;
    }
    // Hands the elements to the dialog as its Execute does; OnElementSettings then plays the user (it
    // may call FormShow and the buttons' handlers) and returns the result. Without it: Cancel, unshown.
    int ExecuteElementSettings(TForm5& dialog, cProject& project, std::vector<cBackUpSource*> selected,
                               std::vector<cBackUpSource*> sourcesInTreeOrder) override {
        ElementSettings.append({&dialog, {}, {}, selected, sourcesInTreeOrder});
        if (!OnElementSettings) {
            return TForm5::kResultCancel;
        }
        dialog.SetElements(project, std::move(selected), std::move(sourcesInTreeOrder));
        return OnElementSettings(dialog);
    }
    void ShowAbout(TInfo& dialog, const QString& title, const QString& developmentPeriod) override {
        Abouts.append({&dialog, title, developmentPeriod, {}, {}});
        if (RealAboutBox) {
            cUserDialogs::ShowAbout(dialog, title, developmentPeriod);
        }
    }

    // The captions of the message boxes asked so far.
    QStringList Captions() const {
        QStringList captions;
        for (const AskedMessage& message : Asked) {
            captions.append(message.caption);
        }
        return captions;
    }

    QStringList Directories;
    QStringList DirectoryStarts;
    QStringList OpenAnswers;
    QStringList SaveAnswers;
    int OpenDialogs = 0;
    int SaveDialogs = 0;
    QList<QMessageBox::StandardButton> Answers;
    QList<AskedMessage> Asked;
    std::function<void()> OnAsk;
    QStringList Errors;
    std::function<void()> OnError;
    QList<int> ExecuteResults;
    int Executed = 0;
    QList<DialogShowing> Shortcuts;
    bool RealShortcutDialog = false;
    QList<DialogShowing> ElementSettings;
    std::function<int(TForm5&)> OnElementSettings;
    QList<DialogShowing> Abouts;
    bool RealAboutBox = false;
};

// Runs `act` as soon as `dialog` is the active modal window (it has been shown by exec), then stops
// watching. Gives up after ten seconds so that a dialog that never shows fails the test instead of
// blocking it.
inline void WhenModal(QWidget* dialog, std::function<void()> act) {
    auto* poll = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, clock, dialog, act] {
        if (QApplication::activeModalWidget() == dialog || clock->elapsed() > 10000) {
            poll->stop();
            poll->deleteLater();
            delete clock;
            if (QApplication::activeModalWidget() == dialog) {
                act();
            }
        }
    });
    poll->start();
}

// Closes the run window once its run is over, as the user does with "Schließen"; records what the run
// window showed meanwhile. Gives up after a time so that a run that never ends fails the test instead of
// blocking it.
class RunWindowDriver {
public:
    explicit RunWindowDriver(TForm2& run) : run_(run) {
        clock_.start();
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
        poll_.start();
    }

    bool SawModalRun = false;
    bool TimedOut = false;
    QString FileShown;
    QString DescriptionShown;

private:
    void Poll() {
        if (QApplication::activeModalWidget() != &run_) {
            return;
        }
        SawModalRun = true;
        FileShown = run_.Edit_File->text();
        DescriptionShown = run_.Edit_Description->text();
        if (run_.RunFinished()) {
            poll_.stop();
            run_.Button_Cancel->click();
        } else if (clock_.elapsed() > 60000) {
            TimedOut = true;
            run_.Button_Cancel->click();  // cancels; the next tick closes
        }
    }

    TForm2& run_;
    QTimer poll_;
    QElapsedTimer clock_;
};

inline QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What the main window and its dialogs take at an interactive start, with stand-ins where the real one
// would reach the desktop or the system: recorders for the desktop, the after-finishing actions and the
// sleep inhibitor, and a schedule store in a unit folder of its own, switched by a recorder.
struct StartServices {
    cMainWindowServices MainWindow(cUserDialogs& dialogs) {
        return {fs, formats, desktop, dialogs, shutdown, launcher, sleep, schedules};
    }

    platform::PosixFileSystem fs;
    cQtTextFormats formats;
    DesktopRecorder desktop;
    ShutdownRecorder shutdown;
    LauncherRecorder launcher;
    SleepInhibitorRecorder sleep;
    ServiceManagerRecorder serviceManager;
    TestDir unitFolder;
    cScheduleStore schedules{QString::fromStdString(unitFolder.Path()), serviceManager, fs};
};

// A main window over its own project, answering through ScriptedDialogs, with a temporary folder.
struct MainWindowFixture {
    MainWindowFixture() : window(project, services.MainWindow(dialogs)) {}

    TDirectoryTree& Tree() { return *window.TreeView_Dirs; }
    TDirNode* Node(const std::string& path) { return Tree().Find(path); }
    TDirNode* AddDestination(const std::string& path) {
        return Tree().AddOrChange(path, nullptr, nullptr, true);
    }
    TDirNode* AddSource(TDirNode* destination, const std::string& path) {
        return Tree().AddOrChange(path, destination, nullptr, true);
    }
    // The paths of the top-level nodes, or of the children of `parent`, in tree order.
    QStringList Texts(QTreeWidgetItem* parent = nullptr) {
        QStringList texts;
        const int count = parent != nullptr ? parent->childCount() : Tree().topLevelItemCount();
        for (int i = 0; i < count; ++i) {
            texts.append((parent != nullptr ? parent->child(i) : Tree().topLevelItem(i))->text(0));
        }
        return texts;
    }
    // The model in the same form: each destination's path followed by its sources' paths, indented.
    QStringList ModelOutline() {
        QStringList outline;
        for (const cBackUpDestination* destination : project.Destinations) {
            outline.append(Q(destination->Path));
            for (const cBackUpSource* source : destination->Sources) {
                outline.append(QStringLiteral("  ") + Q(source->Path));
            }
        }
        return outline;
    }
    // The tree in that form, destinations and sources each in the model's order: what the tree shows
    // must be exactly what the model holds.
    QStringList TreeOutline() {
        QStringList outline;
        for (const cBackUpDestination* destination : project.Destinations) {
            TDirNode* node = Node(destination->Path);
            if (node == nullptr || node->Destination != destination) {
                outline.append(QStringLiteral("missing ") + Q(destination->Path));
                continue;
            }
            outline.append(node->text(0));
            for (const cBackUpSource* source : destination->Sources) {
                TDirNode* child = Node(source->Path);
                outline.append(child != nullptr && child->Source == source && child->parent() == node
                                   ? QStringLiteral("  ") + child->text(0)
                                   : QStringLiteral("missing ") + Q(source->Path));
            }
        }
        int nodes = 0;
        for (QTreeWidgetItemIterator it(&Tree()); *it != nullptr; ++it) {
            ++nodes;
        }
        if (nodes != outline.size()) {
            outline.append(QStringLiteral("%1 nodes").arg(nodes));
        }
        return outline;
    }

    TestDir tmp;
    cProject project;
    ScriptedDialogs dialogs;
    StartServices services;
    TForm1 window;
};

}  // namespace trx::test
