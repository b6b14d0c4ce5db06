#pragma once

#include "PasswordCheck.h"

// The login password of the user running the application, checked through
// PAM in a worker thread: PAM modules block, and on failure they wait on
// purpose before answering.
class PamPasswordCheck : public PasswordCheck {
public:
    // Service "kepsel", which falls back to the system's "other" rules when
    // no file of its own is installed.
    static const char *const serviceName;

    QCoro::Task<bool> verify(QString password) override;
};
