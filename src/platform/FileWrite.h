// Writing to an open file descriptor.
#pragma once

#include <cstddef>

namespace tavro {

// Writes all `size` bytes, going on after short writes and interrupted calls; false on an error.
bool WriteAll(int fd, const char* data, size_t size);

}  // namespace tavro
