#include "NVO_FolderTree.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QStyle>

#include <deque>

#include <algorithm>
#include <climits>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nvo {

namespace {

bool IsHiddenEntry(const char *name) { return name[0] == '.'; }

/// Whether the entry `name` of the open folder `dirFd` is a folder, following a
/// symbolic link. readdir names the type on most file systems, so only links and
/// entries of unknown type cost a stat.
bool IsFolderEntry(int dirFd, const dirent &entry)
{
    if (entry.d_type == DT_DIR)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat info;
    return fstatat(dirFd, entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

/// Whether the open folder `dirFd` holds a visible subfolder; reads until the first.
TLookAhead ScanForSubFolder(int dirFd)
{
    DIR *dir = fdopendir(dirFd);
    if (!dir) {
        close(dirFd);
        return TLookAhead::No;
    }
    TLookAhead found = TLookAhead::No;
    while (const dirent *entry = readdir(dir)) {
        if (!IsHiddenEntry(entry->d_name) && IsFolderEntry(dirfd(dir), *entry)) {
            found = TLookAhead::Yes;
            break;
        }
    }
    closedir(dir);
    return found;
}

/// The look-ahead of the subfolder `name` of the open folder `parentFd`. A folder's
/// link count is 2 plus its subfolders on the usual Linux file systems, so 2 settles
/// "none" with one stat; any other count (more subfolders, which may all be hidden, or
/// 1 from a file system that does not count) needs a look inside.
TLookAhead LookAheadAt(int parentFd, const char *name)
{
    struct stat info;
    if (fstatat(parentFd, name, &info, 0) != 0 || !S_ISDIR(info.st_mode))
        return TLookAhead::No;
    if (info.st_nlink == 2)
        return TLookAhead::No;
    const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd < 0 ? TLookAhead::No : ScanForSubFolder(fd);
}

/// The listing order on names whose lower-case forms `aKey`, `bKey` are made already.
bool KeyedLess(const QString &aKey, const QString &a, const QString &bKey, const QString &b)
{
    const int byKey = QString::compare(aKey, bKey, Qt::CaseSensitive);
    return byKey != 0 ? byKey < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
}

struct TEntry {
    QString Key; // the lower-case form the order compares first
    QString Name;
    QByteArray FileName;
};

} // namespace

bool IsHiddenFolderName(const QString &name) { return name.startsWith(QLatin1Char('.')); }

bool FolderNameLess(const QString &a, const QString &b) { return KeyedLess(a.toLower(), a, b.toLower(), b); }

struct TFolderScan::Private {
    DIR *Dir = nullptr;
    std::vector<TEntry> Entries;
};

TFolderScan::TFolderScan(const QString &folder) : d(std::make_unique<Private>())
{
    d->Dir = opendir(QFile::encodeName(folder).constData());
}

TFolderScan::~TFolderScan()
{
    if (d->Dir)
        closedir(d->Dir);
}

bool TFolderScan::Readable() const { return d->Dir != nullptr; }

bool TFolderScan::ReadUntil(std::chrono::steady_clock::time_point deadline)
{
    if (!d->Dir)
        return true;
    // The clock is read once per batch of entries: a read costs well under a
    // microsecond, the clock about as much.
    constexpr int kBatch = 256;
    for (;;) {
        for (int i = 0; i < kBatch; ++i) {
            const dirent *entry = readdir(d->Dir);
            if (!entry)
                return true;
            if (IsHiddenEntry(entry->d_name) || !IsFolderEntry(dirfd(d->Dir), *entry))
                continue;
            TEntry read;
            read.FileName = QByteArray(entry->d_name);
            read.Name = QFile::decodeName(read.FileName);
            read.Key = read.Name.toLower();
            d->Entries.push_back(std::move(read));
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
    }
}

std::vector<TSubFolder> TFolderScan::Take(size_t lookAheadLimit)
{
    std::vector<TEntry> &entries = d->Entries;
    std::sort(entries.begin(), entries.end(),
              [](const TEntry &a, const TEntry &b) { return KeyedLess(a.Key, a.Name, b.Key, b.Name); });
    const bool lookAhead = d->Dir && entries.size() <= lookAheadLimit;
    std::vector<TSubFolder> folders;
    folders.reserve(entries.size());
    for (TEntry &entry : entries) {
        folders.push_back({std::move(entry.Name),
                           lookAhead ? LookAheadAt(dirfd(d->Dir), entry.FileName.constData())
                                     : TLookAhead::Unknown});
    }
    entries.clear();
    return folders;
}

std::vector<TSubFolder> ListSubFolders(const QString &folder, size_t lookAheadLimit)
{
    TFolderScan scan(folder);
    scan.ReadUntil(std::chrono::steady_clock::time_point::max());
    return scan.Take(lookAheadLimit);
}

TLookAhead LookAheadOf(const QString &folder)
{
    return LookAheadAt(AT_FDCWD, QFile::encodeName(folder).constData());
}

std::optional<QStringList> SubFolderPieces(const QString &name)
{
    static const QString kForbidden = QStringLiteral("\"<>|");
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')))
        return std::nullopt;
    for (const QChar c : name) {
        if (c < QLatin1Char(' ') || kForbidden.contains(c))
            return std::nullopt;
    }
    // A backslash separates as the slash does: the tree's names come from users who
    // type either, and a folder name with a backslash in it only confuses.
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const QStringList pieces = path.split(QLatin1Char('/'));
    for (const QString &piece : pieces) {
        if (piece.isEmpty() || IsHiddenFolderName(piece) || QFile::encodeName(piece).size() > NAME_MAX)
            return std::nullopt;
    }
    return pieces;
}

bool CreateSubFolders(const QString &folder, const QStringList &pieces)
{
    const QString inside = QDir(folder).canonicalPath();
    if (inside.isEmpty() || pieces.isEmpty())
        return false;
    const QString insidePrefix = inside.endsWith(QLatin1Char('/')) ? inside : inside + QLatin1Char('/');
    // First walk the levels that exist: every one must be a folder that stays inside,
    // so that nothing is created when the name is refused.
    QString path = insidePrefix.chopped(1);
    qsizetype existing = 0;
    for (; existing < pieces.size(); ++existing) {
        const QString next = path + QLatin1Char('/') + pieces[existing];
        struct stat info;
        if (lstat(QFile::encodeName(next).constData(), &info) != 0)
            break;
        const QString resolved = QDir(next).canonicalPath();
        if (!QFileInfo(next).isDir() || !resolved.startsWith(insidePrefix))
            return false;
        path = next;
    }
    QStringList made;
    for (qsizetype i = existing; i < pieces.size(); ++i) {
        path += QLatin1Char('/') + pieces[i];
        if (mkdir(QFile::encodeName(path).constData(), 0777) != 0) {
            for (auto it = made.crbegin(); it != made.crend(); ++it)
                rmdir(QFile::encodeName(*it).constData());
            return false;
        }
        made.append(path);
    }
    return true;
}

// ---------------------------------------------------------------------------------
// The control
// ---------------------------------------------------------------------------------

namespace {

/// Longest time one turn of the event loop spends reading a folder.
constexpr auto kReadSlice = std::chrono::milliseconds(20);
/// Most subfolders whose look-ahead is read with their folder.
constexpr size_t kLookAheadLimit = 1000;

/// Shows the wait cursor for as long as it lives, so that no path out of a read
/// (an early return, an exception, a read cancelled by a rebuild) leaves it on.
class TWaitCursor
{
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};

/// One folder of the tree. The root's name is the root path itself.
struct TFolderNode {
    QString Name;
    TFolderNode *Parent = nullptr;
    int Row = 0;
    TLookAhead HasSubFolders = TLookAhead::Unknown;
    bool Read = false;
    bool Reading = false;
    std::vector<std::unique_ptr<TFolderNode>> Children;
};

QString WithSlash(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

/// The pieces of the absolute folder `path` below `root`; nothing when `path` is not
/// at or below `root` or one of its pieces is ".", ".." or hidden. Repeated slashes
/// count as one, as Linux reads them.
std::optional<QStringList> PiecesBelowRoot(const QString &root, const QString &path)
{
    const QString rootSlash = WithSlash(root);
    const QString pathSlash = WithSlash(path);
    if (!pathSlash.startsWith(rootSlash))
        return std::nullopt;
    const QStringList pieces = pathSlash.mid(rootSlash.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &piece : pieces) {
        if (IsHiddenFolderName(piece))
            return std::nullopt;
    }
    return pieces;
}

} // namespace

// A QTreeView over a model of our own rather than a QTreeWidget: a folder of 100,000
// subfolders then costs one small node each and a single row insertion, where a
// QTreeWidget would build 100,000 QTreeWidgetItems with a QVariant per column each;
// the model also answers the expand button from the cached look-ahead without
// placeholder children, and reads lazily through canFetchMore/fetchMore.
class TFolderTree::TFolderModel : public QAbstractItemModel
{
public:
    explicit TFolderModel(QWidget *tree) : QAbstractItemModel(tree), FTree(tree) { TakeIcons(); }

    void TakeIcons()
    {
        FFolderIcon = FTree->style()->standardIcon(QStyle::SP_DirIcon, nullptr, FTree);
        FRootIcon = FTree->style()->standardIcon(QStyle::SP_DriveHDIcon, nullptr, FTree);
    }

    /// Forgets every node and pending read; the tree is then the root alone.
    void Rebuild(const QString &root)
    {
        beginResetModel();
        FReads.clear();
        FRoot = std::make_unique<TFolderNode>();
        FRoot->Name = root;
        FRoot->HasSubFolders = LookAheadOf(root);
        endResetModel();
    }

    TFolderNode *Root() const { return FRoot.get(); }
    TFolderNode *NodeOf(const QModelIndex &index) const
    {
        return index.isValid() ? static_cast<TFolderNode *>(index.internalPointer()) : nullptr;
    }
    QModelIndex IndexOf(const TFolderNode *node) const
    {
        return createIndex(node->Row, 0, const_cast<TFolderNode *>(node));
    }
    /// The full path of `node`, ending in "/".
    QString PathOf(const TFolderNode *node) const
    {
        QStringList pieces;
        for (; node->Parent; node = node->Parent)
            pieces.prepend(node->Name);
        pieces.prepend(node->Name == QLatin1String("/") ? QString() : node->Name);
        return WithSlash(pieces.join(QLatin1Char('/')));
    }
    /// The child of `node` named `name`, once `node` is read.
    TFolderNode *Child(const TFolderNode *node, const QString &name) const
    {
        const auto found = std::lower_bound(node->Children.begin(), node->Children.end(), name,
                                            [](const auto &child, const QString &n) {
                                                return FolderNameLess(child->Name, n);
                                            });
        return found != node->Children.end() && (*found)->Name == name ? found->get() : nullptr;
    }

    /// Reads `node`'s folder at once, finishing a sliced read already under way.
    void ReadNow(TFolderNode *node)
    {
        if (node->Read)
            return;
        const TWaitCursor wait;
        std::unique_ptr<TFolderScan> scan;
        const auto pending = std::find_if(FReads.begin(), FReads.end(),
                                          [node](const auto &read) { return read->Node == node; });
        if (pending != FReads.end()) {
            scan = std::move((*pending)->Scan);
            FReads.erase(pending);
        } else {
            scan = std::make_unique<TFolderScan>(PathOf(node));
        }
        scan->ReadUntil(std::chrono::steady_clock::time_point::max());
        Insert(node, scan->Take(kLookAheadLimit));
    }

    QModelIndex index(int row, int column, const QModelIndex &parent) const override
    {
        const TFolderNode *node = NodeOf(parent);
        if (column != 0 || row < 0)
            return {};
        if (!node)
            return row == 0 && FRoot ? IndexOf(FRoot.get()) : QModelIndex();
        return size_t(row) < node->Children.size() ? IndexOf(node->Children[size_t(row)].get()) : QModelIndex();
    }
    QModelIndex parent(const QModelIndex &child) const override
    {
        const TFolderNode *node = NodeOf(child);
        return node && node->Parent ? IndexOf(node->Parent) : QModelIndex();
    }
    int rowCount(const QModelIndex &parent) const override
    {
        const TFolderNode *node = NodeOf(parent);
        if (!node)
            return FRoot ? 1 : 0;
        return int(node->Children.size());
    }
    int columnCount(const QModelIndex &) const override { return 1; }
    bool hasChildren(const QModelIndex &parent) const override
    {
        const TFolderNode *node = NodeOf(parent);
        if (!node)
            return bool(FRoot);
        return node->Read ? !node->Children.empty() : node->HasSubFolders != TLookAhead::No;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const TFolderNode *node = NodeOf(index);
        if (!node)
            return {};
        switch (role) {
        case Qt::DisplayRole: return node->Name;
        case Qt::DecorationRole: return node->Parent ? FFolderIcon : FRootIcon;
        case Qt::ToolTipRole: return PathOf(node);
        default: return {};
        }
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }
    bool canFetchMore(const QModelIndex &parent) const override
    {
        const TFolderNode *node = NodeOf(parent);
        return node && !node->Read && !node->Reading && node->HasSubFolders != TLookAhead::No;
    }
    void fetchMore(const QModelIndex &parent) override
    {
        if (!canFetchMore(parent))
            return;
        TFolderNode *node = NodeOf(parent);
        node->Reading = true;
        auto read = std::make_unique<TPendingRead>();
        read->Node = node;
        read->Scan = std::make_unique<TFolderScan>(PathOf(node));
        FReads.push_back(std::move(read));
        ContinueReads();
    }

private:
    struct TPendingRead {
        TFolderNode *Node = nullptr;
        std::unique_ptr<TFolderScan> Scan;
        TWaitCursor Wait;
    };

    /// One slice of the pending reads; queues the next slice when some are left.
    void ContinueReads()
    {
        const auto deadline = std::chrono::steady_clock::now() + kReadSlice;
        while (!FReads.empty() && FReads.front()->Scan->ReadUntil(deadline)) {
            const std::unique_ptr<TPendingRead> done = std::move(FReads.front());
            FReads.pop_front();
            Insert(done->Node, done->Scan->Take(kLookAheadLimit));
            if (std::chrono::steady_clock::now() >= deadline)
                break;
        }
        if (!FReads.empty() && !FContinueQueued) {
            FContinueQueued = true;
            QTimer::singleShot(0, this, [this] {
                FContinueQueued = false;
                ContinueReads();
            });
        }
    }

    void Insert(TFolderNode *node, std::vector<TSubFolder> folders)
    {
        node->Reading = false;
        node->HasSubFolders = folders.empty() ? TLookAhead::No : TLookAhead::Yes;
        if (folders.empty()) {
            node->Read = true;
            const QModelIndex index = IndexOf(node);
            Q_EMIT dataChanged(index, index);
            return;
        }
        beginInsertRows(IndexOf(node), 0, int(folders.size()) - 1);
        node->Children.reserve(folders.size());
        for (TSubFolder &folder : folders) {
            auto child = std::make_unique<TFolderNode>();
            child->Name = std::move(folder.Name);
            child->Parent = node;
            child->Row = int(node->Children.size());
            child->HasSubFolders = folder.HasSubFolders;
            node->Children.push_back(std::move(child));
        }
        node->Read = true;
        endInsertRows();
    }

    QWidget *FTree;
    QIcon FFolderIcon;
    QIcon FRootIcon;
    std::unique_ptr<TFolderNode> FRoot;
    std::deque<std::unique_ptr<TPendingRead>> FReads;
    bool FContinueQueued = false;
};

struct TFolderTree::Private {
    TFolderModel *Model = nullptr;
    QString FRootPath = QStringLiteral("/");
    QString FDirectory;
    TColor FColorBak = clr::Window;
    bool FUseOldStyle = true;

    TFolderNode *Selected(const TFolderTree &tree) const { return Model->NodeOf(tree.currentIndex()); }
};

TFolderTree::TFolderTree(QWidget *parent) : TTreeControl(parent), d(std::make_unique<Private>())
{
    d->Model = new TFolderModel(this);
    setModel(d->Model);
    setHeaderHidden(true);
    // Equal rows let the view lay out 100,000 children without asking each its size.
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAccessibleName(tr("Folder tree"));
    Reset();
}

TFolderTree::~TFolderTree() = default;

QString TFolderTree::GetDirectory() const { return d->FDirectory; }

TColor TFolderTree::GetColor() const { return d->FColorBak; }

void TFolderTree::SetColor(TColor color)
{
    if (color == d->FColorBak)
        return;
    d->FColorBak = color;
    ApplyGround();
}

bool TFolderTree::GetOldTreeStyle() const { return d->FUseOldStyle; }

void TFolderTree::SetOldTreeStyle(bool oldStyle)
{
    d->FUseOldStyle = oldStyle;
    setAnimated(!oldStyle);
}

QString TFolderTree::GetRoot() const { return d->FRootPath; }

void TFolderTree::SetRoot(const QString &root)
{
    const QString cleaned = QDir::cleanPath(QDir(root).absolutePath());
    if (cleaned == d->FRootPath)
        return;
    d->FRootPath = cleaned;
    Reset();
}

void TFolderTree::Reset()
{
    const QString old = d->FDirectory;
    d->Model->Rebuild(d->FRootPath);
    d->FDirectory = WithSlash(d->FRootPath);
    if (d->FDirectory != old)
        NoteDirectoryChange();
}

bool TFolderTree::SelectPath(const QString &path)
{
    const std::optional<QStringList> pieces = PiecesBelowRoot(d->FRootPath, path);
    if (!pieces)
        return false;
    // Check the whole path before touching the tree, which stays as it was on failure.
    QString walked = WithSlash(d->FRootPath);
    if (!QFileInfo(walked).isDir())
        return false;
    for (const QString &piece : *pieces) {
        walked += piece + QLatin1Char('/');
        if (!QFileInfo(walked).isDir())
            return false;
    }
    d->Model->Rebuild(d->FRootPath);
    TFolderNode *node = d->Model->Root();
    d->Model->ReadNow(node);
    expand(d->Model->IndexOf(node));
    for (const QString &piece : *pieces) {
        node = d->Model->Child(node, piece);
        if (!node) // vanished between the check and the read
            return false;
        d->Model->ReadNow(node);
        expand(d->Model->IndexOf(node));
    }
    setCurrentIndex(d->Model->IndexOf(node));
    setFocus();
    return true;
}

bool TFolderTree::RefreshTree()
{
    // The candidates are the selected folder and its ancestors up to the root: a
    // bounded list, so folders that vanish or appear meanwhile cannot keep it going.
    const QStringList pieces = PiecesBelowRoot(d->FRootPath, d->FDirectory).value_or(QStringList());
    for (qsizetype depth = pieces.size(); depth >= 0; --depth) {
        if (SelectPath(WithSlash(d->FRootPath) + pieces.first(depth).join(QLatin1Char('/'))))
            return true;
    }
    d->Model->Rebuild(d->FRootPath);
    return false;
}

bool TFolderTree::MakeSubFolder(const QString &FolderName)
{
    const TFolderNode *selected = d->Selected(*this);
    if (!selected)
        return false;
    const std::optional<QStringList> pieces = SubFolderPieces(FolderName);
    const QString folder = d->Model->PathOf(selected);
    if (!pieces || !CreateSubFolders(folder, *pieces))
        return false;
    return SelectPath(folder + pieces->join(QLatin1Char('/')));
}

bool TFolderTree::RemoveSelectedFolder()
{
    const TFolderNode *selected = d->Selected(*this);
    if (!selected || !selected->Parent)
        return false;
    const QString parentPath = d->Model->PathOf(selected->Parent);
    if (rmdir(QFile::encodeName(d->Model->PathOf(selected)).constData()) != 0)
        return false;
    SelectPath(parentPath);
    return true;
}

bool TFolderTree::GetSubDirs(const QString &path, QStringList &DirList) const
{
    if (!QFileInfo(path).isDir())
        return false;
    for (const TSubFolder &folder : ListSubFolders(path, 0))
        DirList << folder.Name;
    return !DirList.isEmpty();
}

QSize TFolderTree::sizeHint() const
{
    // Room for a few levels of folder names of common length, a dozen rows deep.
    const QFontMetrics metrics = fontMetrics();
    const int frame = 2 * frameWidth();
    return {metrics.averageCharWidth() * 24 + 3 * indentation() + frame, metrics.height() * 14 + frame};
}

QSize TFolderTree::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int frame = 2 * frameWidth();
    return {metrics.averageCharWidth() * 10 + indentation() + frame, metrics.height() * 4 + frame};
}

void TFolderTree::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    TTreeControl::currentChanged(current, previous);
    // A rebuild clears the current node on its way to selecting the next: Directory
    // keeps its value until a node is selected again.
    const TFolderNode *node = d->Model->NodeOf(current);
    if (!node)
        return;
    const QString old = d->FDirectory;
    d->FDirectory = d->Model->PathOf(node);
    if (OnChange)
        OnChange(this);
    if (d->FDirectory != old)
        NoteDirectoryChange();
}

void TFolderTree::changeEvent(QEvent *event)
{
    TTreeControl::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
    case QEvent::PaletteChange: ApplyGround(); break;
    case QEvent::StyleChange: d->Model->TakeIcons(); break;
    default: break;
    }
}

void TFolderTree::NoteDirectoryChange()
{
    if (OnDirChanged)
        OnDirChanged(this);
    Q_EMIT DirectoryChanged(d->FDirectory);
}

void TFolderTree::ApplyGround()
{
    // The ground is set on the viewport, so the tree's own palette stays inherited
    // and a palette change of the application still reaches the system colours.
    QPalette ground = viewport()->palette();
    ground.setColor(QPalette::Base, ToQColor(isEnabled() ? d->FColorBak : clr::BtnFace, palette()));
    viewport()->setPalette(ground);
}

} // namespace nvo
