// Backing up 2,000 media of 1 MB into an empty media folder, beside a plain
// copy of the same stored bytes into the same folder, once as is and once
// flushed to the disk file by file as the backup's atomic writes are.

#include "BackupFolder.h"
#include "Media.h"
#include "MediaBackup.h"
#include "ModelContainer.h"
#include "RunBenchmarks.h"
#include "TamselStore.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {

constexpr int mediaCount = 2000;
constexpr qsizetype mediaBytes = qsizetype(1) << 20;

// A home of its own with a library of the media, built once per process.
struct Library {
    QTemporaryDir home;
    std::unique_ptr<ModelContainer> container;
    QString mediaFolder;
    // Each medium's stored file and its name in the media folder.
    QList<std::pair<QString, QString>> files;
};

Library &library()
{
    static Library library = [] {
        Library built;
        qputenv("HOME", built.home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (built.home.path() + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_DATA_HOME", (built.home.path() + QStringLiteral("/data")).toUtf8());
        UserDefaults::reopenStandard();
        const QString folder = built.home.path() + QStringLiteral("/drive/Kepsel");
        QDir().mkpath(folder);
        BackupFolder::setFolder(folder);
        TamselStore::defaults().setBool(MediaBackup::enabledKey, true);
        built.mediaFolder = folder + QLatin1Char('/') + MediaBackup::folderName;

        built.container = TamselStore::makeContainer(false);
        auto &context = built.container->mainContext();
        QList<std::shared_ptr<Media>> media;
        for (int i = 0; i < mediaCount; ++i) {
            auto medium = std::make_shared<Media>(MediaKind::image, 0);
            medium->setData(QByteArray(mediaBytes, char(i)));
            medium->setDataSize(mediaBytes);
            context.insert(medium);
            media.append(medium);
        }
        context.save();
        for (const auto &medium : std::as_const(media))
            built.files.append({medium->dataFilePath().value(), MediaFolder::imageName(medium->id())});
        return built;
    }();
    return library;
}

void emptyMediaFolder(benchmark::State &state, const Library &library)
{
    state.PauseTiming();
    QDir(library.mediaFolder).removeRecursively();
    QDir().mkpath(library.mediaFolder);
    state.ResumeTiming();
}

void backUpMedia(benchmark::State &state)
{
    auto &built = library();
    auto &backup = MediaBackup::shared();
    for (auto _ : state) {
        emptyMediaFolder(state, built);
        QCoro::waitFor(backup.run(built.container->mainContext()));
        if (backup.done() != mediaCount || backup.lastError())
            state.SkipWithError("not every medium was written");
    }
    state.SetBytesProcessed(state.iterations() * mediaCount * mediaBytes);
}
BENCHMARK(backUpMedia)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void plainCopy(benchmark::State &state)
{
    const bool flushed = state.range(0) != 0;
    auto &built = library();
    const QDir target(built.mediaFolder);
    for (auto _ : state) {
        emptyMediaFolder(state, built);
        for (const auto &[source, name] : std::as_const(built.files)) {
            QFile in(source);
            QFile out(target.filePath(name));
            if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly) ||
                out.write(in.readAll()) != mediaBytes || !out.flush() ||
                (flushed && ::fdatasync(out.handle()) != 0))
                state.SkipWithError("copy failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * mediaCount * mediaBytes);
}
BENCHMARK(plainCopy)
    ->ArgName("flushed")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv);
}
