// SPDX-License-Identifier: GPL-3.0-or-later
// The tab "Verzeichnisauswahl": adding, changing, editing in place, dragging, dropping and deleting
// directories, each change reaching the model at once; the buttons' states and the nodes' icons.
#include "MainWindowTestSupport.h"
#include "model/BackUpOptions.h"
#include "ui/editors/TForm4.h"

#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QUrl>

using namespace trx;
using trx::test::MainWindowFixture;
using trx::test::Q;

namespace {

QImage ImageOf(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

QIcon IconOf(const TDirNode* node) {
    return node->data(0, Qt::DecorationRole).value<QIcon>();
}

// An icon of one colour per path, so that a test can tell which path a node's icon was fetched for.
QRgb ColourFor(const QString& path) {
    return QColor::fromHsv(static_cast<int>(qHash(path) % 360), 200, 200).rgb();
}

QIcon ColouredIcon(const QString& path) {
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor::fromRgb(ColourFor(path)));
    return QIcon(pixmap);
}

// Draws the tree's visible rows.
void Draw(TDirectoryTree& tree) {
    tree.resize(400, 400);
    QPixmap canvas(tree.size());
    tree.render(&canvas);
}

}  // namespace

class TestDirectoryTree : public QObject {
    Q_OBJECT

private slots:
    void aDirectoryEntersTheTreeAndTheModelSortedAndWithItsSlash() {
        MainWindowFixture f;
        TDirNode* z = f.AddDestination("/z/ziel");
        TDirNode* b = f.AddDestination("/b/ziel/");
        f.AddDestination("/m/");
        TDirNode* source2 = f.AddSource(b, "/q/2");
        TDirNode* source1 = f.AddSource(source2, "/q/1/");  // a source as parent means its destination
        f.Tree().SortAll();

        QCOMPARE(f.Texts(), (QStringList{"/b/ziel/", "/m/", "/z/ziel/"}));
        QCOMPARE(f.Texts(b), (QStringList{"/q/1/", "/q/2/"}));
        QCOMPARE(z->Destination->Path, std::string("/z/ziel/"));
        QCOMPARE(source1->Source->Destination, b->Destination);
        QCOMPARE(source1->Source->Options, &f.project.DefaultOptions);
        QCOMPARE(f.ModelOutline(), (QStringList{"/z/ziel/", "/b/ziel/", "  /q/2/", "  /q/1/", "/m/"}));
        QCOMPARE(f.TreeOutline(), f.ModelOutline());
    }

    void aDirectoryMayAppearOnlyOnceByTheBytesOfItsPath() {
        MainWindowFixture f;
        TDirNode* destination = f.AddDestination("/ziel/");
        TDirNode* source = f.AddSource(destination, "/home/anna/daten/");
        f.Tree().clearSelection();

        // Already a source: refused as a destination, with the message, the existing node shown.
        QCOMPARE(f.Tree().AddOrChange("/home/anna/daten", nullptr, nullptr, false), nullptr);
        QCOMPARE(f.dialogs.Asked.size(), 1);
        QCOMPARE(f.dialogs.Asked[0].caption, QStringLiteral("Verzeichnis bereits vorhanden"));
        QCOMPARE(f.dialogs.Asked[0].text,
                 QStringLiteral("Das ausgewählte Verzeichnis ist bereits in der Liste vorhanden."));
        QCOMPARE(f.dialogs.Asked[0].icon, QMessageBox::Information);
        QCOMPARE(f.dialogs.Asked[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(f.Tree().SelectedNodes(), QList<TDirNode*>{source});
        QCOMPARE(f.project.Destinations.Count(), 1);

        // Quiet: refused without a word.
        QCOMPARE(f.AddSource(destination, "/ziel/"), nullptr);
        QCOMPARE(f.dialogs.Asked.size(), 1);

        // Linux file names are case-sensitive: these are different directories.
        QVERIFY(f.Tree().AddOrChange("/home/anna/Daten", nullptr, nullptr, false) != nullptr);
        QVERIFY(f.Tree().AddOrChange("/HOME/anna/daten/", destination, nullptr, false) != nullptr);
        QCOMPARE(f.dialogs.Asked.size(), 1);
        QCOMPARE(f.project.Destinations.Count(), 2);
        QCOMPARE(destination->Destination->Sources.Count(), 2);

        // A node changed to its own path is no duplicate of itself.
        QCOMPARE(f.Tree().AddOrChange("/ziel/", nullptr, destination, false), destination);
        QCOMPARE(f.dialogs.Asked.size(), 1);
    }

    void theFolderButtonsAddDestinationsAndSourcesAndChangeTheMarkedNode() {
        MainWindowFixture f;
        TForm1& w = f.window;
        const std::string ziel = f.tmp.MakeDir("ziel");
        const std::string quelle = f.tmp.MakeDir("quelle");
        const std::string zweite = f.tmp.MakeDir("zweite");
        const std::string neu = f.tmp.MakeDir("neu");

        f.dialogs.Directories = {Q(ziel).chopped(1)};  // the browser gives folders without "/"
        w.Button_AddDest->click();
        TDirNode* destination = f.Node(ziel);
        QVERIFY(destination != nullptr);
        QCOMPARE(f.Tree().SelectedNode(), destination);
        QCOMPARE(f.dialogs.DirectoryStarts, QStringList{QString()});

        f.dialogs.Directories = {Q(quelle)};
        w.Button_AddSource->click();
        TDirNode* source = f.Node(quelle);
        QVERIFY(source != nullptr && source->parent() == destination);
        QCOMPARE(f.Tree().SelectedNode(), source);

        // With a source marked, the new source goes to the same destination.
        f.dialogs.Directories = {Q(zweite)};
        w.Button_AddSource->click();
        QCOMPARE(f.Node(zweite)->parent(), destination);

        // "Markierung ändern" keeps everything but the path.
        f.Tree().SelectOnly(source);
        cBackUpSource* model = source->Source;
        auto* group = new cBackUpOptions;
        model->SetOptions(group);
        model->TotalSize = 4711;
        model->Catalogue.Files.push_back("a.txt");
        f.dialogs.Directories = {Q(neu)};
        w.Button_ChangeDir->click();
        QCOMPARE(f.dialogs.DirectoryStarts.last(), Q(quelle));
        QCOMPARE(source->text(0), Q(neu));
        QCOMPARE(source->Source, model);
        QCOMPARE(model->Path, neu);
        QCOMPARE(model->Options, group);
        QCOMPARE(model->TotalSize, std::uint64_t{4711});
        QCOMPARE(model->Catalogue.Files.size(), std::size_t{1});
        QCOMPARE(f.Node(quelle), nullptr);

        // Cancelling the browser changes nothing.
        const QStringList before = f.ModelOutline();
        w.Button_AddDest->click();
        w.Button_ChangeDir->click();
        QCOMPARE(f.ModelOutline(), before);
        QCOMPARE(f.TreeOutline(), before);
    }

    void theButtonsFollowTheMarkedNodes() {
        MainWindowFixture f;
        TForm1& w = f.window;
        auto enabled = [&w] {
            QString states;
            for (QPushButton* button :
                 {w.Button_AddDest, w.Button_AddSource, w.Button_ChangeDir, w.Button_EditDir,
                  w.Button_Settings, w.Button_Explorer, w.Button_DelDir}) {
                states += button->isEnabled() ? u'1' : u'0';
            }
            return states;
        };
        TDirNode* destination = f.AddDestination("/ziel/");
        TDirNode* source = f.AddSource(destination, "/quelle/");
        f.Tree().clearSelection();
        QCOMPARE(enabled(), QStringLiteral("1000100"));
        destination->setSelected(true);
        QCOMPARE(enabled(), QStringLiteral("1111011"));
        destination->setSelected(false);
        source->setSelected(true);
        QCOMPARE(enabled(), QStringLiteral("1111111"));
        destination->setSelected(true);
        QCOMPARE(enabled(), QStringLiteral("1111011"));
        w.Button_DelDir->click();
        QCOMPARE(enabled(), QStringLiteral("1000100"));
    }

    void typingAcceptsOnlyAbsolutePathsAndRestoresTheOldTextOtherwise() {
        MainWindowFixture f;
        TDirNode* node = f.AddDestination("/ziel/");
        for (const QString& typed : {QStringLiteral("relativ/pfad"), QStringLiteral("a"), QString(),
                                     QStringLiteral("\\\\server\\share\\"), QStringLiteral("C:\\Daten")}) {
            QVERIFY2(!f.Tree().TreeView_DirsEdited(node, typed), qPrintable(typed));
            QCOMPARE(node->text(0), QStringLiteral("/ziel/"));
        }
        QCOMPARE(f.project.Destinations[0]->Path, std::string("/ziel/"));
        QVERIFY(f.dialogs.Asked.isEmpty());

        // The root needs no existence check.
        QVERIFY(f.Tree().TreeView_DirsEdited(node, QStringLiteral("/")));
        QCOMPARE(f.project.Destinations[0]->Path, std::string("/"));
        QVERIFY(f.dialogs.Asked.isEmpty());

        // An existing directory is taken without a question; typing a path already listed is refused.
        const std::string existing = f.tmp.MakeDir("da");
        QVERIFY(f.Tree().TreeView_DirsEdited(node, Q(existing).chopped(1)));
        QCOMPARE(node->text(0), Q(existing));
        TDirNode* other = f.AddDestination("/anderes/");
        QVERIFY(!f.Tree().TreeView_DirsEdited(other, Q(existing)));
        QCOMPARE(f.dialogs.Captions(), QStringList{"Verzeichnis bereits vorhanden"});
        QCOMPARE(other->text(0), QStringLiteral("/anderes/"));
    }

    void aTypedDirectoryThatDoesNotExistIsCreatedOnlyWhenTheUserAgrees() {
        MainWindowFixture f;
        TDirNode* node = f.AddDestination("/ziel/");
        const std::string typed = f.tmp / "Neu/Ordner";

        f.dialogs.Answers = {QMessageBox::No};
        QVERIFY(!f.Tree().TreeView_DirsEdited(node, Q(typed)));
        QCOMPARE(node->text(0), QStringLiteral("/ziel/"));
        QVERIFY(!f.tmp.Exists("Neu"));
        QCOMPARE(f.dialogs.Asked.size(), 1);
        QCOMPARE(f.dialogs.Asked[0].caption, QStringLiteral("Verzeichnis erstellen"));
        QCOMPARE(f.dialogs.Asked[0].text,
                 QStringLiteral("Das angegebene Verzeichnis existiert nicht. Soll es erstellt werden?\n\n") +
                     Q(typed) + u'/');
        QCOMPARE(f.dialogs.Asked[0].icon, QMessageBox::Question);
        QCOMPARE(f.dialogs.Asked[0].buttons, QMessageBox::Yes | QMessageBox::No);

        f.dialogs.Answers = {QMessageBox::Yes};
        QVERIFY(f.Tree().TreeView_DirsEdited(node, Q(typed)));
        QVERIFY(f.tmp.Exists("Neu/Ordner"));
        QCOMPARE(node->text(0), Q(typed) + u'/');
        QCOMPARE(f.project.Destinations[0]->Path, typed + "/");

        // Below a regular file no directory can be made: the user is told and the old text stays.
        f.tmp.WriteFile("datei", "x");
        const std::string impossible = f.tmp / "datei/unter";
        f.dialogs.Answers = {QMessageBox::Yes};
        QVERIFY(!f.Tree().TreeView_DirsEdited(node, Q(impossible)));
        QCOMPARE(f.dialogs.Asked.size(), 4);
        QCOMPARE(f.dialogs.Asked[3].caption, QStringLiteral("Fehler beim Erstellen des Verzeichnisses"));
        QCOMPARE(f.dialogs.Asked[3].text,
                 QStringLiteral("Das Verzeichnis konnte nicht erstellt werden.\n\n") + Q(impossible) + u'/');
        QCOMPARE(f.dialogs.Asked[3].icon, QMessageBox::Critical);
        QCOMPARE(node->text(0), Q(typed) + u'/');
    }

    void theInPlaceEditorHandsItsTextToTheTree() {
        MainWindowFixture f;
        const std::string existing = f.tmp.MakeDir("getippt");
        TDirNode* node = f.AddDestination("/ziel/");
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.Tree().SelectOnly(node);

        auto type = [&f, node](const QString& text) {
            f.window.Button_EditDir->click();
            auto* editor = f.Tree().findChild<QLineEdit*>();
            QVERIFY(editor != nullptr);
            QCOMPARE(editor->text(), node->text(0));
            editor->setText(text);
            QTest::keyClick(editor, Qt::Key_Return);
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(f.Tree().findChild<QLineEdit*>() == nullptr);
        };
        type(QStringLiteral("relativ"));
        QCOMPARE(node->text(0), QStringLiteral("/ziel/"));
        type(Q(existing));
        QTRY_COMPARE(node->text(0), Q(existing));
        QCOMPARE(f.project.Destinations[0]->Path, existing);
    }

    void draggingMovesSourcesOfDifferentDestinationsOntoTheTarget() {
        MainWindowFixture f;
        TDirNode* a = f.AddDestination("/a/");
        TDirNode* b = f.AddDestination("/b/");
        TDirNode* c = f.AddDestination("/c/");
        TDirNode* a1 = f.AddSource(a, "/a1/");
        f.AddSource(a, "/a2/");
        TDirNode* b1 = f.AddSource(b, "/b1/");
        TDirNode* c9 = f.AddSource(c, "/c9/");
        auto* group = new cBackUpOptions;
        a1->Source->SetOptions(group);
        a1->Source->TotalSize = 10;
        f.Tree().SortAll();

        f.Tree().clearSelection();
        for (TDirNode* node : {a1, b1, c9}) {
            node->setSelected(true);
        }
        QVERIFY(f.Tree().TreeView_DirsDragOver(&f.Tree(), c));
        f.Tree().TreeView_DirsDragDrop(&f.Tree(), c);
        QCOMPARE(f.Texts(c), (QStringList{"/a1/", "/b1/", "/c9/"}));
        QCOMPARE(f.Texts(a), QStringList{"/a2/"});
        QCOMPARE(f.Texts(b), QStringList{});
        // The source already there keeps its place in the model; the others are appended in turn.
        QCOMPARE(f.ModelOutline(),
                 (QStringList{"/a/", "  /a2/", "/b/", "/c/", "  /c9/", "  /a1/", "  /b1/"}));
        QCOMPARE(f.TreeOutline(), f.ModelOutline());
        QCOMPARE(a1->Source->Options, group);
        QCOMPARE(a1->Source->TotalSize, std::uint64_t{10});
        QCOMPARE(a1->Source->Destination, c->Destination);
    }

    void dragsOfDestinationsOntoSourcesOrFromElsewhereAreRefused() {
        MainWindowFixture f;
        TDirNode* a = f.AddDestination("/a/");
        TDirNode* b = f.AddDestination("/b/");
        TDirNode* a1 = f.AddSource(a, "/a1/");
        TDirNode* b1 = f.AddSource(b, "/b1/");
        QObject stranger;

        f.Tree().SelectOnly(a1);
        QVERIFY(f.Tree().TreeView_DirsDragOver(&f.Tree(), b));
        QVERIFY(!f.Tree().TreeView_DirsDragOver(&f.Tree(), b1));       // onto a source
        QVERIFY(!f.Tree().TreeView_DirsDragOver(&f.Tree(), nullptr));  // onto empty space
        QVERIFY(!f.Tree().TreeView_DirsDragOver(&stranger, b));        // from another control
        // A drag enters the tree over the source it picked up: taken there all the same, or Qt would send
        // no move and no drop to the tree for the rest of the drag.
        QVERIFY(f.Tree().TreeView_DirsDragEnter(&f.Tree()));
        QVERIFY(!f.Tree().TreeView_DirsDragEnter(&stranger));
        f.Tree().TreeView_DirsDragDrop(&f.Tree(), b1);
        f.Tree().TreeView_DirsDragDrop(&stranger, b);
        a1->setSelected(true);
        a->setSelected(true);  // a destination among the dragged nodes
        QVERIFY(!f.Tree().TreeView_DirsDragOver(&f.Tree(), b));
        QVERIFY(!f.Tree().TreeView_DirsDragEnter(&f.Tree()));
        f.Tree().TreeView_DirsDragDrop(&f.Tree(), b);
        QCOMPARE(f.ModelOutline(), (QStringList{"/a/", "  /a1/", "/b/", "  /b1/"}));
        QCOMPARE(f.TreeOutline(), f.ModelOutline());
    }

    void deletingTheMarkedNodesDeletesEachOnceWithItsModelObject() {
        MainWindowFixture f;
        TDirNode* a = f.AddDestination("/a/");
        TDirNode* b = f.AddDestination("/b/");
        TDirNode* a1 = f.AddSource(a, "/a1/");
        f.AddSource(a, "/a2/");
        TDirNode* b1 = f.AddSource(b, "/b1/");
        TDirNode* b2 = f.AddSource(b, "/b2/");
        auto* group = new cBackUpOptions;
        b1->Source->SetOptions(group);
        b2->Source->SetOptions(group);
        QCOMPARE(group->RefCount, 2);

        // A destination and one of its sources, the source marked first.
        f.Tree().clearSelection();
        a1->setSelected(true);
        a->setSelected(true);
        f.window.Button_DelDir->click();
        QCOMPARE(f.ModelOutline(), (QStringList{"/b/", "  /b1/", "  /b2/"}));
        QCOMPARE(f.TreeOutline(), f.ModelOutline());

        // A single source leaves its destination and lets go of its option group.
        f.Tree().SelectOnly(b1);
        f.window.Button_DelDir->click();
        QCOMPARE(f.ModelOutline(), (QStringList{"/b/", "  /b2/"}));
        QCOMPARE(group->RefCount, 1);
        QCOMPARE(f.TreeOutline(), f.ModelOutline());
        QVERIFY(!f.window.Button_DelDir->isEnabled());
    }

    // Marked with the mouse in every order and mix, as a user marks them: a destination before its own
    // source used to free the source with its destination and then delete it again.
    void deletingWorksForEveryOrderAndMixOfMarkedNodes_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("left");
        const QStringList all{"/a/", "  /a1/", "  /a2/", "/b/", "  /b1/", "/c/", "  /c1/"};
        QTest::newRow("destination, then its source") << QStringList{"/a/", "/a1/"} << all.mid(3);
        QTest::newRow("source, then its destination") << QStringList{"/a1/", "/a/"} << all.mid(3);
        QTest::newRow("destination between its sources") << QStringList{"/a1/", "/a/", "/a2/"} << all.mid(3);
        QTest::newRow("two destinations and a source of each")
            << QStringList{"/b/", "/a1/", "/c/", "/b1/"} << QStringList{"/a/", "  /a2/"};
        QTest::newRow("sources of two destinations, one destination")
            << QStringList{"/a2/", "/c/", "/b1/", "/c1/"} << QStringList{"/a/", "  /a1/", "/b/"};
    }

    void deletingWorksForEveryOrderAndMixOfMarkedNodes() {
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, left);
        MainWindowFixture f;
        for (const char* destination : {"/a/", "/b/", "/c/"}) {
            f.AddDestination(destination);
        }
        for (const auto& [destination, source] :
             {std::pair{"/a/", "/a1/"}, {"/a/", "/a2/"}, {"/b/", "/b1/"}, {"/c/", "/c1/"}}) {
            f.AddSource(f.Node(destination), source);
        }
        f.Tree().SortAll();
        f.Tree().expandAll();
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.Tree().clearSelection();
        for (const QString& path : clicks) {
            const QRect row = f.Tree().visualItemRect(f.Node(path.toStdString()));
            QTest::mouseClick(f.Tree().viewport(), Qt::LeftButton, Qt::ControlModifier, row.center());
        }
        QCOMPARE(f.Tree().SelectedNodes().size(), clicks.size());
        QTest::mouseClick(f.window.Button_DelDir, Qt::LeftButton);
        QCOMPARE(f.ModelOutline(), left);
        QCOMPARE(f.TreeOutline(), left);
    }

    void f2EditsTheMarkedNodeWhereverTheFocusIsOnItsTab() {
        MainWindowFixture f;
        const std::string ziel = f.tmp.MakeDir("ziel");
        f.window.show();
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        auto editorOpen = [&f] {
            auto* editor = f.Tree().findChild<QLineEdit*>();
            return editor != nullptr && editor->isVisible();
        };
        auto closeEditor = [&f] {
            QTest::keyClick(f.Tree().findChild<QLineEdit*>(), Qt::Key_Escape);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };

        // Added with the button, the new entry has the focus, and F2 edits it.
        f.dialogs.Directories = {Q(ziel)};
        QTest::mouseClick(f.window.Button_AddDest, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), &f.Tree());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
        QVERIFY(editorOpen());
        QCOMPARE(f.Tree().currentItem(), f.Node(ziel));
        closeEditor();

        // The caption promises F2 on the buttons as well.
        f.window.Button_AddSource->setFocus();
        QTest::keyClick(f.window.Button_AddSource, Qt::Key_F2);
        QVERIFY(editorOpen());
        closeEditor();

        // On another tab the tree is not there to edit.
        f.window.PageControl->setCurrentIndex(3);
        f.window.Edit_Description->setFocus();
        QTest::keyClick(f.window.Edit_Description, Qt::Key_F2);
        QVERIFY(!editorOpen());
    }

    void eachNodeKeepsTheIconOfItsOwnPath() {
        MainWindowFixture f;
        QStringList fetched;
        f.services.desktop.Icons = [&fetched](const QString& path) {
            fetched.append(path);
            return ColouredIcon(path);
        };
        TDirNode* a = f.AddDestination("/a/");
        TDirNode* b = f.AddDestination("/b/");
        TDirNode* c = f.AddDestination("/c/");
        f.AddSource(a, "/a1/");
        f.AddSource(b, "/b1/");
        f.AddSource(b, "/b2/");
        f.AddSource(c, "/c1/");
        f.Tree().SortAll();
        f.Tree().expandAll();
        b->setExpanded(false);  // its sources are never drawn
        Draw(f.Tree());
        QCOMPARE(fetched, (QStringList{"/a/", "/a1/", "/b/", "/c/", "/c1/"}));

        f.Tree().SelectOnly(b);
        f.Tree().DeleteSelection();
        f.Tree().SelectOnly(f.Node("/a1/"));
        f.Tree().DeleteSelection();
        Draw(f.Tree());
        for (QTreeWidgetItemIterator it(&f.Tree()); *it != nullptr; ++it) {
            auto* node = static_cast<TDirNode*>(*it);
            QVERIFY(node->IconFetched());
            QCOMPARE(ImageOf(IconOf(node)).pixel(8, 8), ColourFor(node->text(0)));
        }
        QCOMPARE(fetched.size(), 5);  // nothing fetched twice

        // A changed path gets the icon of its new path when it is drawn next.
        f.Tree().AddOrChange("/neu/", nullptr, f.Node("/c1/"), true);
        Draw(f.Tree());
        QCOMPARE(ImageOf(IconOf(f.Node("/neu/"))).pixel(8, 8), ColourFor(QStringLiteral("/neu/")));
    }

    void aMissingDirectoryShowsTheQuestionMark() {
        MainWindowFixture f;
        const std::string existing = f.tmp.MakeDir("vorhanden");
        TDirNode* missing = f.AddDestination(f.tmp / "fehlt/");
        TDirNode* present = f.AddDestination(existing);
        Draw(f.Tree());
        const QImage question = ImageOf(f.Tree().style()->standardIcon(QStyle::SP_MessageBoxQuestion));
        QCOMPARE(ImageOf(IconOf(missing)), question);
        QVERIFY(!IconOf(present).isNull());
        QVERIFY(ImageOf(IconOf(present)) != question);
    }

    void foldersDroppedFromTheFileManagerWithoutSelectionBecomeDestinations() {
        MainWindowFixture f;
        const std::string one = f.tmp.MakeDir("eins");
        const std::string two = f.tmp.MakeDir("zwei");
        const std::string three = f.tmp.MakeDir("drei");
        const std::string file = f.tmp.WriteFile("datei.txt", "x");
        f.Tree().clearSelection();
        f.Tree().TreeView_DirsDropFiles({Q(one).chopped(1), Q(file), Q(two), Q(three).chopped(1)});
        QCOMPARE(f.dialogs.Executed, 0);
        QCOMPARE(f.Texts(), (QStringList{Q(three), Q(one), Q(two)}));
        QCOMPARE(f.project.Destinations.Count(), 3);
    }

    void foldersDroppedOntoAMarkedNodeFollowTheChooser() {
        MainWindowFixture f;
        const std::string one = f.tmp.MakeDir("eins");
        const std::string two = f.tmp.MakeDir("zwei");
        TDirNode* destination = f.AddDestination("/ziel/");
        TDirNode* source = f.AddSource(destination, one);
        f.Tree().SelectOnly(source);

        f.dialogs.ExecuteResults = {TForm4::kResultCancel};
        f.Tree().TreeView_DirsDropFiles({Q(two)});
        QCOMPARE(f.project.Destinations.Count(), 1);
        QCOMPARE(destination->Destination->Sources.Count(), 1);

        // As sources of the marked source's destination; the one already listed is skipped silently.
        destination->setExpanded(false);
        f.dialogs.ExecuteResults = {TForm4::kResultAddAsSources};
        f.Tree().TreeView_DirsDropFiles({Q(two), Q(one)});
        QCOMPARE(f.Texts(destination), (QStringList{Q(one), Q(two)}));
        QVERIFY(destination->isExpanded());
        QVERIFY(f.dialogs.Asked.isEmpty());

        f.Tree().SelectOnly(destination);
        const std::string three = f.tmp.MakeDir("drei");
        f.dialogs.ExecuteResults = {TForm4::kResultAddAsDestinations};
        f.Tree().TreeView_DirsDropFiles({Q(three)});
        QCOMPARE(f.dialogs.Executed, 3);
        QCOMPARE(f.ModelOutline(), (QStringList{"/ziel/", "  " + Q(one), "  " + Q(two), Q(three)}));
        QCOMPARE(f.TreeOutline(), f.ModelOutline());
    }

    void aDropEventFromTheFileManagerReachesTheTree() {
        MainWindowFixture f;
        const std::string one = f.tmp.MakeDir("eins");
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.Tree().clearSelection();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(Q(one))});
        QWidget* target = f.Tree().viewport();
        const QPoint where = target->rect().center();
        QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(f.Texts(), QStringList{Q(one)});
    }

    void rebuildShowsTheModelAndClearingLeavesItAlone() {
        MainWindowFixture f;
        auto* z = new cBackUpDestination(f.project, "/z/");
        new cBackUpSource("/z2/", *z);
        new cBackUpSource("/z1/", *z);
        new cBackUpDestination(f.project, "/a/");
        f.Tree().Rebuild();
        QCOMPARE(f.Texts(), (QStringList{"/a/", "/z/"}));
        QCOMPARE(f.Texts(f.Tree().topLevelItem(1)), (QStringList{"/z1/", "/z2/"}));
        QCOMPARE(f.TreeOutline(), f.ModelOutline());
        f.Tree().ClearNodes();
        QCOMPARE(f.Tree().topLevelItemCount(), 0);
        QCOMPARE(f.ModelOutline(), (QStringList{"/z/", "  /z2/", "  /z1/", "/a/"}));
    }
};

QTEST_MAIN(TestDirectoryTree)
#include "tst_DirectoryTree.moc"
