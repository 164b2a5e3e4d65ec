// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/TForm1.h"

#include "model/Project.h"
#include "ui/common/ApplicationTitle.h"
#include "ui/common/CentreOnScreen.h"
#include "ui/common/DesktopServices.h"
#include "ui/common/LocalFiles.h"
#include "ui/common/Named.h"
#include "ui/editors/TForm4.h"
#include "ui/editors/TForm5.h"
#include "ui/editors/TFrame_FileFilter.h"
#include "ui/editors/TFrame_Options.h"
#include "ui/editors/TVersionSettingsBox.h"
#include "ui/extra/TInfo.h"
#include "ui/main/DirectoryTree.h"
#include "ui/main/ExtrasCommands.h"
#include "ui/main/ProjectCommands.h"
#include "ui/main/ProtocolTab.h"
#include "ui/run/TForm2.h"
#include "ui/shortcut/TForm3.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace trx {

namespace {

QPushButton* Button(const QString& caption, const char* name) {
    auto* button = Named(new QPushButton(caption), name);
    button->setAutoDefault(false);
    return button;
}

// A group box holding `content` alone.
QGroupBox* Group(const QString& caption, QWidget* content) {
    auto* box = new QGroupBox(caption);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

}  // namespace

TForm1::TForm1(cProject& project, const cMainWindowServices& services, QWidget* parent)
    : QMainWindow(parent), QVUpdate(this), project_(project), services_(services) {
    setObjectName(QStringLiteral("Form1"));
    resize(553, 528);

    BuildMenu();
    PageControl = Named(new QTabWidget, "PageControl");
    TabSheet_Dirs = BuildDirectoryPage();
    TabSheet_Filter = BuildFilterPage();
    TabSheet_DefOptions = BuildOptionsPage();
    TabSheet_Description = BuildDescriptionPage();
    PageControl->addTab(TabSheet_Dirs, QStringLiteral("Verzeichnisauswahl"));
    PageControl->addTab(TabSheet_Filter, QStringLiteral("Filter"));
    PageControl->addTab(TabSheet_DefOptions, QStringLiteral("Standard-Einstellungen"));
    PageControl->addTab(TabSheet_Description, QStringLiteral("Beschreibung"));
    // Every tab caption stays whole: in a large desktop font the window grows wider instead of hiding
    // tabs behind scroll arrows. The pages and tabs set the least size; the window starts larger.
    PageControl->setUsesScrollButtons(false);
    // Follows these four while the project has a protocol file.
    TabSheet_Protocol = new TProtocolTab(*PageControl, services_.Fs);
    auto* central = new QWidget;
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(8, 8, 8, 8);
    centralLayout->addWidget(PageControl);
    setCentralWidget(central);

    commands_ = std::make_unique<cProjectCommands>(*this, project_, services_.Fs, services_.Formats,
                                                   services_.Dialogs);
    extras_ =
        std::make_unique<cExtrasCommands>(*this, project_, *commands_, services_.Dialogs, services_.Launcher);
    extras_->BuildMenus();

    // Files dropped anywhere but on the tree (which takes folders) may open a project.
    setAcceptDrops(true);

    // The filter editors draw the program's icon (the window's, which is the application's unless set
    // otherwise) beside their criteria and work on the default set's filters from the start.
    Frame_FileFilterIn->SetMainIcon(windowIcon());
    Frame_FileFilterOut->SetMainIcon(windowIcon());
    Frame_FileFilterIn->AttachFilter(project_.DefaultOptions.Filters[0]);
    Frame_FileFilterOut->AttachFilter(project_.DefaultOptions.Filters[1]);
    commands_->StartNewProject();

    QVUpdate.setObjectName(QStringLiteral("QVUpdate"));
    QVUpdate.ShortApplicationName = QStringLiteral("trxmain");
    QVUpdate.Loaded();
    // Keep this the last step: an update library that takes over ends the program before it shows.
    if (QVUpdate.autoUpdate(true, 1)) {
        services_.Desktop.EndProcess(0);
    }
}

TForm1::~TForm1() {
    // The nodes go while every control is still there (the tree reports its emptied selection); they
    // never touch the model, which outlives the window.
    disconnect(TreeView_Dirs, nullptr, this, nullptr);
    TreeView_Dirs->ClearNodes();
}

void TForm1::BuildMenu() {
    Menu_File = Named(menuBar()->addMenu(QStringLiteral("Datei")), "Menu_File");
    auto action = [this](const QString& caption, const QKeySequence& keys, const char* name) {
        QAction* item = Menu_File->addAction(caption);
        item->setObjectName(QString::fromLatin1(name));
        item->setShortcut(keys);
        return item;
    };
    Action_New = action(QStringLiteral("Neu"), QKeySequence(Qt::CTRL | Qt::Key_N), "Action_New");
    Action_Open = action(QStringLiteral("Öffnen"), QKeySequence(Qt::CTRL | Qt::Key_O), "Action_Open");
    Action_Save = action(QStringLiteral("Speichern "), QKeySequence(Qt::CTRL | Qt::Key_S), "Action_Save");
    Action_SaveAs = action(QStringLiteral("Speichern unter"), QKeySequence(Qt::Key_F12), "Action_SaveAs");
    Menu_File->addSeparator();
    Action_StartBackup =
        action(QStringLiteral("Backup starten"), QKeySequence(Qt::Key_F5), "Action_StartBackup");
    Action_Preview =
        action(QStringLiteral("Vorschau"), QKeySequence(Qt::SHIFT | Qt::Key_F5), "Action_Preview");
    Menu_File->addSeparator();
    Action_Quit = action(QStringLiteral("Beenden"), QKeySequence(Qt::ALT | Qt::Key_F4), "Action_Quit");

    connect(Action_New, &QAction::triggered, this, [this] { commands_->New(); });
    connect(Action_Open, &QAction::triggered, this, [this] { commands_->Open(); });
    connect(Action_Save, &QAction::triggered, this, [this] { commands_->Save(); });
    connect(Action_SaveAs, &QAction::triggered, this, [this] { commands_->SaveAs(); });
    connect(Action_StartBackup, &QAction::triggered, this, [this] { commands_->StartBackup(); });
    connect(Action_Preview, &QAction::triggered, this, [this] { commands_->Preview(); });
    connect(Action_Quit, &QAction::triggered, this, [this] { close(); });
    // Without a run window (created with the dialogs) there is nothing to start.
    Action_StartBackup->setEnabled(false);
    Action_Preview->setEnabled(false);

    // Filled by the extras commands.
    Menu_Extras = Named(menuBar()->addMenu(QStringLiteral("Extras")), "Menu_Extras");
    Menu_Help = Named(menuBar()->addMenu(QStringLiteral("?")), "Menu_Help");
}

QWidget* TForm1::BuildDirectoryPage() {
    auto* page = Named(new QWidget, "TabSheet_Dirs");
    auto* explanation = new QLabel(
        QStringLiteral("Geben Sie hier die Zielverzeichnisse (Hauptebene) und die dazugehörigen "
                       "Quellverzeichnisse (Unterebene), deren Inhalte gesichert werden sollen, an."));
    explanation->setWordWrap(true);
    TreeView_Dirs = new TDirectoryTree(project_, services_.Fs, services_.Desktop, services_.Dialogs);

    Button_AddDest = Button(QStringLiteral("Zielverzeichnis hinzufügen"), "Button_AddDest");
    Button_AddSource = Button(QStringLiteral("Quellverzeichnis hinzufügen"), "Button_AddSource");
    Button_ChangeDir = Button(QStringLiteral("Markierung ändern"), "Button_ChangeDir");
    Button_EditDir = Button(QStringLiteral("Markierung bearbeiten (F2)"), "Button_EditDir");
    Button_Settings = Button(QStringLiteral("Einstellungen"), "Button_Settings");
    Button_Explorer = Button(QStringLiteral("Im Explorer öffnen"), "Button_Explorer");
    Button_DelDir = Button(QStringLiteral("Markierung entfernen"), "Button_DelDir");
    Button_Preview = Button(QStringLiteral("Vorschau"), "Button_Preview");
    Button_StartBackup = Button(QStringLiteral("Backup starten"), "Button_StartBackup");

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {Button_AddDest, Button_AddSource, Button_ChangeDir, Button_EditDir}) {
        buttons->addWidget(button);
    }
    buttons->addSpacing(12);
    buttons->addWidget(Button_Settings);
    buttons->addWidget(Button_Explorer);
    buttons->addStretch();
    buttons->addWidget(Button_Preview);
    buttons->addWidget(Button_StartBackup);
    buttons->addSpacing(12);
    buttons->addWidget(Button_DelDir);

    auto* row = new QHBoxLayout;
    row->addWidget(TreeView_Dirs, 1);
    row->addLayout(buttons);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(explanation);
    layout->addLayout(row, 1);

    for (QPushButton* button : {Button_AddDest, Button_AddSource, Button_ChangeDir}) {
        connect(button, &QPushButton::clicked, this, [this, button] { Button_AddDirClick(button); });
    }
    connect(Button_EditDir, &QPushButton::clicked, this, [this] { Button_EditDirClick(); });
    // The button's caption promises F2 wherever the focus is on this tab (after an "add" button, for
    // example), not only in the tree; the shortcut belongs to the page, so it rests on the other tabs.
    auto* editKey = new QShortcut(QKeySequence(Qt::Key_F2), page);  // a window shortcut
    editKey->setObjectName(QStringLiteral("Shortcut_EditDir"));
    connect(editKey, &QShortcut::activated, this, [this] {
        if (Button_EditDir->isEnabled()) {
            Button_EditDirClick();
        }
    });
    connect(Button_DelDir, &QPushButton::clicked, this, [this] { Button_DelDirClick(); });
    // The buttons do what the menu entries do, when they do.
    for (const auto& [button, item] :
         {std::pair{Button_Preview, Action_Preview}, std::pair{Button_StartBackup, Action_StartBackup}}) {
        button->setEnabled(item->isEnabled());
        connect(item, &QAction::enabledChanged, button, &QPushButton::setEnabled);
        connect(button, &QPushButton::clicked, item, &QAction::trigger);
    }
    connect(Button_Settings, &QPushButton::clicked, this, [this] { extras_->Button_SettingsClick(); });
    connect(Button_Explorer, &QPushButton::clicked, this, [this] { extras_->Button_ExplorerClick(); });
    connect(TreeView_Dirs, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    return page;
}

QWidget* TForm1::BuildFilterPage() {
    auto* page = Named(new QWidget, "TabSheet_Filter");
    Frame_FileFilterIn = Named(new TFrame_FileFilter(services_.Desktop), "Frame_FileFilterIn");
    Frame_FileFilterOut = Named(new TFrame_FileFilter(services_.Desktop), "Frame_FileFilterOut");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Group(QStringLiteral("Dateien einschließen"), Frame_FileFilterIn));
    layout->addWidget(Group(QStringLiteral("Dateien ausschließen"), Frame_FileFilterOut));
    return page;
}

QWidget* TForm1::BuildOptionsPage() {
    auto* page = Named(new QWidget, "TabSheet_DefOptions");
    Frame_DefOptions = Named(new TFrame_Options, "Frame_DefOptions");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Group(QStringLiteral("Standard-Einstellungen"), Frame_DefOptions));
    layout->addStretch();
    return page;
}

QWidget* TForm1::BuildDescriptionPage() {
    auto* page = Named(new QWidget, "TabSheet_Description");
    auto* box = new QGroupBox(QStringLiteral("Projektbezeichnung und Kommentare"));
    Edit_Description = Named(new QLineEdit, "Edit_Description");
    Memo_Comments = Named(new QPlainTextEdit, "Memo_Comments");
    Memo_Comments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Files dropped onto the texts go to the window, which opens a dropped project.
    Edit_Description->setAcceptDrops(false);
    Memo_Comments->setAcceptDrops(false);
    auto* descriptionLabel = new QLabel(QStringLiteral("Bezeichnung:"));
    descriptionLabel->setBuddy(Edit_Description);
    auto* commentsLabel = new QLabel(QStringLiteral("Beschreibung und Kommentare:"));
    commentsLabel->setBuddy(Memo_Comments);
    auto* inner = new QVBoxLayout(box);
    inner->addWidget(descriptionLabel);
    inner->addWidget(Edit_Description);
    inner->addSpacing(6);
    inner->addWidget(commentsLabel);
    inner->addWidget(Memo_Comments, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(box, 1);
    Box_Versions = new TVersionSettingsBox;  // a setting of the whole project, as the texts are
    layout->addWidget(Box_Versions);
    return page;
}

void TForm1::CreateDialogs() {
    if (runWindow_ != nullptr) {
        return;
    }
    shortcutDialog_ = new TForm3(services_.Fs, services_.Schedules, this);
    chooser_ = new TForm4(this);
    settingsDialog_ = new TForm5(services_.Desktop, this);
    aboutDialog_ = new TInfo(services_.Desktop, this);
    runWindow_ = new TForm2(project_, services_.RunWindow(), this);
    TreeView_Dirs->SetChooser(chooser_);
    settingsDialog_->SetOwner(extras_->ElementSettingsOwner());
    Action_StartBackup->setEnabled(true);
    Action_Preview->setEnabled(true);
}

void TForm1::SetProjectPath(const QString& path) {
    commands_->SetProjectPath(path);
}

void TForm1::Button_AddDirClick(QPushButton* sender) {
    if (sender == Button_AddDest) {
        TreeView_Dirs->AddDirectory(TDirectoryTree::AddKind::Destination);
    } else if (sender == Button_AddSource) {
        TreeView_Dirs->AddDirectory(TDirectoryTree::AddKind::Source);
    } else if (sender == Button_ChangeDir) {
        TreeView_Dirs->AddDirectory(TDirectoryTree::AddKind::Change);
    }
}

void TForm1::Button_EditDirClick() {
    TreeView_Dirs->EditSelected();
}

void TForm1::Button_DelDirClick() {
    TreeView_Dirs->DeleteSelection();
    UpdateButtons();
}

void TForm1::UpdateButtons() {
    const QList<TDirNode*> marked = TreeView_Dirs->SelectedNodes();
    const bool any = !marked.isEmpty();
    for (QPushButton* button :
         {Button_AddSource, Button_ChangeDir, Button_EditDir, Button_Explorer, Button_DelDir}) {
        button->setEnabled(any);
    }
    Button_Settings->setEnabled(std::none_of(marked.begin(), marked.end(),
                                             [](const TDirNode* node) { return node->IsDestination(); }));
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowIconChange && Frame_FileFilterIn != nullptr) {
        Frame_FileFilterIn->SetMainIcon(windowIcon());
        Frame_FileFilterOut->SetMainIcon(windowIcon());
    }
    return QMainWindow::event(event);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!centred_) {
        centred_ = true;
        CentreOnScreen(*this);
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (commands_->AskSave()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TForm1::dropEvent(QDropEvent* event) {
    const QStringList paths = LocalFiles(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The save question comes once the file manager has been released from the drop.
    QMetaObject::invokeMethod(
        this, [this, paths] { commands_->DropFiles(paths); }, Qt::QueuedConnection);
}

}  // namespace trx
