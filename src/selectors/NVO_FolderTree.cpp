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
};

bool EntryLess(const TEntry &a, const TEntry &b) { return KeyedLess(a.Key, a.Name, b.Key, b.Name); }

} // namespace

bool IsHiddenFolderName(const QString &name) { return name.startsWith(QLatin1Char('.')); }

bool FolderNameLess(const QString &a, const QString &b) { return KeyedLess(a.toLower(), a, b.toLower(), b); }

// Each slice sorts what it read, and Take merges the sorted runs: the sorting is
// spread over the slices instead of falling into the one turn that shows the rows.
struct TFolderScan::Private {
    DIR *Dir = nullptr;
    std::vector<TEntry> Entries;
    std::vector<size_t> RunEnds;

    void EndRun()
    {
        const size_t start = RunEnds.empty() ? 0 : RunEnds.back();
        if (start == Entries.size())
            return;
        std::sort(Entries.begin() + ptrdiff_t(start), Entries.end(), EntryLess);
        RunEnds.push_back(Entries.size());
    }
    /// Merges neighbouring runs pairwise until one is left.
    void MergeRuns()
    {
        while (RunEnds.size() > 1) {
            std::vector<size_t> merged;
            size_t start = 0;
            for (size_t i = 0; i < RunEnds.size(); i += 2) {
                if (i + 1 < RunEnds.size()) {
                    std::inplace_merge(Entries.begin() + ptrdiff_t(start), Entries.begin() + ptrdiff_t(RunEnds[i]),
                                       Entries.begin() + ptrdiff_t(RunEnds[i + 1]), EntryLess);
                }
                start = RunEnds[std::min(i + 1, RunEnds.size() - 1)];
                merged.push_back(start);
            }
            RunEnds = std::move(merged);
        }
    }
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
            if (!entry) {
                d->EndRun();
                return true;
            }
            if (IsHiddenEntry(entry->d_name) || !IsFolderEntry(dirfd(d->Dir), *entry))
                continue;
            QString name = QFile::decodeName(entry->d_name);
            QString key = name.toLower();
            d->Entries.push_back({std::move(key), std::move(name)});
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            d->EndRun();
            return false;
        }
    }
}

std::vector<TSubFolder> TFolderScan::Take(size_t lookAheadLimit)
{
    d->MergeRuns();
    std::vector<TEntry> &entries = d->Entries;
    const bool lookAhead = d->Dir && entries.size() <= lookAheadLimit;
    std::vector<TSubFolder> folders;
    folders.reserve(entries.size());
    for (TEntry &entry : entries) {
        const TLookAhead has = lookAhead ? LookAheadAt(dirfd(d->Dir), QFile::encodeName(entry.Name).constData())
                                         : TLookAhead::Unknown;
        folders.push_back({std::move(entry.Name), has});
    }
    entries.clear();
    d->RunEnds.clear();
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
    /// Reserved in full before the first child is made, so children never move: the
    /// model's indexes point at them. Only the first `Shown` are rows of the model.
    std::vector<TFolderNode> Children;
    int Shown = 0;
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
    void SetForeground(const QVariant &brush) { FForeground = brush; }

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
                                            [](const TFolderNode &child, const QString &n) {
                                                return FolderNameLess(child.Name, n);
                                            });
        return found != node->Children.end() && found->Name == name ? const_cast<TFolderNode *>(&*found) : nullptr;
    }

    /// Reads `node`'s folder at once, finishing a sliced read already under way.
    void ReadNow(TFolderNode *node)
    {
        if (node->Read)
            return;
        const auto pending = std::find_if(FReads.begin(), FReads.end(),
                                          [node](const auto &read) { return read->Node == node; });
        if (pending == FReads.end()) {
            TPendingRead read(node, PathOf(node));
            Advance(read, std::chrono::steady_clock::time_point::max());
        } else {
            Advance(**pending, std::chrono::steady_clock::time_point::max());
            FReads.erase(pending);
        }
    }

    QModelIndex index(int row, int column, const QModelIndex &parent) const override
    {
        const TFolderNode *node = NodeOf(parent);
        if (column != 0 || row < 0)
            return {};
        if (!node)
            return row == 0 && FRoot ? IndexOf(FRoot.get()) : QModelIndex();
        return row < node->Shown ? IndexOf(&node->Children[size_t(row)]) : QModelIndex();
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
        return node->Shown;
    }
    int columnCount(const QModelIndex &) const override { return 1; }
    bool hasChildren(const QModelIndex &parent) const override
    {
        const TFolderNode *node = NodeOf(parent);
        if (!node)
            return bool(FRoot);
        return node->Read ? node->Shown > 0 : node->HasSubFolders != TLookAhead::No;
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
        case Qt::ForegroundRole: return FForeground;
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
        FReads.push_back(std::make_unique<TPendingRead>(node, PathOf(node)));
        ContinueReads();
    }

private:
    /// A folder being read, then its rows being added, over turns of the event loop.
    struct TPendingRead {
        TPendingRead(TFolderNode *node, const QString &path) : Node(node), Scan(path) {}
        TFolderNode *Node;
        TFolderScan Scan;
        bool Listed = false;
        std::vector<TSubFolder> Folders;
        size_t Added = 0;
        TWaitCursor Wait;
    };

    /// One slice of the pending reads; queues the next slice when some are left.
    void ContinueReads()
    {
        const auto deadline = std::chrono::steady_clock::now() + kReadSlice;
        while (!FReads.empty() && Advance(*FReads.front(), deadline))
            FReads.pop_front();
        if (!FReads.empty() && !FContinueQueued) {
            FContinueQueued = true;
            QTimer::singleShot(0, this, [this] {
                FContinueQueued = false;
                ContinueReads();
            });
        }
    }

    /// Reads and makes nodes until `read` is done (true) or `deadline` has passed.
    /// The nodes are made a chunk per turn and become rows in one insertion at the
    /// end: the view lays out its rows anew after each insertion, so one is cheapest.
    bool Advance(TPendingRead &read, std::chrono::steady_clock::time_point deadline)
    {
        constexpr size_t kChunk = 20'000;
        TFolderNode &node = *read.Node;
        if (!read.Listed) {
            if (!read.Scan.ReadUntil(deadline))
                return false;
            read.Folders = read.Scan.Take(kLookAheadLimit);
            read.Listed = true;
            node.Children.reserve(read.Folders.size());
        }
        while (node.Children.size() < read.Folders.size()) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            const size_t end = std::min(read.Folders.size(), node.Children.size() + kChunk);
            for (size_t row = node.Children.size(); row < end; ++row) {
                TFolderNode &child = node.Children.emplace_back();
                child.Name = std::move(read.Folders[row].Name);
                child.Parent = &node;
                child.Row = int(row);
                child.HasSubFolders = read.Folders[row].HasSubFolders;
            }
        }
        node.Reading = false;
        node.Read = true;
        node.HasSubFolders = node.Children.empty() ? TLookAhead::No : TLookAhead::Yes;
        const QModelIndex index = IndexOf(&node);
        if (node.Children.empty()) {
            Q_EMIT dataChanged(index, index);
            return true;
        }
        beginInsertRows(index, 0, int(node.Children.size()) - 1);
        node.Shown = int(node.Children.size());
        endInsertRows();
        return true;
    }

    QWidget *FTree;
    QIcon FFolderIcon;
    /// The names' colour when the palette's text would not stand out on the tree's
    /// own ground; invalid when it does.
    QVariant FForeground;
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
    ApplyGround();
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
    PaintNow();
}

bool TFolderTree::GetOldTreeStyle() const { return d->FUseOldStyle; }

void TFolderTree::SetOldTreeStyle(bool oldStyle)
{
    if (oldStyle == d->FUseOldStyle)
        return;
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
    return SizeFor(24, 3, 14);
}

QSize TFolderTree::minimumSizeHint() const { return SizeFor(10, 1, 4); }

QSize TFolderTree::SizeFor(int characters, int levels, int rows) const
{
    const QFontMetrics metrics = fontMetrics();
    const int frame = 2 * frameWidth();
    return {metrics.averageCharWidth() * characters + levels * indentation() + frame, metrics.height() * rows + frame};
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
    const TColor groundColor = isEnabled() ? d->FColorBak : clr::BtnFace;
    ground.setColor(QPalette::Base, ToQColor(groundColor, palette()));
    viewport()->setPalette(ground);
    // A fixed ground under the palette's text (a light colour under a dark palette)
    // takes black or white names instead.
    const TColor text = ReadableTextColor(clr::WindowText, groundColor, palette());
    d->Model->SetForeground(text == clr::WindowText ? QVariant() : QVariant(QBrush(ToQColor(text, palette()))));
    viewport()->update();
}

} // namespace nvo
