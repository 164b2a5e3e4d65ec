#pragma once

#include "model/BackUpSource.h"
#include "model/Project.h"
#include "support/TestDir.h"
#include "ui/main/DirectoryTree.h"
#include "ui/main/TForm1.h"
#include "ui/main/UserDialogs.h"

#include <QDialog>
#include <QList>
#include <QMessageBox>
#include <QStringList>
#include <QtTest>
#include <functional>
#include <string>

namespace trx::test {

// One message box the window asked.
struct AskedMessage {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
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
};

inline QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A main window over its own project, answering through ScriptedDialogs, with a temporary folder.
struct MainWindowFixture {
    MainWindowFixture() : window(project) { window.SetUserDialogs(dialogs); }

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
    TForm1 window;
};

}  // namespace trx::test
