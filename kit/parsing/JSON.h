#pragma once

#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QString>
#include <concepts>
#include <optional>
#include <stdexcept>

// Thrown when bytes are not JSON, such as a sign-in page or an empty body
// served where a platform's API answer belongs. The message is the user's, in
// the interface language (also what() as UTF-8); detail() keeps the reader's
// own words for the log.
class JSONError : public std::runtime_error {
public:
    explicit JSONError(const QString &detail);

    QString detail() const { return m_detail; }
    QString message() const { return m_message; }

private:
    QString m_detail;
    QString m_message;
};

// A forgiving view of loosely typed platform data. Lookups never fail: a
// missing member, a wrong type or an index out of range gives the empty value,
// and the typed readers convert between numbers and texts.
//
// Integers are kept exactly when they fit a signed 64-bit integer (QJsonValue
// stores them as such), so string() and intValue() give their full digits;
// longer integer literals are rounded to a double by the reader.
class JSON {
public:
    JSON();
    explicit JSON(const QJsonValue &raw);

    // Top-level fragments (a bare text, number, true, false or null) are read
    // too. A lone surrogate in a \u escape becomes U+FFFD rather than failing
    // the whole document.
    static JSON fromData(const QByteArray &data);
    static JSON fromString(const QString &text);

    const QJsonValue &raw() const { return m_raw; }

    JSON operator[](const QString &key) const;
    JSON operator[](const char *key) const;
    JSON operator[](qsizetype index) const;
    // Lets a literal 0 pick the index form instead of a null key pointer.
    template <std::integral Index> JSON operator[](Index index) const
    {
        return (*this)[static_cast<qsizetype>(index)];
    }

    // Present and not the null marker.
    bool exists() const;
    QList<JSON> array() const;
    QMap<QString, JSON> dictionary() const;

    // A text as it is; a number as its text (integers without a decimal point,
    // true and false as "1" and "0").
    std::optional<QString> string() const;
    QString stringValue() const;
    // Numbers as they are; texts only when the whole text is a number.
    std::optional<double> doubleValue() const;
    // Truncated toward zero; none when out of the 64-bit range or not finite.
    std::optional<qint64> intValue() const;
    // Numbers: non-zero is true. Texts: "true"/"1" and "false"/"0", any case.
    std::optional<bool> boolValue() const;

private:
    QJsonValue m_raw;
};
