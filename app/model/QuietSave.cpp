#include "QuietSave.h"

#include "KitLog.h"
#include "ModelContext.h"
#include "StoreError.h"

void saveQuietly(ModelContext &context)
{
    try {
        context.save();
    } catch (const StoreError &error) {
        qCWarning(tamselLog, "save failed: %s", error.what());
    }
}
