// The host's small tables keyed by identifier: a vector of (identifier, value)
// pairs in the order of first entry, each identifier at most once. Private to
// aaxhost_core.
#pragma once

#include "aaxhost/Uid.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace aaxhost
{

// The entry for `id`, or table.end().
template <class Table>
auto findEntry(Table& table, const Uid& id)
{
    return std::find_if(table.begin(), table.end(), [&](const auto& entry) { return entry.first == id; });
}

// Sets the value for `id`, appending an entry when there is none; answers the
// value it replaced (empty when appended), for the caller to drop when it chooses.
template <class Value>
Value putEntry(std::vector<std::pair<Uid, Value>>& table, const Uid& id, Value value)
{
    const auto found = findEntry(table, id);
    if (found != table.end())
        return std::exchange(found->second, std::move(value));
    table.emplace_back(id, std::move(value));
    return Value{};
}

} // namespace aaxhost
