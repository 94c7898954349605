#pragma once

// Private to the library's sources: not a public header.

#include "AAX.h"
#include "AAX_Errors.h"

namespace AAXLibraryPrivate
{

// Runs one host-facing operation; an exception never crosses the interface, it becomes
// AAX_ERROR_UNKNOWN_EXCEPTION.
template <class Operation>
AAX_Result Guarded(Operation&& operation) noexcept
{
    try
    {
        return operation();
    }
    catch (...)
    {
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
}

} // namespace AAXLibraryPrivate
