#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The fixed tag colours the board and tag menu offers, with their names.
class TagPalette {
    Q_DECLARE_TR_FUNCTIONS(TagPalette)
public:
    // "#" and six upper-case hexadecimal digits each, in menu order; the
    // first is the colour of every new tag.
    static const QStringList &colors();
    // The colour's name; any other string, letter case included, unchanged.
    static QString name(const QString &color);
};
