#pragma once

#include <cstddef>
#include <cstdint>
#include <QByteArray>
#include <QString>

// Helpers for fuzz targets. Each target defines
//     extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
// which libFuzzer calls with generated inputs and the replay program calls
// with every seed of the target's corpus.
namespace Fuzz {

// The input as bytes, without a copy.
inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The input read as UTF-8, as pages and pasted texts are read.
inline QString text(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Ends the run with the property that failed, so that libFuzzer keeps the
// input and the replay test fails.
[[noreturn]] void fail(const char *property);

inline void require(bool holds, const char *property)
{
    if (!holds)
        fail(property);
}

} // namespace Fuzz
