// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/DirectoryTree.h"

#include "model/BackUpDestination.h"
#include "model/BackUpDirectory.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "platform/FileSystem.h"
#include "ui/common/DesktopServices.h"
#include "ui/common/LocalFiles.h"
#include "ui/common/ModelText.h"
#include "ui/common/TrailingSlash.h"
#include "ui/editors/TForm4.h"
#include "ui/main/UserDialogs.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QSet>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <algorithm>

namespace trx {

namespace {

constexpr int kIconSize = 16;

// The model's form of a directory: without "//" or "/./", ending with "/".
std::string ModelDirectory(std::string path) {
    return WithTrailingSlash(CleanDirectoryPath(std::move(path)));
}

// Fetches a node's icon just before it is drawn for the first time, and hands the text of an in-place
// edit to the tree once the editor has closed: what the tree then does may ask questions in message boxes,
// which must not open while the editor is still being torn down.
class TDirNodeDelegate : public QStyledItemDelegate {
public:
    explicit TDirNodeDelegate(TDirectoryTree* tree) : QStyledItemDelegate(tree), tree_(tree) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (TDirNode* node = tree_->NodeAt(index); node != nullptr && !node->IconFetched()) {
            tree_->FetchIcon(node);
        }
        QStyledItemDelegate::paint(painter, option, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        // Rows keep their height whether or not the icon was fetched yet.
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), kIconSize + 2));
        return size;
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        const auto* edit = qobject_cast<const QLineEdit*>(editor);
        if (edit == nullptr) {
            return;
        }
        const QPersistentModelIndex where(index);
        const QString text = edit->text();
        const QPointer<TDirectoryTree> tree(tree_);
        QMetaObject::invokeMethod(
            tree_,
            [tree, where, text] {
                if (tree != nullptr && where.isValid()) {
                    if (TDirNode* node = tree->NodeAt(where)) {
                        tree->TreeView_DirsEdited(node, text);
                    }
                }
            },
            Qt::QueuedConnection);
    }

private:
    TDirectoryTree* tree_;
};

}  // namespace

bool SameDirectoryPath(const std::string& a, const std::string& b) {
    return a == b;
}

// ---- TDirNode ----

TDirNode::TDirNode(std::string path, cBackUpDestination* destination, cBackUpSource* source)
    : QTreeWidgetItem(QTreeWidgetItem::UserType),
      Destination(destination),
      Source(source),
      path_(std::move(path)) {
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
             Qt::ItemIsDropEnabled);
}

QVariant TDirNode::data(int column, int role) const {
    if (column == 0) {
        switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole:
                return FromModel(path_);
            case Qt::DecorationRole:
                return iconFetched_ ? QVariant(icon_) : QVariant();
            default:
                break;
        }
    }
    return QTreeWidgetItem::data(column, role);
}

void TDirNode::setData(int column, int role, const QVariant& value) {
    if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::DecorationRole)) {
        return;
    }
    QTreeWidgetItem::setData(column, role, value);
}

bool TDirNode::operator<(const QTreeWidgetItem& other) const {
    return QString::localeAwareCompare(text(0), other.text(0)) < 0;
}

void TDirNode::SetPath(std::string path) {
    path_ = std::move(path);
    emitDataChanged();
}

TDirNode* TDirNode::DestinationNode() {
    return IsDestination() ? this : static_cast<TDirNode*>(parent());
}

void TDirNode::SetIcon(const QIcon& icon) {
    // Called while the node is being drawn: the drawing picks the icon up, no change notice is needed.
    icon_ = icon;
    iconFetched_ = true;
}

void TDirNode::ReleaseIcon() {
    if (iconFetched_) {
        icon_ = QIcon();
        iconFetched_ = false;
        emitDataChanged();
    }
}

// ---- TDirectoryTree ----

TDirectoryTree::TDirectoryTree(cProject& project, platform::FileSystem& fs, cDesktopServices& desktop,
                               cUserDialogs& dialogs, QWidget* parent)
    : QTreeWidget(parent), project_(project), fs_(fs), desktop_(desktop), dialogs_(dialogs) {
    setObjectName(QStringLiteral("TreeView_Dirs"));
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setUniformRowHeights(true);
    setIconSize(QSize(kIconSize, kIconSize));
    setItemDelegate(new TDirNodeDelegate(this));
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setDropIndicatorShown(false);  // a drop lands on a destination, never between nodes
    // The marked nodes stay visible while the user works with the buttons beside the tree.
    QPalette keep = palette();
    keep.setColor(QPalette::Inactive, QPalette::Highlight, keep.color(QPalette::Active, QPalette::Highlight));
    keep.setColor(QPalette::Inactive, QPalette::HighlightedText,
                  keep.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(keep);
}

TDirNode* TDirectoryTree::NodeAt(const QModelIndex& index) const {
    return static_cast<TDirNode*>(itemFromIndex(index));
}

TDirNode* TDirectoryTree::Find(const std::string& path) const {
    for (QTreeWidgetItemIterator it(const_cast<TDirectoryTree*>(this)); *it != nullptr; ++it) {
        auto* node = static_cast<TDirNode*>(*it);
        if (SameDirectoryPath(node->Path(), path)) {
            return node;
        }
    }
    return nullptr;
}

TDirNode* TDirectoryTree::AddOrChange(const std::string& path, TDirNode* parent, TDirNode* nodeToChange,
                                      bool quiet) {
    const std::string directory = ModelDirectory(path);
    if (TDirNode* existing = Find(directory); existing != nullptr && existing != nodeToChange) {
        if (!quiet) {
            SelectOnly(existing);
            dialogs_.Ask(window(), QMessageBox::Information, QStringLiteral("Verzeichnis bereits vorhanden"),
                         QStringLiteral("Das ausgewählte Verzeichnis ist bereits in der Liste vorhanden."),
                         QMessageBox::Ok);
        }
        return nullptr;
    }

    TDirNode* node = nullptr;
    if (nodeToChange != nullptr) {
        node = nodeToChange;
        node->SetPath(directory);
        node->ReleaseIcon();
        if (node->Source != nullptr) {
            node->Source->Path = directory;
        } else if (node->Destination != nullptr) {
            node->Destination->Path = directory;
        }
    } else if (parent != nullptr) {
        TDirNode* destinationNode = parent->DestinationNode();
        if (destinationNode->Destination == nullptr) {
            return nullptr;
        }
        auto* source = new cBackUpSource(directory, *destinationNode->Destination);
        node = new TDirNode(directory, nullptr, source);
        destinationNode->addChild(node);
    } else {
        auto* destination = new cBackUpDestination(project_, directory);
        node = new TDirNode(directory, destination, nullptr);
        addTopLevelItem(node);
    }
    return node;
}

void TDirectoryTree::Rebuild() {
    setUpdatesEnabled(false);
    ClearNodes();
    for (cBackUpDestination* destination : project_.Destinations) {
        auto* node = new TDirNode(destination->Path, destination, nullptr);
        addTopLevelItem(node);
        for (cBackUpSource* source : destination->Sources) {
            node->addChild(new TDirNode(source->Path, nullptr, source));
        }
    }
    SortAll();
    expandAll();
    setUpdatesEnabled(true);
}

void TDirectoryTree::ClearNodes() {
    // A node's destructor never touches the model: the whole tree can go while the model stays.
    clear();
}

void TDirectoryTree::SortAll() {
    sortItems(0, Qt::AscendingOrder);
}

TDirNode* TDirectoryTree::SelectedNode() const {
    auto* current = static_cast<TDirNode*>(currentItem());
    if (current != nullptr && current->isSelected()) {
        return current;
    }
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : static_cast<TDirNode*>(selected.constFirst());
}

QList<TDirNode*> TDirectoryTree::SelectedNodes() const {
    QList<TDirNode*> nodes;
    for (QTreeWidgetItem* item : selectedItems()) {
        nodes.append(static_cast<TDirNode*>(item));
    }
    return nodes;
}

void TDirectoryTree::SelectOnly(TDirNode* node) {
    clearSelection();
    setCurrentItem(node);
    node->setSelected(true);
    scrollToItem(node);
}

void TDirectoryTree::AddDirectory(AddKind kind) {
    TDirNode* selected = SelectedNode();
    if (kind != AddKind::Destination && selected == nullptr) {
        return;
    }
    const QString start = kind == AddKind::Change ? FromModel(selected->Path()) : QString();
    const QString chosen = dialogs_.ChooseDirectory(window(), start);
    if (chosen.isEmpty()) {
        return;
    }
    TDirNode* nodeToChange = kind == AddKind::Change ? selected : nullptr;
    TDirNode* parent = kind == AddKind::Source ? selected->DestinationNode() : nullptr;
    if (TDirNode* node = AddOrChange(ToModel(chosen), parent, nodeToChange, false)) {
        SortAll();
        SelectOnly(node);
        // The user goes on with the new entry: F2, Delete and the arrow keys act on it.
        setFocus(Qt::OtherFocusReason);
    }
}

void TDirectoryTree::EditSelected() {
    if (state() == QAbstractItemView::EditingState) {
        return;  // F2 inside the open editor
    }
    if (TDirNode* node = SelectedNode()) {
        setCurrentItem(node, 0, QItemSelectionModel::NoUpdate);
        editItem(node);
    }
}

void TDirectoryTree::DeleteNode(TDirNode* node) {
    if (node->Source != nullptr) {
        delete node->Source;  // leaves its destination's list and releases its option set
        node->Source = nullptr;
    } else if (node->Destination != nullptr) {
        for (int i = 0; i < node->childCount(); ++i) {
            static_cast<TDirNode*>(node->child(i))->Source = nullptr;  // they go with the destination
        }
        project_.Destinations.Remove(node->Destination);
        delete node->Destination;
        node->Destination = nullptr;
    }
    delete node;  // takes itself and its children out of the tree
}

void TDirectoryTree::DeleteSelection() {
    // Decided before anything is deleted: a marked source of a marked destination goes with its
    // destination, and asking a node about its parent after that would touch freed memory. What is left
    // are nodes none of which lies inside another, so any order of deletion is safe.
    const QList<TDirNode*> marked = SelectedNodes();
    const QSet<TDirNode*> markedSet(marked.begin(), marked.end());
    QList<TDirNode*> doomed;
    for (TDirNode* node : marked) {
        if (node->IsDestination() || !markedSet.contains(static_cast<TDirNode*>(node->parent()))) {
            doomed.append(node);
        }
    }
    for (TDirNode* node : doomed) {
        DeleteNode(node);
    }
}

bool TDirectoryTree::EnsureDirectoryExists(const std::string& path) {
    if (path == "/" || fs_.IsDirectory(path)) {
        return true;
    }
    const QString shown = FromModel(path);
    const auto answer = dialogs_.Ask(
        window(), QMessageBox::Question, QStringLiteral("Verzeichnis erstellen"),
        QStringLiteral("Das angegebene Verzeichnis existiert nicht. Soll es erstellt werden?\n\n") + shown,
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        return false;
    }
    if (!fs_.MakeDirectories(path)) {
        dialogs_.Ask(
            window(), QMessageBox::Critical, QStringLiteral("Fehler beim Erstellen des Verzeichnisses"),
            QStringLiteral("Das Verzeichnis konnte nicht erstellt werden.\n\n") + shown, QMessageBox::Ok);
        return false;
    }
    return true;
}

bool TDirectoryTree::TreeView_DirsEdited(TDirNode* node, const QString& text) {
    // Only absolute paths are taken. An emptied field is refused as well: it would otherwise become the
    // root directory.
    if (text.isEmpty()) {
        return false;
    }
    const std::string directory = ModelDirectory(ToModel(text));
    if (directory.front() != '/') {
        return false;
    }
    if (!EnsureDirectoryExists(directory)) {
        return false;
    }
    if (AddOrChange(directory, nullptr, node, false) == nullptr) {
        return false;
    }
    SortAll();
    SelectOnly(node);
    return true;
}

bool TDirectoryTree::TreeView_DirsDragOver(const QObject* source, const TDirNode* target) const {
    if (source != this || target == nullptr || !target->IsDestination() || target->Destination == nullptr) {
        return false;
    }
    return TreeView_DirsDragEnter(source);
}

bool TDirectoryTree::TreeView_DirsDragEnter(const QObject* source) const {
    if (source != this) {
        return false;
    }
    const QList<TDirNode*> nodes = SelectedNodes();
    return !nodes.isEmpty() && std::none_of(nodes.begin(), nodes.end(),
                                            [](const TDirNode* node) { return node->IsDestination(); });
}

void TDirectoryTree::TreeView_DirsDragDrop(const QObject* source, TDirNode* target) {
    if (!TreeView_DirsDragOver(source, target)) {
        return;
    }
    const QList<TDirNode*> nodes = SelectedNodes();
    for (TDirNode* node : nodes) {
        if (node->parent() == target || node->Source == nullptr) {
            continue;
        }
        node->parent()->removeChild(node);
        target->addChild(node);
        node->Source->MoveTo(*target->Destination);
        node->setSelected(true);
    }
    target->sortChildren(0, Qt::AscendingOrder);
    target->setExpanded(true);
}

void TDirectoryTree::TreeView_DirsDropFiles(const QStringList& paths) {
    TDirNode* parent = nullptr;
    if (TDirNode* selected = SelectedNode()) {
        if (chooser_ == nullptr) {
            chooser_ = new TForm4(window());
        }
        const int choice = dialogs_.Execute(*chooser_);
        if (choice < TForm4::kResultAddAsDestinations) {
            return;
        }
        if (choice == TForm4::kResultAddAsSources) {
            parent = selected->DestinationNode();
        }
    }
    for (const QString& path : paths) {
        const std::string directory = ToModel(path);
        if (directory.empty() || !fs_.IsDirectory(directory)) {
            continue;
        }
        AddOrChange(directory, parent, nullptr, true);
    }
    SortAll();
    if (parent != nullptr) {
        parent->setExpanded(true);
    }
}

void TDirectoryTree::FetchIcon(TDirNode* node) {
    QIcon icon = desktop_.ShellIcon(node->text(0));
    if (icon.isNull()) {
        icon = style()->standardIcon(QStyle::SP_MessageBoxQuestion);
    }
    node->SetIcon(icon);
}

// ---- drag and drop ----

void TDirectoryTree::dragEnterEvent(QDragEnterEvent* event) {
    QTreeWidget::dragEnterEvent(event);  // auto-scrolling while dragging
    // Each move then decides by the row under it.
    const bool accept = event->source() == this ? TreeView_DirsDragEnter(this)
                                                : event->source() == nullptr && event->mimeData()->hasUrls();
    if (accept) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TDirectoryTree::dragMoveEvent(QDragMoveEvent* event) {
    QTreeWidget::dragMoveEvent(event);
    AcceptOrIgnore(event);
}

void TDirectoryTree::AcceptOrIgnore(QDragMoveEvent* event) {
    bool accept = false;
    if (event->source() == this) {
        accept = TreeView_DirsDragOver(this, NodeAt(indexAt(event->position().toPoint())));
    } else {
        accept = event->source() == nullptr && event->mimeData()->hasUrls();
    }
    if (accept) {
        // Reported as a copy: the view must never remove the dragged rows itself, the drop moves them.
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TDirectoryTree::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    setState(QAbstractItemView::NoState);
    viewport()->update();
    if (event->source() == this) {
        TDirNode* target = NodeAt(indexAt(event->position().toPoint()));
        if (!TreeView_DirsDragOver(this, target)) {
            event->ignore();
            return;
        }
        TreeView_DirsDragDrop(this, target);
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return;
    }
    if (event->source() != nullptr || !event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    const QStringList paths = LocalFiles(event->mimeData());
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The chooser is shown once the file manager has been released from the drop.
    QMetaObject::invokeMethod(
        this, [this, paths] { TreeView_DirsDropFiles(paths); }, Qt::QueuedConnection);
}

}  // namespace trx
