// From nothing to the shown main window on a library of 10,000 posts: the
// central model opens the store, the application builds its window. Beside
// it, showing an empty QWidget.

#include "KepselMacApp.h"
#include "MacModel.h"
#include "MainWindow.h"
#include "MenuBarController.h"
#include "ModelContainer.h"
#include "Post.h"
#include "TamselStore.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWindow>
#include <benchmark/benchmark.h>

namespace {

constexpr int postCount = 10000;

void seedLibrary()
{
    auto container = TamselStore::makeContainer(false);
    auto &context = container->mainContext();
    for (int i = 0; i < postCount; ++i) {
        auto post = std::make_shared<Post>(QStringLiteral("https://weibo.com/%1").arg(i), Platform::weibo);
        post->setTitle(QStringLiteral("第 %1 条").arg(i));
        post->setParseState(ParseState::parsed);
        context.insert(post);
    }
    context.save();
}

// Runs the event loop until the window is on screen.
bool waitExposed(QWidget *widget)
{
    while (!widget->windowHandle() || !widget->windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return true;
}

void StartUpToShownWindow(benchmark::State &state)
{
    for (auto _ : state) {
        MacModel model;
        MenuBarController menuBar(model);
        KepselMacApp app(model, menuBar);
        app.showMainWindow();
        benchmark::DoNotOptimize(waitExposed(app.mainWindow()));
    }
}
BENCHMARK(StartUpToShownWindow)->Unit(benchmark::kMillisecond);

void ShowEmptyWidget(benchmark::State &state)
{
    for (auto _ : state) {
        QWidget widget;
        widget.show();
        benchmark::DoNotOptimize(waitExposed(&widget));
    }
}
BENCHMARK(ShowEmptyWidget)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // The user's folders point at a temporary home holding the library.
    QTemporaryDir home;
    for (const char *folder : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        qputenv(folder, home.path().toUtf8() + (qstrcmp(folder, "HOME") ? QByteArray("/") + folder : ""));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UserDefaults::reopenStandard();
    seedLibrary();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
