#include "MainWindow.h"

#include "BackupFolder.h"
#include "ContentView.h"
#include "MacModel.h"
#include "MenuBarSettings.h"
#include "UserDefaults.h"
#include "WindowGeometry.h"

#include <QCloseEvent>
#include <QCoro/QCoroTask>
#include <QMenuBar>

const QString MainWindow::identifier = QStringLiteral("main");

MainWindow::MainWindow(MacModel &model, QWidget *parent)
    : QMainWindow(parent), m_model(model), m_content(new ContentView(model, this))
{
    setObjectName(identifier);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Kepsel"));
    m_content->setMinimumSize(880, 560);
    setCentralWidget(m_content);
    addMenus();
    WindowGeometry::restore(*this);
}

void MainWindow::addMenus()
{
    QMenu *app = menuBar()->addMenu(tr("Kepsel"));
    app->addAction(tr("设置…"), QKeySequence(Qt::CTRL | Qt::Key_Comma), this, &MainWindow::settingsRequested);
    app->addSeparator();
    app->addAction(tr("退出 Kepsel"), QKeySequence::Quit, this, &MainWindow::quitRequested);

    QMenu *file = menuBar()->addMenu(tr("文件"));
    file->addAction(tr("收藏链接…"), QKeySequence::New, this, [this] { m_model.setShowAdd(true); });

    QMenu *edit = menuBar()->addMenu(tr("编辑"));
    edit->addSeparator();
    edit->addAction(tr("从剪贴板收藏链接"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), this,
                    [this] { m_model.collectClipboard(); });

    QMenu *sync = menuBar()->addMenu(tr("同步"));
    m_syncNow = sync->addAction(tr("立即同步"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R), this,
                                [this] { QCoro::connect(m_model.sync(true), &m_model, [] {}); });
    connect(sync, &QMenu::aboutToShow, this, &MainWindow::refreshSyncNow);
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString &key) {
        if (key == BackupFolder::bookmarkKey)
            refreshSyncNow();
    });
    refreshSyncNow();
}

void MainWindow::refreshSyncNow()
{
    m_syncNow->setEnabled(BackupFolder::isConfigured());
}

void MainWindow::closeForQuit()
{
    m_quitting = true;
    close();
}

bool MainWindow::keepsTaskbarEntry() const
{
    return !m_quitting && MenuBarSettings::enabled() && !MenuBarSettings::hidesDock();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (keepsTaskbarEntry()) {
        event->ignore();
        showMinimized();
        return;
    }
    WindowGeometry::save(*this);
    emit closing();
    QMainWindow::closeEvent(event);
}
