#pragma once

#include <QString>
#include <stdexcept>

// A failed file operation; what() names the action, the path and the cause.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString &description) : std::runtime_error(description.toStdString()) {}

    QString description() const { return QString::fromStdString(what()); }
};
