#pragma once

#include <QString>

// Where a post stands with parsing; the raw value is the case name.
enum class ParseState { pending, parsed, failed };

namespace ParseStates {
QString rawValue(ParseState state);
// "parsed" and "failed" name their cases; every other text reads as pending.
ParseState fromRawValue(const QString &rawValue);
} // namespace ParseStates
