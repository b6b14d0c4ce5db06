#pragma once

#include <QString>

class QWidget;

// Saves the widget as "<build>/screenshots/<name>.png" for a person to look
// at; returns whether the file was written.
bool saveScreenshot(QWidget &widget, const QString &name);
