#pragma once

#include <QString>
#include <functional>

// Shows a file or folder selected in the desktop's file manager, or, when no
// file manager answers on the session bus, opens the folder itself (or the
// one holding the file).
class FileReveal {
public:
    // Whether something on the desktop took the path.
    using Handler = std::function<bool(const QString &path)>;

    // False when the desktop has nothing to show the path with.
    static bool reveal(const QString &path);
    // Replaces the desktop for tests, so they launch nothing; an empty
    // handler brings the desktop back.
    static void setHandler(Handler handler);
};
