#include "BackupError.h"
#include "FuzzCheck.h"
#include "SyncState.h"

namespace {

// The merge looks records up by upper-case id text only.
bool keysAreUpperCase(const QList<QString> &keys)
{
    return std::all_of(keys.cbegin(), keys.cend(), [](const QString &key) { return key == key.toUpper(); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = Fuzz::bytes(data, size);
    Sync::State state;
    try {
        state = Sync::State::decode(input);
    } catch (const Backup::BackupError &error) {
        Fuzz::require(error.kind() == Backup::BackupError::Kind::unreadable, "a bad state is unreadable");
        return 0;
    }
    Fuzz::require(keysAreUpperCase(state.hashes.keys()) && keysAreUpperCase(state.stamps.keys()) &&
                      keysAreUpperCase(state.tombstones.keys()),
                  "keys are upper-case");
    const QByteArray bytes = state.encode();
    const Sync::State reread = Sync::State::decode(bytes);
    Fuzz::require(reread == state, "a state written and read back is equal");
    Fuzz::require(reread.encode() == bytes, "a state rewritten gives the same bytes");
    return 0;
}
