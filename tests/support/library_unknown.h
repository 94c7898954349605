#pragma once

// The host stand-in and the library each declare the base interface on their
// own, as two separately built programs would; these casts carry a pointer from
// one declaration to the other.

#include "acfunknown.h"

#include "aaxhost/Interfaces.h"

namespace tambrix::test
{

inline IACFUnknown* asLibrary(aaxhost::IACFUnknown* unknown)
{
    return reinterpret_cast<IACFUnknown*>(unknown);
}

inline aaxhost::IACFUnknown* asHost(IACFUnknown* unknown)
{
    return reinterpret_cast<aaxhost::IACFUnknown*>(unknown);
}

} // namespace tambrix::test
