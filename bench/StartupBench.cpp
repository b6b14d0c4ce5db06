// From process start to the library grid's first paint with a library of
// 10,000 and of 100,000 posts (three pictures each): a fresh process runs the
// application's own start path (the central model opens the store, the main
// window shows the grid) and ends when the grid has painted its cards.
// Beside it, a fresh process that only reads every row of the same store with
// plain SQLite. Both report the process's peak resident memory beside the
// size of the store file.

#include "AppLanguage.h"
#include "BenchStore.h"
#include "KepselMacApp.h"
#include "MacModel.h"
#include "Masonry.h"
#include "MediaExport.h"
#include "MediaSizes.h"
#include "MenuBarController.h"
#include "SingleInstance.h"
#include "TamselStore.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

const char *const startFlag = "--start-application";
const char *const readFlag = "--read-rows";

// A home of its own per library size, holding the store where the
// application looks for it.
struct Home {
    QTemporaryDir folder;
    QString storePath;
};

void pointFoldersAt(const QString &home)
{
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        qputenv(name, (home + (qstrcmp(name, "HOME") ? QStringLiteral("/") + QLatin1String(name) : QString()))
                          .toUtf8());
}

Home &home(int postCount)
{
    static std::map<int, std::unique_ptr<Home>> homes;
    auto &made = homes[postCount];
    if (!made) {
        made = std::make_unique<Home>();
        pointFoldersAt(made->folder.path());
        // A library in use for years has long had its media sizes recorded.
        UserDefaults::reopenStandard();
        TamselStore::defaults().setBool(MediaSizes::settingKey, true);
        made->storePath = TamselStore::makeContainer(false)->storePath();
        BenchStore::generate(made->storePath, postCount);
    }
    pointFoldersAt(made->folder.path());
    return *made;
}

struct Run {
    double seconds = 0;
    double peakBytes = 0;
};

// Runs this program again with the arguments and waits for it to end.
Run runChild(const QList<QByteArray> &arguments)
{
    QByteArray self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe")).toUtf8();
    std::vector<char *> argv{self.data()};
    QList<QByteArray> copies = arguments;
    for (QByteArray &argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, self.constData(), nullptr, nullptr, argv.data(), environ) != 0)
        return {};
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return {elapsed.count(), double(usage.ru_maxrss) * 1024};
}

void runInChildren(benchmark::State &state, const QList<QByteArray> &arguments)
{
    const Home &library = home(int(state.range(0)));
    double peak = 0;
    for (auto _ : state) {
        const Run run = runChild(arguments);
        if (run.seconds == 0) {
            state.SkipWithError("the child process failed");
            return;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakBytes);
    }
    constexpr double megabyte = 1024.0 * 1024.0;
    const double store = double(BenchStore::fileSize(library.storePath));
    state.counters["peakMB"] = peak / megabyte;
    state.counters["storeMB"] = store / megabyte;
    state.counters["peakOverStore"] = peak / store;
}

void startUpToFirstGridPaint(benchmark::State &state)
{
    runInChildren(state, {startFlag});
}
BENCHMARK(startUpToFirstGridPaint)
    ->Arg(10'000)
    ->Arg(100'000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

void readEveryRowBareSqlite(benchmark::State &state)
{
    runInChildren(state, {readFlag, home(int(state.range(0))).storePath.toUtf8()});
}
BENCHMARK(readEveryRowBareSqlite)
    ->Arg(10'000)
    ->Arg(100'000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// Notes the first paint of a grid that shows cards.
class FirstGridPaint : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            if (const auto *grid = qobject_cast<Masonry *>(watched->parent()))
                painted = painted || (watched == grid->viewport() && !grid->posts().isEmpty());
        return false;
    }
};

// The start path of the application's main(), up to the grid's first paint.
int startApplication(int argc, char **argv)
{
    alarm(120); // a start that never paints fails instead of hanging
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Kepsel"));
    TamselStore::identifyAsDesktopApplication();
    // The home is the benchmark's own, so no other instance holds it: a
    // refused claim is a failure, not a start.
    const std::unique_ptr<SingleInstance> instance = SingleInstance::claim();
    if (!instance)
        _exit(1);
    AppLanguage::install(app);
    MediaExport::clearTemporaryFolder();
    FirstGridPaint watch;
    app.installEventFilter(&watch);
    KepselMacApp kepsel(MacModel::shared(), MenuBarController::shared());
    kepsel.showMainWindow();
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents(); // the paint event ends
    _exit(0);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 2 && qstrcmp(argv[1], startFlag) == 0)
        return startApplication(argc, argv);
    if (argc >= 3 && qstrcmp(argv[1], readFlag) == 0)
        _exit(BenchStore::readEveryRow(QString::fromUtf8(argv[2])) > 0 ? 0 : 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
