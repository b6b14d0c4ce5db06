#pragma once

#include <QList>
#include <memory>

class PersistentModel;

// What changed in a context since the last announcement: each record appears
// in one list at most, by its net change (one inserted and removed again
// appears nowhere).
struct ModelChanges {
    QList<std::shared_ptr<PersistentModel>> inserted;
    QList<std::shared_ptr<PersistentModel>> updated;
    QList<std::shared_ptr<PersistentModel>> deleted;

    bool isEmpty() const { return inserted.isEmpty() && updated.isEmpty() && deleted.isEmpty(); }
};
