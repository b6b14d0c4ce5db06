#pragma once

#include <QStringList>

class QWidget;

// The texts a person can see in a window: its title, and the labels,
// buttons, placeholders, list entries, tabs, headers, menu entries and tool
// tips of every widget shown in it, with the texts our own widgets paint
// (segments, chips, sidebar rows, titles, board and tag tiles) and their
// accessible names. Entries of file-system views are the user's own names
// and are left out.
QStringList visibleTexts(const QWidget &window);

// The texts of labels and buttons in the window that are cut off: narrower
// (or, wrapped, lower) than their text, or reaching out of their container.
QStringList cutOffTexts(const QWidget &window);

// Pairs of label and button texts in the window that lie over one another.
QStringList overlappingTexts(const QWidget &window);
