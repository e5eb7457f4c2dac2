#include "EventRecorder.h"
#include "NVO_FolderTree.h"
#include "TempDir.h"

#include <QtCore/QDir>
#include <QtCore/QDirIterator>
#include <QtCore/QFile>
#include <QtGui/QAccessible>
#include <QtGui/QGuiApplication>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <chrono>

using namespace nvo;
using namespace nvo::test;

namespace {

/// A temporary folder tree made of relative paths: "a/b/" makes folders, "a/f" a file.
class FolderTreeFiles
{
public:
    explicit FolderTreeFiles(const QStringList &paths = {})
    {
        for (const QString &path : paths)
            Add(path);
    }
    void Add(const QString &path) const
    {
        QDir().mkpath(QFileInfo(Path(path)).path());
        if (path.endsWith(QLatin1Char('/')))
            QDir().mkpath(Path(path));
        else
            FDir.Write(path, "x");
    }
    QString Path(const QString &relative = {}) const
    {
        return relative.isEmpty() ? FDir.Root() : FDir.Path(relative);
    }
    bool Exists(const QString &relative) const { return QFileInfo::exists(Path(relative)); }

private:
    TempDir FDir;
};

QStringList Names(const std::vector<TSubFolder> &folders)
{
    QStringList names;
    for (const TSubFolder &folder : folders)
        names << folder.Name;
    return names;
}

TEST(FolderListing, SortsCaseInsensitivelyWithTheExactNameAsTieBreak)
{
    const FolderTreeFiles files({"b/", "A/", "c/", "a/", "B/", "_x/"});
    EXPECT_EQ(Names(ListSubFolders(files.Path())), QStringList({"_x", "A", "a", "B", "b", "c"}));
    EXPECT_TRUE(FolderNameLess("A", "b"));
    EXPECT_TRUE(FolderNameLess("A", "a"));
    EXPECT_FALSE(FolderNameLess("b", "A"));
}

TEST(FolderListing, ShowsVisibleFoldersAndFolderLinksOnly)
{
    const FolderTreeFiles files({".hidden/", "file", "shown/", "target/"});
    QFile::link(files.Path("target"), files.Path("link"));
    QFile::link(files.Path("file"), files.Path("filelink"));
    EXPECT_EQ(Names(ListSubFolders(files.Path())), QStringList({"link", "shown", "target"}));
}

TEST(FolderListing, LooksAheadForVisibleSubfolders)
{
    const FolderTreeFiles files({"empty/", "onlyhidden/.h/", "onlyfiles/f", "deep/x/", "manyhidden/.a/",
                                 "manyhidden/.b/"});
    const struct {
        const char *Name;
        TLookAhead Expected;
    } cases[] = {
        {"deep", TLookAhead::Yes},       {"empty", TLookAhead::No},      {"manyhidden", TLookAhead::No},
        {"onlyfiles", TLookAhead::No},   {"onlyhidden", TLookAhead::No},
    };
    const std::vector<TSubFolder> listed = ListSubFolders(files.Path());
    ASSERT_EQ(listed.size(), std::size(cases));
    for (size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(listed[i].Name, cases[i].Name);
        EXPECT_EQ(listed[i].HasSubFolders, cases[i].Expected) << cases[i].Name;
        EXPECT_EQ(LookAheadOf(files.Path(cases[i].Name)), cases[i].Expected) << cases[i].Name;
    }
}

TEST(FolderListing, LeavesTheLookAheadOfAHugeFolderUnknown)
{
    const FolderTreeFiles files({"a/x/", "b/"});
    for (const TSubFolder &folder : ListSubFolders(files.Path(), 1))
        EXPECT_EQ(folder.HasSubFolders, TLookAhead::Unknown);
}

TEST(FolderListing, AFolderThatCannotBeReadListsNothing)
{
    const FolderTreeFiles files;
    TFolderScan scan(files.Path("gone"));
    EXPECT_FALSE(scan.Readable());
    EXPECT_TRUE(scan.ReadUntil(std::chrono::steady_clock::now()));
    EXPECT_TRUE(scan.Take(SIZE_MAX).empty());
    EXPECT_EQ(LookAheadOf(files.Path("gone")), TLookAhead::No);
}

TEST(FolderListing, ReadsInSlicesWithTheSameResult)
{
    const FolderTreeFiles files;
    for (int i = 0; i < 600; ++i)
        files.Add(QStringLiteral("f%1/").arg(i));
    TFolderScan scan(files.Path());
    int slices = 1;
    while (!scan.ReadUntil(std::chrono::steady_clock::now()))
        ++slices;
    EXPECT_GE(slices, 2);
    EXPECT_EQ(Names(scan.Take(SIZE_MAX)), Names(ListSubFolders(files.Path())));
}

TEST(FolderListing, TakesNestedNewFolderNamesAndRefusesTheRest)
{
    const struct {
        const char *Name;
        QStringList Expected; // empty: refused
    } cases[] = {
        {"x", {"x"}},
        {"x/y/", {"x", "y"}},
        {"x\\y", {"x", "y"}},
        {"x/y//", {"x", "y"}},
        {"new folder", {"new folder"}},
        {"", {}},
        {"/", {}},
        {"/etc", {}},
        {"\\x", {}},
        {"x//y", {}},
        {"..", {}},
        {"x/../..", {}},
        {"x/./y", {}},
        {".hidden", {}},
        {"a|b", {}},
        {"a<b", {}},
        {"a>b", {}},
        {"a\"b", {}},
        {"a\tb", {}},
        {"a\nb", {}},
    };
    for (const auto &c : cases) {
        const std::optional<QStringList> pieces = SubFolderPieces(QString::fromUtf8(c.Name));
        if (c.Expected.isEmpty())
            EXPECT_FALSE(pieces) << c.Name;
        else
            EXPECT_EQ(pieces.value_or(QStringList{"refused"}), c.Expected) << c.Name;
    }
    EXPECT_FALSE(SubFolderPieces(QString(NAME_MAX + 1, QLatin1Char('n'))));
    EXPECT_TRUE(SubFolderPieces(QString(NAME_MAX, QLatin1Char('n'))));
}

TEST(FolderListing, CreatesMissingLevelsInsideTheFolderOnly)
{
    const FolderTreeFiles files({"sel/old/", "sel/file", "outside/"});
    QFile::link(files.Path("outside"), files.Path("sel/escape"));
    QFile::link(files.Path("sel/old"), files.Path("sel/inner"));
    const QString sel = files.Path("sel");

    EXPECT_TRUE(CreateSubFolders(sel, {"x", "y"}));
    EXPECT_TRUE(QFileInfo(files.Path("sel/x/y")).isDir());
    EXPECT_TRUE(CreateSubFolders(sel, {"old", "z"}));
    EXPECT_TRUE(CreateSubFolders(sel, {"inner", "w"}));
    EXPECT_TRUE(QFileInfo(files.Path("sel/old/w")).isDir());

    EXPECT_FALSE(CreateSubFolders(sel, {"escape", "y"}));
    EXPECT_FALSE(files.Exists("outside/y"));
    EXPECT_FALSE(CreateSubFolders(sel, {"file", "y"}));
    EXPECT_FALSE(CreateSubFolders(files.Path("missing"), {"y"}));
}

TEST(FolderListing, RemovesWhatItMadeWhenALevelCannotBeCreated)
{
    const FolderTreeFiles files({"sel/"});
    // A piece that the file system refuses: longer than a file name may be.
    const QString tooLong(NAME_MAX + 1, QLatin1Char('n'));
    EXPECT_FALSE(CreateSubFolders(files.Path("sel"), {"a", "b", tooLong}));
    EXPECT_FALSE(files.Exists("sel/a"));
}

// ---------------------------------------------------------------------------------
// The control
// ---------------------------------------------------------------------------------

/// A tree over a temporary folder tree: A, b (empty), c with x and a hidden .y,
/// and a hidden .h at the top.
class FolderTreeTest : public ::testing::Test
{
protected:
    FolderTreeTest() : Files({"b/", "A/f", "c/x/", "c/.y/", ".h/"})
    {
        Tree.SetRoot(Files.Path());
        Tree.resize(240, 320);
    }

    QString Root() const { return Files.Path() + QLatin1Char('/'); }
    QString Folder(const QString &relative) const { return Root() + relative + QLatin1Char('/'); }
    QModelIndex RootIndex() const { return Tree.model()->index(0, 0, {}); }
    /// The names of the rows under `parent`.
    QStringList Rows(const QModelIndex &parent) const
    {
        QStringList names;
        for (int row = 0; row < Tree.model()->rowCount(parent); ++row)
            names << Tree.model()->index(row, 0, parent).data().toString();
        return names;
    }
    QModelIndex Row(const QModelIndex &parent, const QString &name) const
    {
        const QStringList names = Rows(parent);
        return Tree.model()->index(int(names.indexOf(name)), 0, parent);
    }
    /// The files below the temporary root, as relative paths, to see that nothing was made.
    QStringList Everything() const
    {
        QStringList all;
        QDirIterator it(Files.Path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            all << it.next().mid(Files.Path().size());
        all.sort();
        return all;
    }

    FolderTreeFiles Files;
    TFolderTree Tree;
};

TEST_F(FolderTreeTest, StartsClosedAtTheRoot)
{
    EXPECT_EQ(Tree.GetDirectory(), Root());
    EXPECT_EQ(Tree.model()->rowCount({}), 1);
    EXPECT_EQ(RootIndex().data().toString(), Files.Path());
    EXPECT_TRUE(Tree.model()->hasChildren(RootIndex()));
    EXPECT_EQ(Tree.model()->rowCount(RootIndex()), 0);
    EXPECT_FALSE(Tree.isExpanded(RootIndex()));
}

TEST_F(FolderTreeTest, OpensANodeWithTheKeysAndShowsButtonsFromTheLookAhead)
{
    Tree.show();
    Tree.setCurrentIndex(RootIndex());
    QTest::keyClick(&Tree, Qt::Key_Right);
    QTRY_COMPARE(Rows(RootIndex()), QStringList({"A", "b", "c"}));
    EXPECT_TRUE(Tree.isExpanded(RootIndex()));
    EXPECT_FALSE(Tree.model()->hasChildren(Row(RootIndex(), "A")));
    EXPECT_FALSE(Tree.model()->hasChildren(Row(RootIndex(), "b")));
    EXPECT_TRUE(Tree.model()->hasChildren(Row(RootIndex(), "c")));
    Tree.setCurrentIndex(Row(RootIndex(), "c"));
    QTest::keyClick(&Tree, Qt::Key_Right);
    QTRY_COMPARE(Rows(Row(RootIndex(), "c")), QStringList({"x"}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(FolderTreeTest, ReadsAHugeFolderInSlicesLeavingTheLookAheadOpen)
{
    for (int i = 0; i < 1500; ++i)
        Files.Add(QStringLiteral("b/n%1/").arg(i, 4, 10, QLatin1Char('0')));
    ASSERT_TRUE(Tree.SelectPath(Folder("b")));
    const QModelIndex b = Tree.currentIndex();
    EXPECT_EQ(Tree.model()->rowCount(b), 1500);
    // Unknown look-ahead shows the button; opening the empty folder takes it away.
    const QModelIndex first = Tree.model()->index(0, 0, b);
    EXPECT_TRUE(Tree.model()->hasChildren(first));
    Tree.expand(first);
    QTRY_VERIFY(!Tree.model()->hasChildren(first));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(FolderTreeTest, SelectsAPathOrLeavesTheTreeAsItWas)
{
    ASSERT_TRUE(Tree.SelectPath(Folder("c/x")));
    EXPECT_EQ(Tree.GetDirectory(), Folder("c/x"));
    EXPECT_EQ(Tree.currentIndex().data().toString(), "x");
    EXPECT_TRUE(Tree.isExpanded(RootIndex()));
    EXPECT_TRUE(Tree.isExpanded(Row(RootIndex(), "c")));
    EXPECT_TRUE(Tree.SelectPath(Root() + "c//x"));
    EXPECT_TRUE(Tree.SelectPath(Files.Path()));
    EXPECT_EQ(Tree.GetDirectory(), Root());
    ASSERT_TRUE(Tree.SelectPath(Folder("c/x")));

    const QString refused[] = {Folder("missing"), Folder("c/.y"), Folder(".h"), Folder("c/x/.."),
                               Folder("c/../b"), Folder("A/f"), "/", "relative", ""};
    for (const QString &path : refused) {
        EXPECT_FALSE(Tree.SelectPath(path)) << path.toStdString();
        EXPECT_EQ(Tree.GetDirectory(), Folder("c/x")) << path.toStdString();
        EXPECT_EQ(Tree.currentIndex().data().toString(), "x") << path.toStdString();
        EXPECT_TRUE(Tree.isExpanded(Row(RootIndex(), "c"))) << path.toStdString();
    }
}

TEST_F(FolderTreeTest, FiresOnChangeAndOnDirChangedWhenTheSelectionMoves)
{
    Tree.show();
    EventRecorder events;
    Tree.OnChange = events.Recorder("OnChange");
    Tree.OnDirChanged = events.Recorder("OnDirChanged");
    QSignalSpy changed(&Tree, &TFolderTree::DirectoryChanged);
    ASSERT_TRUE(Tree.SelectPath(Folder("b")));
    EXPECT_EQ(events.Events(), QStringList({"OnChange", "OnDirChanged"}));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().value(0).toString(), Folder("b"));
    events.Clear();
    ASSERT_TRUE(Tree.SelectPath(Folder("b")));
    EXPECT_EQ(events.Events(), QStringList({"OnChange"}));

    events.Clear();
    const QRect row = Tree.visualRect(Row(RootIndex(), "A"));
    QTest::mouseClick(Tree.viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(Tree.GetDirectory(), Folder("A"));
    EXPECT_EQ(events.Count("OnDirChanged"), 1);
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(FolderTreeTest, MakesNestedSubFoldersAndSelectsTheDeepest)
{
    EXPECT_FALSE(Tree.MakeSubFolder("x")) << "nothing is selected";
    ASSERT_TRUE(Tree.SelectPath(Folder("b")));
    ASSERT_TRUE(Tree.MakeSubFolder("x/y/"));
    EXPECT_TRUE(QFileInfo(Folder("b/x/y")).isDir());
    EXPECT_EQ(Tree.GetDirectory(), Folder("b/x/y"));
    EXPECT_EQ(Tree.currentIndex().data().toString(), "y");
}

TEST_F(FolderTreeTest, RefusesNewFolderNamesThatEscapeOrAreForbidden)
{
    const FolderTreeFiles outside({"elsewhere/"});
    QFile::link(outside.Path("elsewhere"), Files.Path("b/link"));
    ASSERT_TRUE(Tree.SelectPath(Folder("b")));
    const QStringList before = Everything();
    const char *refused[] = {"a|b", "a<b", "a\"b", "tab\there", "..", "../escape", "x/../../escape",
                             "/tmp/absolute", ".hidden", "link/y", "link"};
    for (const char *name : refused) {
        EXPECT_FALSE(Tree.MakeSubFolder(QString::fromUtf8(name))) << name;
        EXPECT_EQ(Tree.GetDirectory(), Folder("b")) << name;
    }
    EXPECT_EQ(Everything(), before);
    EXPECT_FALSE(outside.Exists("elsewhere/y"));
}

TEST_F(FolderTreeTest, RemovesTheSelectedEmptyFolderButNeverTheRoot)
{
    EXPECT_FALSE(Tree.RemoveSelectedFolder()) << "nothing is selected";
    ASSERT_TRUE(Tree.SelectPath(Files.Path()));
    EXPECT_FALSE(Tree.RemoveSelectedFolder());
    EXPECT_TRUE(QFileInfo(Files.Path()).isDir());
    ASSERT_TRUE(Tree.SelectPath(Folder("c")));
    EXPECT_FALSE(Tree.RemoveSelectedFolder()) << "c is not empty";
    EXPECT_TRUE(Files.Exists("c"));
    ASSERT_TRUE(Tree.SelectPath(Folder("c/x")));
    ASSERT_TRUE(Tree.RemoveSelectedFolder());
    EXPECT_FALSE(Files.Exists("c/x"));
    EXPECT_EQ(Tree.GetDirectory(), Folder("c"));
}

TEST_F(FolderTreeTest, RefreshTreeFallsBackToTheNearestAncestorLeft)
{
    ASSERT_TRUE(Tree.SelectPath(Folder("c/x")));
    QDir(Files.Path("c")).removeRecursively();
    Files.Add("d/");
    EventRecorder events;
    Tree.OnDirChanged = events.Recorder("OnDirChanged");
    EXPECT_TRUE(Tree.RefreshTree());
    EXPECT_EQ(Tree.GetDirectory(), Root());
    EXPECT_EQ(Rows(RootIndex()), QStringList({"A", "b", "d"}));
    EXPECT_EQ(events.Events(), QStringList({"OnDirChanged"}));

    QDir(Files.Path()).removeRecursively();
    EXPECT_FALSE(Tree.RefreshTree());
    EXPECT_FALSE(Tree.model()->hasChildren(RootIndex()));
}

TEST_F(FolderTreeTest, AFolderGoneBeforeItOpensIsALeaf)
{
    ASSERT_TRUE(Tree.SelectPath(Files.Path()));
    const QModelIndex c = Row(RootIndex(), "c");
    ASSERT_TRUE(Tree.model()->hasChildren(c));
    QDir(Files.Path("c")).removeRecursively();
    Tree.expand(c);
    QTRY_VERIFY(!Tree.model()->hasChildren(c));
    EXPECT_EQ(Tree.model()->rowCount(c), 0);
}

TEST_F(FolderTreeTest, GetSubDirsAppendsTheSortedNames)
{
    QStringList names{"z"};
    EXPECT_TRUE(Tree.GetSubDirs(Files.Path(), names));
    EXPECT_EQ(names, QStringList({"z", "A", "b", "c"}));
    QStringList none;
    EXPECT_FALSE(Tree.GetSubDirs(Files.Path("b"), none));
    EXPECT_FALSE(Tree.GetSubDirs(Files.Path("missing"), none));
}

TEST_F(FolderTreeTest, PaintsItsGroundInColorAndTheButtonFaceWhenDisabled)
{
    const TColor ground = RGBColor(0x20, 0xC0, 0x40);
    Tree.show();
    Tree.SetColor(ground);
    const QPoint empty = Tree.viewport()->geometry().bottomRight() - QPoint(2, 2);
    EXPECT_EQ(Tree.grab().toImage().pixelColor(empty), ToQColor(ground));
    Tree.SetEnabled(false);
    EXPECT_EQ(Tree.grab().toImage().pixelColor(empty), ToQColor(clr::BtnFace, Tree.palette()));
    Tree.SetEnabled(true);
    EXPECT_EQ(Tree.grab().toImage().pixelColor(empty), ToQColor(ground));
    EXPECT_EQ(Tree.GetColor(), ground);
}

TEST_F(FolderTreeTest, NamesStayReadableOnAnOwnGroundUnderADarkPalette)
{
    Tree.SetColor(RGBColor(0xFF, 0xF4, 0xD0)); // a light ground the application chose
    const auto nameColor = [this] {
        const QVariant foreground = RootIndex().data(Qt::ForegroundRole);
        return foreground.isValid() ? foreground.value<QBrush>().color() : Tree.palette().color(QPalette::Text);
    };
    EXPECT_FALSE(RootIndex().data(Qt::ForegroundRole).isValid()); // the light palette's text reads well

    QPalette dark = Tree.palette();
    dark.setColor(QPalette::Base, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Text, QColor(0xF0, 0xF0, 0xF0));
    Tree.setPalette(dark);
    EXPECT_GE(ContrastRatio(nameColor(), ToQColor(Tree.GetColor())), 4.5);

    Tree.SetColor(clr::Window); // the palette's own ground: the palette's text again
    EXPECT_FALSE(RootIndex().data(Qt::ForegroundRole).isValid());
}

TEST_F(FolderTreeTest, NamesItselfAndItsFoldersToAssistiveTechnology)
{
    Tree.show();
    ASSERT_TRUE(Tree.SelectPath(Files.Path()));
    QAccessibleInterface *tree = QAccessible::queryAccessibleInterface(&Tree);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->role(), QAccessible::Tree);
    EXPECT_EQ(tree->text(QAccessible::Name), "Folder tree");
    QStringList names;
    for (int i = 0; i < tree->childCount(); ++i)
        names << tree->child(i)->text(QAccessible::Name);
    EXPECT_TRUE(names.contains("c")) << names.join(',').toStdString();
}

TEST_F(FolderTreeTest, SizeHintsFollowTheFont)
{
    const QSize small = Tree.sizeHint();
    QFont font = Tree.font();
    font.setPixelSize(font.pixelSize() > 0 ? font.pixelSize() * 2 : 24);
    Tree.setFont(font);
    EXPECT_GT(Tree.sizeHint().height(), small.height());
    EXPECT_LT(Tree.minimumSizeHint().width(), Tree.sizeHint().width());
    EXPECT_LT(Tree.minimumSizeHint().height(), Tree.sizeHint().height());
}

} // namespace
