#include "FuzzCheck.h"
#include "JSON.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

namespace {

// Deeply nested or very wide documents are checked in part; the reader itself
// has read all of them.
constexpr int nodeBudget = 2000;

// A number and its text read alike, as platforms send numbers either way.
void checkNumberText(const JSON &number)
{
    const std::optional<QString> text = number.string();
    Fuzz::require(text.has_value(), "a number has a text");
    const JSON asText{QJsonValue(*text)};
    Fuzz::require(asText.doubleValue() == number.doubleValue(), "a number's text reads as the same double");
    Fuzz::require(asText.intValue() == number.intValue(), "a number's text reads as the same integer");
}

void checkReaders(const JSON &value)
{
    const std::optional<double> number = value.doubleValue();
    const std::optional<qint64> integer = value.intValue();
    if (integer) {
        Fuzz::require(number.has_value(), "an integer is also a double");
        Fuzz::require(std::fabs(*number) >= 9007199254740992.0 || std::fabs(double(*integer) - *number) < 1,
                      "an integer is the double truncated");
    }
    if (number && !std::isfinite(*number))
        Fuzz::require(!integer, "an infinite number has no integer");
    value.boolValue();
    value.stringValue();
    if (value.raw().isDouble())
        checkNumberText(value);
    Fuzz::require(value.exists() == !(value.raw().isNull() || value.raw().isUndefined()), "exists");
}

void walk(const JSON &value, int &budget)
{
    if (--budget < 0)
        return;
    checkReaders(value);
    if (value.raw().isArray()) {
        const QList<JSON> elements = value.array();
        Fuzz::require(elements.size() == value.raw().toArray().size(), "every element is listed");
        Fuzz::require(!value[elements.size()].exists() && !value[-1].exists(), "outside the array is empty");
        for (const JSON &element : elements)
            walk(element, budget);
    } else if (value.raw().isObject()) {
        const QMap<QString, JSON> members = value.dictionary();
        for (auto member = members.cbegin(); member != members.cend(); ++member) {
            Fuzz::require(value[member.key()].raw() == member->raw(), "a member is found by its key");
            walk(*member, budget);
        }
    } else {
        Fuzz::require(!value[0].exists() && !value["k"].exists(), "a scalar has no members");
    }
}

// What Qt writes, the reader reads back unchanged.
void checkRoundTrip(const JSON &value)
{
    const QByteArray written = QJsonDocument(QJsonArray{value.raw()}).toJson(QJsonDocument::Compact);
    const JSON reread = JSON::fromData(written.mid(1, written.size() - 2));
    Fuzz::require(reread.raw() == value.raw(), "a value written and read back is equal");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    JSON value;
    try {
        value = JSON::fromData(Fuzz::bytes(data, size));
    } catch (const JSONError &) {
        return 0;
    }
    int budget = nodeBudget;
    walk(value, budget);
    checkRoundTrip(value);
    return 0;
}
