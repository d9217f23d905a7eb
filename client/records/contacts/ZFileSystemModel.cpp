#include "contacts/ZFileSystemModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

ZFileSystemModel::ZFileSystemModel(QObject* parent) : QAbstractItemModel(parent) {}

ZFileSystemModel::~ZFileSystemModel() = default;  // m_root deletes every node below it

FileNode* ZFileSystemModel::Node(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<FileNode*>(index.internalPointer()) : const_cast<FileNode*>(&m_root);
}

QModelIndex ZFileSystemModel::IndexOf(FileNode* node) const
{
    if (!node || node == &m_root)
        return QModelIndex();
    return createIndex(node->Parent->Children.indexOf(node), 0, node);
}

QModelIndex ZFileSystemModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    return createIndex(row, column, Node(parent)->Children.at(row));
}

QModelIndex ZFileSystemModel::parent(const QModelIndex& index) const
{
    if (!index.isValid())
        return QModelIndex();
    return IndexOf(Node(index)->Parent);
}

int ZFileSystemModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return Node(parent)->Children.size();
}

int ZFileSystemModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant ZFileSystemModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const FileNode* node = Node(index);
    if (role == Qt::DisplayRole)
        return node->Name;
    if (role == Qt::DecorationRole)
        return m_icons.icon(node->IsDir ? QFileIconProvider::Folder : QFileIconProvider::File);
    return QVariant();  // nothing for the edit role either: the editor starts empty
}

bool ZFileSystemModel::IsPlainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

void ZFileSystemModel::ShowInvalidName(const QString& name)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Invalid filename"),
                    QStringLiteral("<b>The name \"%1\" can not be used.</b><p>Try using another name, with fewer "
                                   "characters or no punctuations marks.")
                        .arg(name.toHtmlEscaped()),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::RichText);
    box.exec();
}

bool ZFileSystemModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    const QString name = value.toString();
    if (name.isEmpty())
        return false;
    FileNode* node = Node(index);
    if (name == node->Name)
        return true;  // nothing to rename
    const QString newPath = node->Parent->Path + QLatin1Char('/') + name;
    const QFileInfo target(newPath);
    // A folder rename could replace an empty folder of that name: refuse any existing target explicitly.
    const bool renamed = IsPlainName(name) && !target.exists() && !target.isSymLink()
        && (node->IsDir ? QDir().rename(node->Path, newPath)
                                            : QFile::rename(node->Path, newPath));
    if (!renamed) {
        ShowInvalidName(name);
        return false;
    }
    node->Name = name;
    node->Path = newPath;
    UpdatePath(node);
    emit dataChanged(index, index, {Qt::DisplayRole});
    emit DataChanged();
    return true;
}

void ZFileSystemModel::UpdatePath(FileNode* node)
{
    for (FileNode* child : qAsConst(node->Children)) {
        child->Path = node->Path + QLatin1Char('/') + child->Name;
        UpdatePath(child);
    }
}

Qt::DropActions ZFileSystemModel::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

Qt::ItemFlags ZFileSystemModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    if (!index.isValid())
        return flags;
    if (Node(index)->IsDir)
        return flags | Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    return flags | Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

bool ZFileSystemModel::IsDir(const QModelIndex& index) const
{
    return Node(index)->IsDir;
}

QString ZFileSystemModel::FilePath(const QModelIndex& index) const
{
    return Node(index)->Path;
}

void ZFileSystemModel::SetRootPath(const QString& path)
{
    m_root.Path = path;
    Reset();
}

void ZFileSystemModel::Scan(FileNode* node, const QString& folder)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())  // an empty path would mean the working folder
        return;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        auto* child = new FileNode;
        child->Parent = node;
        child->Path = entry.filePath();
        child->Name = entry.fileName();
        // A link is a leaf, even to a folder: the tree never follows links, so a loop cannot run away and no
        // book outside the root is shown as a group.
        child->IsDir = entry.isDir() && !entry.isSymLink();
        node->Children.append(child);
        if (child->IsDir)
            Scan(child, child->Path);
    }
}

void ZFileSystemModel::Reset()
{
    beginResetModel();
    qDeleteAll(m_root.Children);
    m_root.Children.clear();
    m_root.IsDir = true;
    Scan(&m_root, m_root.Path);
    endResetModel();
    emit DataChanged();
}

QString ZFileSystemModel::NewName(const FileNode* parent) const
{
    const QString base = parent->Path + QStringLiteral("/New");
    QString candidate = base;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = base + QString::number(n);
    return candidate;
}

QModelIndex ZFileSystemModel::AddNode(const QModelIndex& parent, const QString& name, bool isDir)
{
    FileNode* parentNode = Node(parent);
    if (!parentNode->IsDir || (!name.isEmpty() && !IsPlainName(name)))
        return QModelIndex();
    const QString path = name.isEmpty() ? NewName(parentNode) : parentNode->Path + QLatin1Char('/') + name;
    if (isDir) {
        if (!QDir().mkdir(path))
            return QModelIndex();
    } else {
        // Only a new file: opening an existing book for writing would empty it.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return QModelIndex();
        file.close();
    }
    auto* node = new FileNode;
    node->Parent = parentNode;
    node->Path = path;
    node->Name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    node->IsDir = isDir;
    const int row = parentNode->Children.size();
    beginInsertRows(parent, row, row);
    parentNode->Children.append(node);
    endInsertRows();
    emit DataChanged();
    return createIndex(row, 0, node);
}

QModelIndex ZFileSystemModel::Mkdir(const QModelIndex& parent, const QString& name)
{
    return AddNode(parent, name, true);
}

QModelIndex ZFileSystemModel::NewFile(const QModelIndex& parent, const QString& name)
{
    return AddNode(parent, name, false);
}

bool ZFileSystemModel::Remove(const QModelIndex& index)
{
    if (!index.isValid())
        return false;
    FileNode* node = Node(index);
    // A link is removed itself, never what it points to.
    const bool removed = node->IsDir ? QDir().rmdir(node->Path) : QFile::remove(node->Path);
    if (!removed)
        return false;
    FileNode* parentNode = node->Parent;
    const int row = parentNode->Children.indexOf(node);
    beginRemoveRows(IndexOf(parentNode), row, row);
    parentNode->Children.removeAt(row);
    endRemoveRows();
    delete node;
    emit DataChanged();
    return true;
}
