#pragma once

// The position of a virtual operation in its class's primary table, read from a
// member pointer as the x86-64 C++ ABI lays it out (the pointer field holds the
// byte offset in the table plus one). SIZE_MAX where that layout does not apply.
// Shared by the test groups (target tambrix_test_support).

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tambrix::test
{

template <class MemberPointer>
std::size_t VirtualSlot(MemberPointer member)
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    struct Layout
    {
        std::uintptr_t pointer;
        std::ptrdiff_t adjustment;
    };
    static_assert(sizeof(MemberPointer) == sizeof(Layout), "member pointer layout");
    Layout layout{};
    std::memcpy(&layout, &member, sizeof layout);
    if ((layout.pointer & 1u) == 0 || layout.adjustment != 0)
        return SIZE_MAX; // not virtual, or not in the primary table
    return (layout.pointer - 1) / sizeof(void*);
#else
    (void)member;
    return SIZE_MAX;
#endif
}

} // namespace tambrix::test
