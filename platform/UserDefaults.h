#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// A typed key-value settings file. Values keep their type across a reopen:
// a Bool stays a Bool, a text a text, a date a date. The file holds sign-in
// cookies and tokens, so only its owner may read it. Safe to use from any
// thread; changed() is emitted on the thread that wrote.
class UserDefaults : public QObject {
    Q_OBJECT
public:
    explicit UserDefaults(const QString &filePath, QObject *parent = nullptr);

    // The process's settings file in the user's config folder. Tests call
    // reopenStandard() after pointing the config folder at a temporary home.
    static UserDefaults &standard();
    static void reopenStandard();
    // The application's folder in the user's config folder, which holds the
    // standard settings file.
    static QString configFolder();

    QString filePath() const { return m_filePath; }

    bool contains(const QString &key) const;
    // The stored value as a variant (bool, qint64, double, QString, QDateTime,
    // QByteArray, QVariantList, QVariantMap); invalid when absent.
    QVariant object(const QString &key) const;

    // Plain Bool read: a stored Bool as is, a number as non-zero, a text
    // "true"/"yes"/"1" as true; anything else (absent included) is false.
    bool boolValue(const QString &key) const;
    // Keeps a stored Bool; anything else, absent included, gives the fallback.
    bool boolObject(const QString &key, bool fallback = true) const;
    std::optional<QString> string(const QString &key) const;
    qint64 integer(const QString &key) const;
    double number(const QString &key) const;
    std::optional<QDateTime> date(const QString &key) const;
    std::optional<QByteArray> data(const QString &key) const;
    std::optional<QStringList> stringList(const QString &key) const;
    QVariantMap dictionary(const QString &key) const;

    void setBool(const QString &key, bool value);
    void setString(const QString &key, const QString &value);
    void setInteger(const QString &key, qint64 value);
    void setNumber(const QString &key, double value);
    void setDate(const QString &key, const QDateTime &value);
    void setData(const QString &key, const QByteArray &value);
    void setStringList(const QString &key, const QStringList &value);
    void setDictionary(const QString &key, const QVariantMap &value);
    // Stores any variant of the kinds object() returns.
    void setObject(const QString &key, const QVariant &value);
    void remove(const QString &key);

    QStringList keys() const;

signals:
    void changed(const QString &key);

private:
    // The values behind a lock: each call reads or writes them whole.
    class Values {
    public:
        QJsonValue value(const QString &key) const;
        bool contains(const QString &key) const;
        QStringList keys() const;
        void reset(const QJsonObject &values);
        // Sets a value, or removes it for none; false when nothing changed.
        bool update(const QString &key, const std::optional<QJsonValue> &value);
        QJsonObject all() const;

    private:
        mutable QMutex m_lock;
        QJsonObject m_values;
    };

    void load();
    void store(const QString &key, const std::optional<QJsonValue> &value);
    void writeFile() const;

    QString m_filePath;
    // Held from a change to its write, so the file always ends with the last change.
    QMutex m_writeLock;
    Values m_values;
};
