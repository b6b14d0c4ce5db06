#pragma once

#include <functional>

// What a fetch returns: the records of one type that pass the predicate, in
// the order of sortedBy (a less-than), at most limit of them (0: all).
template <class T> struct FetchDescriptor {
    std::function<bool(const T &)> predicate;
    std::function<bool(const T &, const T &)> sortedBy;
    int limit = 0;
};
