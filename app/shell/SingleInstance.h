#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <memory>

// Keeps the application to one running instance per user. The first holds
// the instance lock and listens on a local socket; a later start tells it to
// show its window and gives up.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The instance for this process, or nothing when another one runs (it
    // has then been asked to reopen its window).
    static std::unique_ptr<SingleInstance> claim();

    // The socket's name: one per user's config folder.
    static QString serverName();

signals:
    // A later start asked for the main window.
    void reopenRequested();

private:
    explicit SingleInstance(std::unique_ptr<QLockFile> lock);
    void readRequest(QLocalSocket *socket);
    static void askToReopen();

    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};
