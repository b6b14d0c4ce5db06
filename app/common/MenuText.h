#pragma once

#include <QString>

// User text (a tag's, board's or author's name) as a menu entry's text: a
// menu takes "&" as the mark of a shortcut letter, so "R&D" would show as
// "RD" with the D underlined. Each "&" is doubled, and the entry shows the
// text as written.
QString menuText(const QString &text);
