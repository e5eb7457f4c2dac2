// Opening a folder of 100,000 subfolders in the folder tree, until every row is in
// the view and laid out, against one std::filesystem::directory_iterator pass over
// the same folder, and against a QFileSystemModel in a QTreeView showing it. The
// counter "max_turn_ms" is the longest single turn of the event loop while the tree
// reads: how long the window could not answer.
#include "BenchRatio.h"
#include "NVO_FolderTree.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QEventLoop>
#include <QtCore/QTemporaryDir>
#include <QtGui/QFileSystemModel>
#include <QtWidgets/QTreeView>

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace {

constexpr int kFolders = 100'000;

/// The folder of 100,000 empty subfolders (every 1,000th with a subfolder of its
/// own), made once for the whole run.
const QString &HugeFolder()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const std::filesystem::path root = dir.path().toStdString();
        for (int i = 0; i < kFolders; ++i) {
            const std::filesystem::path folder = root / ("folder" + std::to_string(i));
            std::filesystem::create_directory(folder);
            if (i % 1000 == 0)
                std::filesystem::create_directory(folder / "inner");
        }
        return dir.path();
    }();
    return path;
}

size_t DirectoryIteratorPass(const QString &folder)
{
    size_t folders = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder.toStdString()))
        folders += entry.is_directory() ? 1 : 0;
    return folders;
}

/// Runs the event loop one turn at a time until `done`, keeping the longest turn.
template<class Done>
void RunUntil(Done &&done, double &longestTurnMs)
{
    using Clock = std::chrono::steady_clock;
    while (!done()) {
        const auto start = Clock::now();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        longestTurnMs = std::max(longestTurnMs, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
}

/// Opens the root of a fresh tree over `folder` and waits until all rows are laid out.
void OpenInFolderTree(nvo::TFolderTree &tree, double &longestTurnMs)
{
    tree.Reset();
    const QModelIndex root = tree.model()->index(0, 0, {});
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    tree.expand(root);
    longestTurnMs = std::max(longestTurnMs, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    RunUntil([&] { return tree.model()->rowCount(root) == kFolders; }, longestTurnMs);
    // The view lays the new rows out in its next turn.
    RunUntil([&] { return tree.indexAt(QPoint(4, tree.viewport()->height() - 4)).isValid(); }, longestTurnMs);
}

void BM_FolderTreeOpenVsDirectoryIterator(benchmark::State &state)
{
    const QString &folder = HugeFolder();
    nvo::TFolderTree tree;
    tree.resize(300, 400);
    tree.SetRoot(folder);
    tree.show();
    double longestTurnMs = 0;
    nvo::bench::MeasureRatio(
        state, 3.0, [&] { benchmark::DoNotOptimize(DirectoryIteratorPass(folder)); },
        [&] { OpenInFolderTree(tree, longestTurnMs); });
    state.counters["max_turn_ms"] = longestTurnMs;
}
BENCHMARK(BM_FolderTreeOpenVsDirectoryIterator)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_FolderTreeOpenVsFileSystemModel(benchmark::State &state)
{
    const QString &folder = HugeFolder();
    nvo::TFolderTree tree;
    tree.resize(300, 400);
    tree.SetRoot(folder);
    tree.show();
    QTreeView view;
    view.resize(300, 400);
    view.show();
    double longestTurnMs = 0;
    double ignored = 0;
    nvo::bench::MeasureRatio(
        state, 0.5,
        [&] {
            // A new model each time, as QFileSystemModel keeps what it has read.
            QFileSystemModel model;
            bool loaded = false;
            QObject::connect(&model, &QFileSystemModel::directoryLoaded, [&](const QString &) { loaded = true; });
            view.setModel(&model);
            view.setRootIndex(model.setRootPath(folder));
            RunUntil([&] { return loaded && model.rowCount(view.rootIndex()) == kFolders; }, ignored);
            RunUntil([&] { return view.indexAt(QPoint(4, view.viewport()->height() - 4)).isValid(); }, ignored);
            view.setModel(nullptr);
        },
        [&] { OpenInFolderTree(tree, longestTurnMs); });
    state.counters["max_turn_ms"] = longestTurnMs;
}
BENCHMARK(BM_FolderTreeOpenVsFileSystemModel)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace
