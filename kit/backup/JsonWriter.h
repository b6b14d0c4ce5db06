#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLatin1String>
#include <QString>
#include <vector>

namespace Backup {

// Writes JSON text straight into bytes, pretty-printed with four spaces and
// "/" unescaped. Callers give the keys of each object in ascending order of
// their UTF-8 bytes, so equal content always gives equal bytes.
class JsonWriter {
public:
    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    void key(QLatin1String name);
    void key(const QString &name);
    void string(const QString &text);
    void integer(qint64 value);
    void boolean(bool value);
    // Throws BackupError::unwritable for infinity and NaN, which JSON cannot hold.
    void number(double value, const char *what);
    // Whole seconds, UTC; throws BackupError::unwritable outside years 0001-9999.
    void date(const QDateTime &date);

    QByteArray take();

private:
    void open(char bracket);
    void close(char bracket);
    // The separator and indent before a member or an array element.
    void beginValue();
    void quoted(const QString &text);
    void quoted(QByteArrayView utf8);
    void indent();

    QByteArray m_bytes;
    QByteArray m_ascii;
    std::vector<bool> m_empty; // per open container: nothing written in it yet
    bool m_afterKey = false;
};

} // namespace Backup
