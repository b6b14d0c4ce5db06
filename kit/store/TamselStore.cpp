#include "TamselStore.h"

const QString TamselStore::baseIdentifier = QStringLiteral("app.kepsel");
const QString TamselStore::appGroup = QStringLiteral("group.") + TamselStore::baseIdentifier;
const QString TamselStore::cloudContainer = QStringLiteral("iCloud.") + TamselStore::baseIdentifier;
