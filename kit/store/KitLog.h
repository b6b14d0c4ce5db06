#pragma once

#include <QLoggingCategory>

// The kit's one log category; every kit log line goes through it.
Q_DECLARE_LOGGING_CATEGORY(tamselLog)
