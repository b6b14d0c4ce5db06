#pragma once

#include <QIcon>
#include <QString>

// Which picture stands for the application in the taskbar and window
// frames, kept under "macAppIcon".
class DockIcon {
public:
    enum Value { basket, glow };

    DockIcon(Value value) : m_value(value) {}

    Value value() const { return m_value; }
    QString rawValue() const;
    QString title() const;
    bool operator==(const DockIcon &other) const = default;

    // The stored choice; any text other than a raw value gives the basket.
    static DockIcon current();

    QIcon icon() const;
    // Shows the stored choice as the application's icon.
    static void applyCurrent();

private:
    Value m_value;
};
