#pragma once

#include "NVO_Control.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace nvo {

// ---------------------------------------------------------------------------------
// Folder listing: what the folder tree shows of one folder, without a widget.
// ---------------------------------------------------------------------------------

/// What is known about a folder's own visible subfolders (its expand button).
enum class TLookAhead : quint8 { Unknown, Yes, No };

/// One visible subfolder of a listed folder.
struct TSubFolder {
    QString Name;
    TLookAhead HasSubFolders = TLookAhead::Unknown;
};

/// A name the tree never shows: one beginning with "." (hidden, and "." and "..").
NVO_EXPORT bool IsHiddenFolderName(const QString &name);
/// The listing order: the lower-case forms compared by character codes, the exact
/// names as the tie-break, so that the order is total ("A" before "a").
NVO_EXPORT bool FolderNameLess(const QString &a, const QString &b);

/// Reads the visible subfolders of one folder, in slices: the tree reads a folder of
/// 100,000 subfolders in several turns of the event loop instead of blocking in one.
/// Symbolic links to folders count as folders. A folder that cannot be read lists
/// nothing.
class NVO_EXPORT TFolderScan
{
public:
    explicit TFolderScan(const QString &folder);
    ~TFolderScan();
    TFolderScan(const TFolderScan &) = delete;
    TFolderScan &operator=(const TFolderScan &) = delete;

    /// Whether the folder could be opened for reading.
    bool Readable() const;
    /// Reads entries until the folder is exhausted (true) or `deadline` has passed.
    bool ReadUntil(std::chrono::steady_clock::time_point deadline);
    /// Everything read, in the listing order. The look-ahead of each subfolder is
    /// filled in when the folder has at most `lookAheadLimit` of them, else Unknown:
    /// each look-ahead costs a file system call or two, too many for a huge folder.
    std::vector<TSubFolder> Take(size_t lookAheadLimit);

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

/// The visible subfolders of `folder` in the listing order, read in one go.
NVO_EXPORT std::vector<TSubFolder> ListSubFolders(const QString &folder, size_t lookAheadLimit = SIZE_MAX);
/// Whether `folder` has a visible subfolder (the cheap look-ahead behind an expand
/// button); No when it cannot be read.
NVO_EXPORT TLookAhead LookAheadOf(const QString &folder);

/// The pieces of a new folder name as MakeSubFolder takes it ("x/y/" gives x, y), or
/// nothing when the name is refused: empty, absolute, with a character below the
/// blank or one of `"`, `<`, `>`, `|`, with an empty, ".", ".." or hidden piece, or a
/// piece longer than a file name may be. "\\" separates like "/".
NVO_EXPORT std::optional<QStringList> SubFolderPieces(const QString &name);
/// Creates `pieces` below `folder`, missing levels included, and answers whether the
/// last one exists as a folder afterwards. Refuses (creating nothing) when a level
/// that exists already is no folder or resolves, through a symbolic link, to a place
/// outside `folder`; when a level cannot be created, removes the levels it made.
NVO_EXPORT bool CreateSubFolders(const QString &folder, const QStringList &pieces);

// ---------------------------------------------------------------------------------
// The control
// ---------------------------------------------------------------------------------

/// The folder tree of the file system below a root ("/" by default), read lazily:
/// a folder's subfolders are read when its node first opens, and each of them shows
/// an expand button when a cheap look-ahead finds a visible subfolder of its own
/// (folders are listed case-insensitively, the exact name breaking ties; names that
/// begin with "." are never shown). `Directory` is the selected folder's path with a
/// trailing "/". A folder that cannot be read is a leaf; nothing here opens a dialog.
///
/// Opening a node reads its folder in slices of at most 20 ms, one per turn of the
/// event loop (a wait cursor shows meanwhile), so a folder of 100,000 subfolders
/// never freezes the window; the methods that select a path read synchronously, as
/// they must answer at once. Nothing here calls processEvents. The look-ahead of the
/// children of a folder with more than 1,000 subfolders is left open (their buttons
/// show until they are opened): it would cost a stat for each.
///
/// Painting is the tree view's: the ground is `Color` (the palette's Base role by
/// default, the Button role while disabled), the names are drawn in the palette's
/// Text role, the folder icons come from the style. The control caches the nodes it
/// has read until `RefreshTree`, `SelectPath` or `Reset` read the file system again.
///
/// Keyboard and mouse as in any tree view: arrows, Home, End, Page keys, + and -,
/// a click on the button or a double click to open a node.
class NVO_EXPORT TFolderTree : public TTreeControl
{
    Q_OBJECT
    /// The path of the selected folder.
    Q_PROPERTY(QString Directory READ GetDirectory NOTIFY DirectoryChanged USER true)
    /// The ground of the tree.
    Q_PROPERTY(nvo::TColor Color READ GetColor WRITE SetColor)
    /// False shows the tree on the button face and takes no mouse or keys.
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)
    /// Folders open without animation, as older trees did.
    Q_PROPERTY(bool OldTreeStyle READ GetOldTreeStyle WRITE SetOldTreeStyle)
    /// The parts (text, ground, border) that take the application style's colours.
    Q_PROPERTY(nvo::TStyleElements StyleElements READ GetStyleElements WRITE SetStyleElements)

public:
    explicit TFolderTree(QWidget *parent = nullptr);
    ~TFolderTree() override;

    /// The selected folder, ending in "/"; the root until a node is selected.
    QString GetDirectory() const;
    /// The ground of the tree (stored default: the window colour, clWindow). Disabled,
    /// the tree shows the button face instead and gets this colour back when enabled.
    TColor GetColor() const;
    void SetColor(TColor color);
    /// True (stored default): the classic look, nodes opening at once. False: the
    /// newer look, nodes opening with an animation.
    bool GetOldTreeStyle() const;
    void SetOldTreeStyle(bool oldStyle);

    /// The folder the tree starts at, "/" by default (a test puts a temporary folder
    /// there). Setting it resets the tree.
    QString GetRoot() const;
    void SetRoot(const QString &root);

    /// Rebuilds the tree closed at the root; `Directory` becomes the root.
    void Reset();
    /// Opens every level of the absolute folder `path` and selects the deepest.
    /// False, and the tree stays as it was, when `path` is not below the root or one
    /// of its levels is missing, no folder, hidden, "." or "..".
    bool SelectPath(const QString &path);
    /// Reads the tree anew and selects `Directory` again, or its nearest ancestor
    /// that still exists when it has gone. False when not even the root exists.
    bool RefreshTree();
    /// Creates `FolderName` below the selected folder and selects it. Nested names
    /// ("x/y/") make every missing level. False, creating nothing, without a
    /// selection or for a refused name (see SubFolderPieces) or one that would land
    /// outside the selected folder through a symbolic link.
    bool MakeSubFolder(const QString &FolderName);
    /// Removes the selected folder, which must be empty, and selects its parent.
    /// False without a selection, on the root, or when the folder stays.
    bool RemoveSelectedFolder();
    /// Appends the sorted visible subfolders of `path` to `DirList`; true when
    /// `DirList` is then not empty. False when `path` is no folder.
    bool GetSubDirs(const QString &path, QStringList &DirList) const;

    /// The selection moved to another node (whatever its folder).
    TNotifyEvent OnChange;
    /// `Directory` changed.
    TNotifyEvent OnDirChanged;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void DirectoryChanged(const QString &directory);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void changeEvent(QEvent *event) override;

private:
    void NoteDirectoryChange();
    void ApplyGround();
    /// Room for `characters` average characters indented by `levels`, `rows` lines high.
    QSize SizeFor(int characters, int levels, int rows) const;

    struct Private;
    class TFolderModel;
    std::unique_ptr<Private> const d;
};

} // namespace nvo
