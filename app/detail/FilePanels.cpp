#include "FilePanels.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString startFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QDir(pictures).exists() ? pictures : QDir::homePath();
}

QString askSaveFile(QWidget *parent, const QString &proposedName, const QString &filter)
{
    QFileDialog dialog(parent, {}, QDir(startFolder()).filePath(proposedName), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without the extension gets it before the panel asks about replacing a file.
    dialog.setDefaultSuffix(QFileInfo(proposedName).suffix());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString askExportFolder(QWidget *parent)
{
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(startFolder());
    dialog.setLabelText(QFileDialog::Accept, FilePanels::tr("导出到这里"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

FilePanels FilePanels::dialogs()
{
    return {askSaveFile, askExportFolder};
}
