#pragma once

class QMessageBox;
class QWidget;

// Widens a small window, such as an alert, to what its frame needs for the
// whole title as the desktop shows it ("新建标签 — Kepsel") beside the
// frame's icon and buttons; the window manager would otherwise cut the title.
// Call after the title is set.
void fitWindowTitle(QWidget &window);
// The same for a message box, which sizes itself from its layout alone and
// ignores a minimum width. Call after the last change that lays it out anew.
void fitMessageBoxTitle(QMessageBox &box);
