#include "FuzzCheck.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

// Settings and data go to a folder of their own, never the user's.
void useTemporaryHome()
{
    static QTemporaryDir home;
    for (const char *variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, home.path().toLocal8Bit());
}

} // namespace

[[noreturn]] void Fuzz::fail(const char *property)
{
    std::fprintf(stderr, "property failed: %s\n", property);
    std::abort();
}

// Called once before the first input, by libFuzzer and by the replay program.
extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    useTemporaryHome();
    static int argc = 1;
    static char *arguments[] = {(*argv)[0], nullptr};
    static QCoreApplication *application = new QCoreApplication(argc, arguments);
    Q_UNUSED(application);
    return 0;
}
