#pragma once

#include <QString>

// User text (a tag's, board's or author's name, a title) as the text of a
// menu entry, button, chip, check box or buddy label: each takes "&" as the
// mark of a shortcut letter, so "R&D" would show as "RD" with the D
// underlined and Alt+D would press it. Each "&" is doubled, and the control
// shows the text as written and takes no shortcut from it.
QString menuText(const QString &text);
