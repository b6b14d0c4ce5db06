#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <memory>

class Post;

// The order of the library grid, kept as its raw value in the settings.
class SortOrder {
    Q_DECLARE_TR_FUNCTIONS(SortOrder)
public:
    enum Case { collected, published };

    constexpr SortOrder(Case value) : m_value(value) {}
    constexpr operator Case() const { return m_value; }

    static const QList<SortOrder> &allCases();
    // collected for any text that names no order.
    static SortOrder fromRawValue(const QString &rawValue);

    QString rawValue() const;
    QString label() const;
    // Posts given newest saved first. Published order uses the publication
    // time where there is one and the saving time elsewhere, newest first;
    // equal times keep the given order.
    QList<std::shared_ptr<Post>> sorted(QList<std::shared_ptr<Post>> posts) const;

private:
    Case m_value;
};
