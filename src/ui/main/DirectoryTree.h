// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QStringList>
#include <QTreeWidget>
#include <string>

namespace trx {

namespace platform {
class FileSystem;
}
class cBackUpDestination;
class cBackUpSource;
class cDesktopServices;
class cProject;
class cUserDialogs;
class TForm4;

// One node of the directory tree: a destination on the top level, a source beneath it. The node's text
// is the model object's path exactly as the model holds it (bytes, ending with "/"); its icon is fetched
// when the node is first drawn.
class TDirNode : public QTreeWidgetItem {
public:
    TDirNode(std::string path, cBackUpDestination* destination, cBackUpSource* source);

    QVariant data(int column, int role) const override;
    // Text and icon belong to the tree's logic: a view or a delegate never writes them.
    void setData(int column, int role, const QVariant& value) override;
    // Ascending by text in the user's locale.
    bool operator<(const QTreeWidgetItem& other) const override;

    const std::string& Path() const { return path_; }
    void SetPath(std::string path);
    bool IsDestination() const { return parent() == nullptr; }
    // The destination this node stands for, or, for a source node, the source's destination node.
    TDirNode* DestinationNode();

    // The model object; null once the node no longer owns a model object (see TDirectoryTree).
    cBackUpDestination* Destination = nullptr;
    cBackUpSource* Source = nullptr;

    bool IconFetched() const { return iconFetched_; }
    void SetIcon(const QIcon& icon);
    // Forgets the icon; the next drawing fetches it again.
    void ReleaseIcon();

private:
    std::string path_;
    QIcon icon_;
    bool iconFetched_ = false;
};

// The tree "TreeView_Dirs" of the tab "Verzeichnisauswahl": destinations and their sources, kept sorted by
// path. It is the only place where destinations and sources are created, changed, moved and destroyed,
// and each change reaches the model at once.
class TDirectoryTree : public QTreeWidget {
    Q_OBJECT

public:
    // What the three folder-browser buttons do.
    enum class AddKind { Destination, Source, Change };

    // `desktop` gives the nodes' shell icons, `dialogs` asks the tree's questions; both outlive the tree.
    TDirectoryTree(cProject& project, platform::FileSystem& fs, cDesktopServices& desktop,
                   cUserDialogs& dialogs, QWidget* parent = nullptr);

    // The chooser the tree shows for dropped folders (the one the main window created at start-up; the
    // tree makes one of its own when it is given none).
    void SetChooser(TForm4* chooser) { chooser_ = chooser; }
    TForm4* Chooser() const { return chooser_; }

    // The single way a directory enters the tree. Appends "/" to `path` when missing. A path that is
    // already in the tree (the platform's directory identity) gives null: unless `quiet`, the existing
    // node is selected and shown, and the user is told. With `nodeToChange` that node takes the path (its
    // model object too, keeping options, catalogue and size); else a source under `parent`'s destination,
    // or a destination when `parent` is null, is created in the model. Does not sort.
    TDirNode* AddOrChange(const std::string& path, TDirNode* parent, TDirNode* nodeToChange, bool quiet);
    // The first node, depth first, that stands for `path`; null when there is none.
    TDirNode* Find(const std::string& path) const;
    // Fills the tree from the model; called after a load and after a run.
    void Rebuild();
    // Removes every node and leaves the model alone (a new or reloaded project).
    void ClearNodes();

    // The node the single-node commands work on: the current node when it is selected, else the first
    // selected one; null when nothing is selected.
    TDirNode* SelectedNode() const;
    QList<TDirNode*> SelectedNodes() const;
    // Selects only `node` and scrolls it into view.
    void SelectOnly(TDirNode* node);
    TDirNode* NodeAt(const QModelIndex& index) const;

    // The three folder-browser buttons: "Zielverzeichnis hinzufügen", "Quellverzeichnis hinzufügen",
    // "Markierung ändern".
    void AddDirectory(AddKind kind);
    // "Markierung bearbeiten (F2)": in-place editing of the selected node.
    void EditSelected();
    // "Markierung entfernen": deletes every selected node once, with its model object.
    void DeleteSelection();
    // Deletes one node with its model object: a destination with all its sources.
    void DeleteNode(TDirNode* node);

    // In-place editing ended with `text`. True when the node took it; false restores the old text.
    bool TreeView_DirsEdited(TDirNode* node, const QString& text);
    // An internal drag over `target` from `source`: accepted only from this tree, onto a destination,
    // and when no destination is among the selected nodes.
    bool TreeView_DirsDragOver(const QObject* source, const TDirNode* target) const;
    // A drag from `source` enters the tree: taken wherever it enters when it comes from this tree and
    // holds sources only (it enters over the row it picked up, where it cannot be dropped; Qt withholds
    // every later move and the drop from a widget that refused the enter).
    bool TreeView_DirsDragEnter(const QObject* source) const;
    // Moves every selected source that is not yet there under `target`.
    void TreeView_DirsDragDrop(const QObject* source, TDirNode* target);
    // Folders dropped from the file manager, in drop order; anything but an existing directory is skipped.
    void TreeView_DirsDropFiles(const QStringList& paths);

    // Fetches the icon of a node about to be drawn: the shell's icon of its path, else the question mark.
    void FetchIcon(TDirNode* node);
    // Sorts every level by path.
    void SortAll();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Accepts a drag this tree can take at the event's position, as a copy.
    void AcceptOrIgnore(QDragMoveEvent* event);
    // True when the typed directory exists or the user agreed to have it made and it was made.
    bool EnsureDirectoryExists(const std::string& path);

    cProject& project_;
    platform::FileSystem& fs_;
    cDesktopServices& desktop_;
    cUserDialogs& dialogs_;
    TForm4* chooser_ = nullptr;
};

// True when two directory paths name the same directory by the platform's rule: the bytes compared
// exactly on Linux, whose file names are case-sensitive.
bool SameDirectoryPath(const std::string& a, const std::string& b);

}  // namespace trx
