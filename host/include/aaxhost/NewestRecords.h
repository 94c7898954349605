#pragma once

#include <cstddef>
#include <deque>
#include <iterator>
#include <utility>
#include <vector>

namespace aaxhost
{

// The newest `Kept` records of a stream that may go on for as long as a session
// plays, and how many older ones were dropped to keep no more. Not thread-safe.
template <class T, std::size_t Kept>
class NewestRecords
{
    static_assert(Kept > 0);

public:
    void add(T record)
    {
        if (records_.size() == Kept)
        {
            records_.pop_front();
            ++dropped_;
        }
        records_.push_back(std::move(record));
    }
    // The records kept, oldest first.
    std::vector<T> records() const { return {records_.begin(), records_.end()}; }
    // records(), and how many were dropped in *dropped (when given); then none of either.
    std::vector<T> take(std::size_t* dropped = nullptr)
    {
        if (dropped != nullptr)
            *dropped = dropped_;
        dropped_ = 0;
        std::deque<T> taken = std::exchange(records_, {});
        return {std::make_move_iterator(taken.begin()), std::make_move_iterator(taken.end())};
    }
    void clear() { take(); }

private:
    std::deque<T> records_;
    std::size_t dropped_ = 0;
};

} // namespace aaxhost
