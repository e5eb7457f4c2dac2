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
#include <ctime>
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

/// The longest turn of the event loop seen, by the clock and by processor time.
struct TLongestTurn {
    double WallMs = 0;
    double CpuMs = 0;

    static double ThreadCpuMs()
    {
        timespec now;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    }
    /// Runs `work` as one turn and keeps its length when it is the longest.
    template<class Work>
    void Time(Work &&work)
    {
        const auto wallStart = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuMs();
        work();
        CpuMs = std::max(CpuMs, ThreadCpuMs() - cpuStart);
        WallMs = std::max(WallMs, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count());
    }
    /// Runs the event loop one turn at a time until `done`.
    template<class Done>
    void RunUntil(Done &&done)
    {
        while (!done())
            Time([] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
    }
};

/// Opens the root of a fresh tree over `folder` and waits until all rows are laid out.
void OpenInFolderTree(nvo::TFolderTree &tree, TLongestTurn &longest)
{
    tree.Reset();
    const QModelIndex root = tree.model()->index(0, 0, {});
    longest.Time([&] { tree.expand(root); });
    longest.RunUntil([&] { return tree.model()->rowCount(root) == kFolders; });
    // The view lays the new rows out in its next turn.
    longest.RunUntil([&] { return tree.indexAt(QPoint(4, tree.viewport()->height() - 4)).isValid(); });
}

/// A tree over the huge folder, shown.
void ShowTree(nvo::TFolderTree &tree)
{
    tree.resize(300, 400);
    tree.SetRoot(HugeFolder());
    tree.show();
}

void Report(benchmark::State &state, const TLongestTurn &longest)
{
    state.counters["max_turn_ms"] = longest.WallMs;
    state.counters["max_turn_cpu_ms"] = longest.CpuMs;
}

void BM_FolderTreeOpenVsDirectoryIterator(benchmark::State &state)
{
    nvo::TFolderTree tree;
    ShowTree(tree);
    TLongestTurn longest;
    nvo::bench::MeasureRatio(
        state, 3.0, [&] { benchmark::DoNotOptimize(DirectoryIteratorPass(HugeFolder())); },
        [&] { OpenInFolderTree(tree, longest); });
    Report(state, longest);
}
BENCHMARK(BM_FolderTreeOpenVsDirectoryIterator)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_FolderTreeOpenVsFileSystemModel(benchmark::State &state)
{
    nvo::TFolderTree tree;
    ShowTree(tree);
    QTreeView view;
    view.resize(300, 400);
    view.show();
    TLongestTurn longest;
    TLongestTurn ignored;
    nvo::bench::MeasureRatio(
        state, 0.5,
        [&] {
            // A new model each time, as QFileSystemModel keeps what it has read.
            QFileSystemModel model;
            bool loaded = false;
            QObject::connect(&model, &QFileSystemModel::directoryLoaded, [&](const QString &) { loaded = true; });
            view.setModel(&model);
            view.setRootIndex(model.setRootPath(HugeFolder()));
            ignored.RunUntil([&] { return loaded && model.rowCount(view.rootIndex()) == kFolders; });
            ignored.RunUntil([&] { return view.indexAt(QPoint(4, view.viewport()->height() - 4)).isValid(); });
            view.setModel(nullptr);
        },
        [&] { OpenInFolderTree(tree, longest); });
    Report(state, longest);
}
BENCHMARK(BM_FolderTreeOpenVsFileSystemModel)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace
