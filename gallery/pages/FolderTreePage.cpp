#include "DemoPage.h"
#include "Editors.h"
#include "NVO_FolderTree.h"
#include "Pages.h"

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

namespace gallery {

namespace {

/// A small folder tree to browse, made afresh for the page and removed with it.
/// The hidden folders never show in the tree.
QString MakeDemoFolders(QObject *owner)
{
    auto *dir = new QTemporaryDir;
    QObject::connect(owner, &QObject::destroyed, [dir] { delete dir; });
    const char *folders[] = {"Documents/Letters/2025", "Documents/Invoices", "Documents/.cache",
                             "Music/Bach", "Music/beatles", "Music/Chopin", "Photos/2024/Summer",
                             "Photos/2024/winter", "Photos/2025", "projects/alpha/src", "projects/Beta",
                             "Videos", ".config/app"};
    for (const char *folder : folders)
        QDir(dir->path()).mkpath(QString::fromLatin1(folder));
    return dir->path();
}

/// A line edit and a button that create the typed folder below the selected one.
QWidget *MakeSubFolderEditor(nvo::TFolderTree *tree, QLabel *result)
{
    auto *box = new QWidget;
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *name = new QLineEdit(QStringLiteral("new/inner/"));
    auto *make = new QPushButton(QObject::tr("Make"));
    layout->addWidget(name);
    layout->addWidget(make);
    QObject::connect(make, &QPushButton::clicked, tree, [tree, name, result] {
        result->setText(tree->MakeSubFolder(name->text()) ? QObject::tr("made") : QObject::tr("refused"));
    });
    return box;
}

} // namespace

QWidget *CreateFolderTreePage(QWidget *parent)
{
    using nvo::TFolderTree;
    auto *page = new TDemoPage(
        QObject::tr("Folder tree (TFolderTree)"),
        QObject::tr("The folders below a root, read when a node opens; a node shows its expand "
                    "button when a look-ahead finds a visible subfolder. Names are sorted "
                    "case-insensitively, hidden folders are left out. Here the root is a "
                    "temporary folder tree made for the page."),
        parent);
    const QString root = MakeDemoFolders(page);

    auto *live = new TFolderTree;
    live->resize(260, 300);
    live->SetRoot(root);
    live->SelectPath(root + QStringLiteral("/Photos/2024"));
    page->AddInstance(QObject::tr("Live, Photos/2024 selected"), live);

    auto *tinted = new TFolderTree;
    tinted->resize(260, 160);
    tinted->SetRoot(root);
    tinted->SetColor(nvo::RGBColor(0xFF, 0xF4, 0xD8));
    tinted->SelectPath(root + QStringLiteral("/Music"));
    page->AddInstance(QObject::tr("Color set, Music selected"), tinted);

    auto *disabled = new TFolderTree;
    disabled->resize(260, 90);
    disabled->SetRoot(root);
    disabled->SetEnabled(false);
    page->AddInstance(QObject::tr("Disabled"), disabled);

    auto *directory = new QLabel(live->GetDirectory().mid(root.size()));
    QObject::connect(live, &TFolderTree::DirectoryChanged, directory, [directory, root](const QString &path) {
        directory->setText(path.mid(root.size()));
    });
    auto *result = new QLabel;
    page->AddEditor(QStringLiteral("Directory"), directory);
    page->AddEditor(QStringLiteral("MakeSubFolder"), MakeSubFolderEditor(live, result));
    page->AddEditor(QString(), result);
    auto *remove = new QPushButton(QObject::tr("Remove selected folder"));
    QObject::connect(remove, &QPushButton::clicked, live, [live, result] {
        result->setText(live->RemoveSelectedFolder() ? QObject::tr("removed") : QObject::tr("refused"));
    });
    page->AddEditor(QStringLiteral("RemoveSelectedFolder"), remove);
    auto *refresh = new QPushButton(QObject::tr("Refresh tree"));
    QObject::connect(refresh, &QPushButton::clicked, live, [live] { live->RefreshTree(); });
    page->AddEditor(QStringLiteral("RefreshTree"), refresh);
    page->AddEditor(QStringLiteral("Color"), PropertyEditor(live, "Color"));
    page->AddEditor(QStringLiteral("OldTreeStyle"), PropertyEditor(live, "OldTreeStyle"));
    page->AddEditor(QStringLiteral("Enabled"), PropertyEditor(live, "Enabled"));
    return page;
}

} // namespace gallery
