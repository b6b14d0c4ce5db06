#pragma once

#include "PluginInfo.h"

// The plug-in's entry point: describes it to the plug-in registry, installs
// it once for a user who already entered a bot token, and attaches it to
// the kit's hooks. Main thread.
class TelegramModule {
public:
    static const PluginInfo &info();
    static bool isInstalled();
    // Registers the plug-in at every call; the hooks are attached only once
    // per process.
    static void registerModule();
    // Marks the plug-in installed; what a setup link carries is its host's.
    static void installFromSetupLink();

private:
    static void attachHooks();
};
