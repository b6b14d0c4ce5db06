#pragma once

#include <QString>
#include <stdexcept>

// The tray item's settings and the start at login.
class MenuBarSettings {
public:
    // A login item that could not be written or removed; what() is for the user.
    class LoginItemError : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // "menuBarEnabled": a stored Bool, else true.
    static bool enabled();
    // "menuBarHideDock": a stored Bool, else true. Off, a closed main window
    // keeps its taskbar entry.
    static bool hidesDock();

    // The desktop's autostart entry that starts this executable at login.
    static QString loginItemPath();
    static bool launchesAtLogin();
    // Writes or removes the autostart entry. Throws LoginItemError.
    static void setLaunchAtLogin(bool on);
};
