#pragma once

#include "Text.h"

// Tags and boards listed by name read in one order everywhere: the
// locale's, case-insensitive, with numbers by their value ("tag2" before
// "tag10").
namespace NameOrder {

template <typename Record> bool less(const Record &a, const Record &b)
{
    return Text::localizedStandardLess(a.name(), b.name());
}

} // namespace NameOrder
