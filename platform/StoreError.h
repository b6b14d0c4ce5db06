#pragma once

#include <QString>
#include <stdexcept>

// A failure of the persistent store; what() carries the message.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString &message) : std::runtime_error(message.toStdString()) {}

    QString message() const { return QString::fromStdString(what()); }
};
