#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM into a signal on the main thread, so that a request to end
// the process quits the application the same way as its Quit command.
class TerminationSignal : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignal(QObject *parent = nullptr);
    ~TerminationSignal() override;

signals:
    void received();

private:
    static void handle(int);

    QSocketNotifier *m_notifier;
};
