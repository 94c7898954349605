#pragma once

// What the io library's own sources share.

#include <cstddef>

namespace tambrix::io
{

// Writes all `size` bytes to `fd`; false, with errno set (EIO for a write of
// nothing), when a write fails.
bool writeAll(int fd, const char* data, std::size_t size);

// Removes the named temporary file an OutputFile is writing, if any, as the
// process ends without unwinding (safe in a signal or terminate handler).
void removeTemporaryNow() noexcept;

} // namespace tambrix::io
