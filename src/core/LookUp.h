#pragma once

#include <utility>

// The value a table of pairs gives a key, or `otherwise` for a key it does not hold: for
// mappings from one vocabulary to another (a system error to a failure kind, an ending to its
// text) that read as the table they are.
template <class Key, class Value, std::size_t N>
constexpr Value LookUp(const std::pair<Key, Value> (&table)[N], Key key, Value otherwise) {
    for (const auto& [k, v] : table)
        if (k == key)
            return v;
    return otherwise;
}
