#pragma once

#include <QString>

class QWidget;

// Remembers where the main window was and how large, in a state file in the
// application's config folder.
class WindowGeometry {
public:
    static QString filePath();
    // Puts the window where it was; a first start, or a file that cannot be
    // read, gives the default size.
    static void restore(QWidget &window);
    static void save(const QWidget &window);

    static constexpr int defaultWidth = 1280;
    static constexpr int defaultHeight = 820;
};
