#pragma once

// Makes SQLite's default file system fail every write with a chosen result
// code, as a failing disk would, while an instance lives. Files opened while
// it is in place keep failing on demand until they are closed.
class FailingWrites {
public:
    FailingWrites();
    ~FailingWrites();
    FailingWrites(const FailingWrites &) = delete;
    FailingWrites &operator=(const FailingWrites &) = delete;

    // Writes fail with `resultCode` from now on; 0 lets them through again.
    void failWith(int resultCode);
};
