#include "ParseState.h"

QString ParseStates::rawValue(ParseState state)
{
    switch (state) {
    case ParseState::pending: return QStringLiteral("pending");
    case ParseState::parsed: return QStringLiteral("parsed");
    case ParseState::failed: return QStringLiteral("failed");
    }
    return QStringLiteral("pending");
}

ParseState ParseStates::fromRawValue(const QString &rawValue)
{
    if (rawValue == QLatin1String("parsed"))
        return ParseState::parsed;
    if (rawValue == QLatin1String("failed"))
        return ParseState::failed;
    return ParseState::pending;
}
