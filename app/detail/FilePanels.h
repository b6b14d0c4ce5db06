#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>

class QWidget;

// The dialogs that ask where media files go. Tests put answers in their
// place; an empty answer means the user cancelled.
struct FilePanels {
    Q_DECLARE_TR_FUNCTIONS(FilePanels)

public:
    // Asks for a file to save to, proposing a name; `filter` names the type.
    std::function<QString(QWidget *parent, const QString &proposedName, const QString &filter)> saveFile;
    // Asks for a folder to export into.
    std::function<QString(QWidget *parent)> exportFolder;

    static FilePanels dialogs();
};
