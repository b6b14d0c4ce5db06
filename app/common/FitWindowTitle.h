#pragma once

class QWidget;

// Widens a small window, such as an alert, to what its frame needs for the
// whole title as the desktop shows it ("新建标签 — Kepsel") beside the
// frame's icon and buttons; the window manager would otherwise cut the title.
// Call after the title is set.
void fitWindowTitle(QWidget &window);
