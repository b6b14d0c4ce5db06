#include "SyncSettings.h"

#include "BackupFolder.h"
#include "DetachedTask.h"
#include "KitLog.h"
#include "MacModel.h"
#include "MediaBackup.h"
#include "SettingsForm.h"
#include "ShortDate.h"
#include "TamselStore.h"
#include "Theme.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString autoChosenKey = QStringLiteral("macFolderAutoChosen");

// The folder's name and path are the user's: however long, they leave the
// window its width, and the whole text shows on hover.
void showShortened(QLabel *label, const QString &text, Qt::TextElideMode mode)
{
    constexpr int shownWidth = 300;
    label->setTextFormat(Qt::PlainText);
    label->setText(label->fontMetrics().elidedText(text, mode, shownWidth));
    label->setToolTip(text);
}

// The last sync as a relative time in words, as the tab shows it.
QString relativeText(const QDateTime &when, const QDateTime &now)
{
    const qint64 seconds = when.secsTo(now);
    if (seconds < 60)
        return SyncSettings::tr("现在");
    if (seconds < 3600)
        return SyncSettings::tr("%n 分钟前", nullptr, int(seconds / 60));
    if (seconds < 86400)
        return SyncSettings::tr("%n 小时前", nullptr, int(seconds / 3600));
    const qint64 days = when.date().daysTo(now.date());
    if (days <= 1)
        return SyncSettings::tr("昨天");
    if (days < 30)
        return SyncSettings::tr("%n 天前", nullptr, int(days));
    return shortDisplay(when);
}

} // namespace

SyncSettings::SyncSettings(MacModel &model, QWidget *parent)
    : QWidget(parent), m_model(model), m_form(new SettingsForm(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_form);
    buildFolderSection();
    buildSyncSection();
    buildMediaSection();

    connect(&m_model, &MacModel::syncingChanged, this, &SyncSettings::showSyncState);
    connect(&m_model, &MacModel::syncErrorChanged, this, &SyncSettings::showSyncState);
    connect(&m_model, &MacModel::lastSyncChanged, this, &SyncSettings::showSyncState);
    MediaBackup &media = MediaBackup::shared();
    connect(&media, &MediaBackup::runningChanged, this, &SyncSettings::showMediaBackup);
    connect(&media, &MediaBackup::doneChanged, this, &SyncSettings::showMediaBackup);
    connect(&media, &MediaBackup::totalChanged, this, &SyncSettings::showMediaBackup);
    connect(&media, &MediaBackup::lastErrorChanged, this, &SyncSettings::showMediaBackup);

    readFolder();
}

void SyncSettings::buildFolderSection()
{
    SettingsForm::Section *section = m_form->addSection();
    m_folderSwitch = new QCheckBox(tr("通过同步文件夹同步"));
    connect(m_folderSwitch, &QCheckBox::clicked, this, &SyncSettings::setFolderSwitch);
    m_folderSwitch->setObjectName(QStringLiteral("folderSwitch"));
    section->addRow(m_folderSwitch);

    auto *location = new QWidget;
    auto *stack = new QVBoxLayout(location);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(4);
    m_folderName = new QLabel(location);
    m_folderPathLabel = SettingsForm::caption({}, location);
    m_folderPathLabel->setWordWrap(false);
    stack->addWidget(m_folderName, 0, Qt::AlignRight);
    stack->addWidget(m_folderPathLabel, 0, Qt::AlignRight);
    m_locationRow = section->addLabelledRow(tr("位置"), location);
    m_locationRow->setObjectName(QStringLiteral("location"));
    m_folderName->setObjectName(QStringLiteral("folderName"));

    auto *footer = new QWidget;
    auto *lines = new QVBoxLayout(footer);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(6);
    m_footer = SettingsForm::caption({}, footer);
    m_pickButton = new QPushButton(tr("选择其他文件夹…"), footer);
    m_pickButton->setFlat(true);
    m_pickButton->setCursor(Qt::PointingHandCursor);
    m_pickButton->setStyleSheet(
        QStringLiteral("QPushButton { color: %1; border: none; padding: 0; text-align: left; }")
            .arg(Theme::accent().resolved(palette()).name()));
    m_pickButton->setObjectName(QStringLiteral("pick"));
    connect(m_pickButton, &QPushButton::clicked, this, &SyncSettings::pick);
    lines->addWidget(m_footer);
    lines->addWidget(m_pickButton, 0, Qt::AlignLeft);
    section->setFooter(footer);
}

void SyncSettings::buildSyncSection()
{
    SettingsForm::Section *section = m_form->addSection();
    m_syncSection = section;
    section->setObjectName(QStringLiteral("syncSection"));
    QCheckBox *automatic = SettingsForm::storedSwitch(tr("自动同步（打开、切走 Kepsel 时，以及每分钟一次）"),
                                                      BackupFolder::autoKey, true);
    automatic->setObjectName(QStringLiteral("autoSync"));
    section->addRow(automatic);

    auto *line = new QWidget;
    auto *row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    m_spinner = new QProgressBar(line);
    m_spinner->setRange(0, 0);
    m_spinner->setTextVisible(false);
    m_spinner->setFixedSize(40, 8);
    m_spinner->setObjectName(QStringLiteral("spinner"));
    m_lastSync = SettingsForm::caption({}, line);
    m_lastSync->setFont(font());
    m_syncButton = new QPushButton(tr("立即同步"), line);
    m_syncButton->setObjectName(QStringLiteral("syncNow"));
    m_lastSync->setObjectName(QStringLiteral("lastSync"));
    connect(m_syncButton, &QPushButton::clicked, this,
            [this] { DetachedTask::start(m_model.sync(true), QStringLiteral("sync"), tamselLog()); });
    row->addWidget(m_spinner);
    row->addWidget(m_lastSync);
    row->addWidget(m_syncButton);
    section->addLabelledRow(tr("上次同步"), line);

    m_syncError = SettingsForm::warning();
    m_syncError->setObjectName(QStringLiteral("syncError"));
    section->addRow(m_syncError);
}

void SyncSettings::buildMediaSection()
{
    SettingsForm::Section *section = m_form->addSection();
    m_mediaSection = section;
    m_mediaSwitch =
        SettingsForm::storedSwitch(tr("同时备份图片和视频到「媒体」文件夹"), MediaBackup::enabledKey, false);
    connect(m_mediaSwitch, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            DetachedTask::start(MediaBackup::shared().run(m_model.container().mainContext()),
                                QStringLiteral("media backup"), tamselLog());
        showMediaBackup();
    });
    m_mediaSwitch->setObjectName(QStringLiteral("mediaSwitch"));
    section->addRow(m_mediaSwitch);

    auto *content = new QWidget;
    auto *stack = new QHBoxLayout(content);
    stack->setContentsMargins(0, 0, 0, 0);
    m_mediaProgress = new QLabel(content);
    m_mediaProgress->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_mediaError = SettingsForm::warning({}, content);
    stack->addWidget(m_mediaProgress);
    stack->addWidget(m_mediaError);
    m_mediaLabel = new QLabel;
    m_mediaRow = section->addLabelledRow(m_mediaLabel, content);
    m_mediaRow->setObjectName(QStringLiteral("mediaRow"));
    m_mediaProgress->setObjectName(QStringLiteral("mediaProgress"));
    m_mediaLabel->setObjectName(QStringLiteral("mediaState"));
    m_mediaError->setObjectName(QStringLiteral("mediaError"));
}

void SyncSettings::pick()
{
    auto *dialog = new QFileDialog(window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setLabelText(QFileDialog::Accept, tr("使用这个文件夹"));
    dialog->setDirectory(startFolder());
    connect(dialog, &QFileDialog::fileSelected, this, &SyncSettings::choose);
    m_chooser = dialog;
    dialog->open();
}

QString SyncSettings::startFolder()
{
    // Never the process's working folder, which means nothing to the user.
    if (const auto chosen = BackupFolder::folderURL())
        return *chosen;
    return MacModel::iCloudKepselFolder().value_or(QDir::homePath());
}

void SyncSettings::choose(const QString &url)
{
    m_model.useFolder(url);
    readFolder();
}

void SyncSettings::setFolderSwitch(bool on)
{
    if (on) {
        if (const auto cloud = MacModel::iCloudKepselFolder())
            choose(*cloud);
        else
            showFolder();
        return;
    }
    BackupFolder::clear();
    TamselStore::defaults().setBool(autoChosenKey, true);
    m_folder.reset();
    m_folderPath.reset();
    showFolder();
}

void SyncSettings::readFolder()
{
    m_folder = BackupFolder::displayName();
    m_folderPath = BackupFolder::folderURL();
    showFolder();
}

void SyncSettings::showFolder()
{
    const bool cloud = MacModel::iCloudKepselFolder().has_value();
    m_folderSwitch->setChecked(m_folder.has_value());
    m_folderSwitch->setEnabled(m_folder || cloud);
    m_locationRow->setVisible(m_folder.has_value());
    showShortened(m_folderName, m_folder.value_or(QString()), Qt::ElideRight);
    m_folderPathLabel->setVisible(m_folderPath.has_value());
    showShortened(m_folderPathLabel, m_folderPath.value_or(QString()), Qt::ElideMiddle);
    m_footer->setText(!m_folder && !cloud
                          ? tr("这台电脑上没有找到云盘文件夹。点「选择其他文件夹…」，选一个和 iPhone "
                               "共用的同步文件夹。")
                          : tr("和使用同一个文件夹的 iPhone 双向同步新收藏、笔记、标签、合集、归档和删除；"
                               "图片和视频优先从这个文件夹里取，没有的按原文链接重新下载。"));
    m_syncSection->setVisible(m_folder.has_value());
    m_mediaSection->setVisible(m_folder.has_value());
    showSyncState();
    showMediaBackup();
}

void SyncSettings::showSyncState()
{
    const bool syncing = m_model.syncing();
    m_spinner->setVisible(syncing);
    const auto last = m_model.lastSync();
    m_lastSync->setText(last ? relativeText(*last, Clock::now()) : tr("还没有"));
    m_syncButton->setEnabled(!syncing);
    const auto error = m_model.syncError();
    m_syncError->setVisible(error.has_value());
    m_syncError->setText(error.value_or(QString()));
}

void SyncSettings::showMediaBackup()
{
    const MediaBackup &media = MediaBackup::shared();
    const bool running = media.running();
    m_mediaRow->setVisible(m_mediaSwitch->isChecked() && (running || media.lastError()));
    m_mediaLabel->setText(running ? tr("正在备份媒体") : tr("媒体备份出错"));
    m_mediaProgress->setVisible(running);
    m_mediaProgress->setText(tr("%1/%2").arg(media.done()).arg(media.total()));
    m_mediaError->setVisible(!running);
    m_mediaError->setText(media.lastError().value_or(QString()));
}
