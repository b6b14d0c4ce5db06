#include "AppDelegate.h"
#include "AppLanguage.h"
#include "KepselMacApp.h"
#include "MacModel.h"
#include "MediaExport.h"
#include "MenuBarController.h"
#include "SingleInstance.h"
#include "TerminationSignal.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Kepsel"));
    QApplication::setDesktopFileName(QStringLiteral("app.kepsel"));

    // Before the store opens: a second start only brings the first one's window
    // back.
    const std::unique_ptr<SingleInstance> instance = SingleInstance::claim();
    if (!instance)
        return 0;
    AppLanguage::install(app);
    // Copies handed to other programs by drags and previews of the last run.
    MediaExport::clearTemporaryFolder();

    KepselMacApp kepsel(MacModel::shared(), MenuBarController::shared());
    QObject::connect(instance.get(), &SingleInstance::reopenRequested, &kepsel,
                     [&kepsel] { kepsel.delegate().applicationShouldHandleReopen(); });
    TerminationSignal termination;
    QObject::connect(&termination, &TerminationSignal::received, &kepsel, &KepselMacApp::quit);
    kepsel.showMainWindow();
    return app.exec();
}
