#include "KitLog.h"

Q_LOGGING_CATEGORY(tamselLog, "KepselKit")
