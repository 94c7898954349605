#pragma once

// The host stand-in and the library each declare the base interface on their
// own, as two separately built programs would; these casts carry a pointer from
// one declaration to the other.

#include "acfunknown.h"

#include "aaxhost/Interfaces.h"

namespace tambrix::test
{

// The empty asm hides where the pointer comes from, as that separation does: an
// optimiser that sees the object's type would otherwise treat calls through the
// other side's declaration as impossible and drop them.
template <class To>
To* acrossTheBoundary(void* pointer)
{
    asm volatile("" : "+r"(pointer));
    return static_cast<To*>(pointer);
}

inline IACFUnknown* asLibrary(aaxhost::IACFUnknown* unknown)
{
    return acrossTheBoundary<IACFUnknown>(unknown);
}

inline aaxhost::IACFUnknown* asHost(IACFUnknown* unknown)
{
    return acrossTheBoundary<aaxhost::IACFUnknown>(unknown);
}

} // namespace tambrix::test
