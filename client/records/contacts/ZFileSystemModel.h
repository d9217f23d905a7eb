#pragma once

#include <QAbstractItemModel>
#include <QFileIconProvider>
#include <QList>
#include <QString>

// One file or folder of the tree; a node owns its children.
struct FileNode
{
    ~FileNode() { qDeleteAll(Children); }

    FileNode* Parent = nullptr;
    QList<FileNode*> Children;  // in the order they were added
    QString Path;               // full path: the parent's Path, "/", Name
    QString Name;               // last path component
    bool IsDir = false;         // a real folder; a symbolic link is a leaf, never descended into
};

// A single-column item model over one folder and everything below it: the address-book groups (folders) and
// books (files) of the contacts tree. Reads the disk when its root is set or it is reset; changes made behind
// its back show after the next Reset. Every change of the tree ends with DataChanged().
//
// Names given to Mkdir, NewFile and the in-place rename must be a single plain name: empty, ".", ".." and
// names holding "/", "\" or NUL are refused, so no name can reach outside its folder. Symbolic links are
// listed but never descended into, so a link loop cannot make the scan run away. GUI thread only.
class ZFileSystemModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit ZFileSystemModel(QObject* parent = nullptr);
    ~ZFileSystemModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Renames the node's file or folder (edit role only). A name that cannot be used is refused with a
    // message box titled "Invalid filename"; an empty name is refused silently.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::DropActions supportedDropActions() const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // True for the root (the invalid index) and for folders.
    bool IsDir(const QModelIndex& index) const;
    // The node's full path; the root path for the invalid index.
    QString FilePath(const QModelIndex& index) const;
    void SetRootPath(const QString& path);
    // Rebuilds the whole tree from disk.
    void Reset();
    // Create a folder / an empty file under parent (a folder or the root). An empty name picks the first free
    // of "New", "New2", "New3", ... The new node goes last among its siblings until the next Reset. Returns
    // its index, or the invalid index when the name is refused, already taken, or the disk refuses.
    QModelIndex Mkdir(const QModelIndex& parent, const QString& name);
    QModelIndex NewFile(const QModelIndex& parent, const QString& name);
    // Deletes a file (or a symbolic link) or an empty folder.
    bool Remove(const QModelIndex& index);

    // A single plain file name: not empty, not "." or "..", without "/", "\" or NUL.
    static bool IsPlainName(const QString& name);

signals:
    void DataChanged();

private:
    FileNode* Node(const QModelIndex& index) const;
    QModelIndex IndexOf(FileNode* node) const;
    void Scan(FileNode* node, const QString& folder);
    QString NewName(const FileNode* parent) const;
    QModelIndex AddNode(const QModelIndex& parent, const QString& name, bool isDir);
    static void UpdatePath(FileNode* node);
    void ShowInvalidName(const QString& name);

    FileNode m_root;
    QFileIconProvider m_icons;
};
