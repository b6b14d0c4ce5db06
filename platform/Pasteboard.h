#pragma once

#include <QObject>
#include <QString>

// The system clipboard with a change count, so a caller can tell whether its
// content changed since it last looked. Main thread only; needs a
// QGuiApplication.
class Pasteboard : public QObject {
    Q_OBJECT
public:
    // The one instance, made on first use and owned by the application.
    static Pasteboard &general();

    // Grows by one with every change of the clipboard's content.
    int changeCount() const { return m_changeCount; }
    // The plain text; else the first link as text; else empty.
    QString string() const;
    // The plain text only; empty when there is none.
    QString plainText() const;
    // Replaces the content with the text.
    void setString(const QString &text);

private:
    explicit Pasteboard(QObject *parent);

    int m_changeCount = 0;
};
