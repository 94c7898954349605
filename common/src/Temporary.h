#pragma once

namespace tambrix::io
{

// Removes the named temporary file an OutputFile is writing, if any, as the
// process ends without unwinding (safe in a signal or terminate handler).
void removeTemporaryNow() noexcept;

} // namespace tambrix::io
