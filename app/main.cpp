#include "AppDelegate.h"
#include "AppLanguage.h"
#include "InterfaceFont.h"
#include "KepselMacApp.h"
#include "MacModel.h"
#include "MediaExport.h"
#include "MenuBarController.h"
#include "SingleInstance.h"
#include "StoreError.h"
#include "TamselStore.h"
#include "TerminationSignal.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// Without its library the application cannot run; the message names why.
MacModel *openLibrary()
{
    try {
        return &MacModel::shared();
    } catch (const StoreError &error) {
        QMessageBox::critical(nullptr, QStringLiteral("Kepsel"), error.userMessage());
        return nullptr;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Kepsel"));
    TamselStore::identifyAsDesktopApplication();

    // Before the store opens: a second start only brings the first one's window
    // back.
    const std::unique_ptr<SingleInstance> instance = SingleInstance::claim();
    if (!instance)
        return 0;
    AppLanguage::install(app);
    InterfaceFont::use(AppLanguage::current());
    // Copies handed to other programs by drags and previews of the last run.
    MediaExport::clearTemporaryFolder();

    MacModel *const model = openLibrary();
    if (!model)
        return 1;
    KepselMacApp kepsel(*model, MenuBarController::shared());
    QObject::connect(instance.get(), &SingleInstance::reopenRequested, &kepsel,
                     [&kepsel] { kepsel.delegate().applicationShouldHandleReopen(); });
    TerminationSignal termination;
    QObject::connect(&termination, &TerminationSignal::received, &kepsel, &KepselMacApp::quit);
    kepsel.showMainWindow();
    return app.exec();
}
