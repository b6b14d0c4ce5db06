#pragma once

#include <QColor>
#include <QString>

// An opaque sRGB colour from text such as "#D97757": every "#" at either end
// is dropped and the leading hexadecimal digits are read as one number whose
// lowest 24 bits are red, green and blue. Text without leading digits is black.
QColor hexColor(const QString &text);
