#pragma once

#include <QLoggingCategory>

// Log category of the persistence layer.
Q_DECLARE_LOGGING_CATEGORY(storeLog)
