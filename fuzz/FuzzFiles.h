// Files the harnesses share: a scratch directory per fuzzing process and the small set of cel
// and palette files that fuzzed configurations and scripts refer to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavro::fuzz {

// A fresh directory for this process, made on first use and removed at exit. Ends in '/'.
const std::string& ScratchDirectory();

// A directory inside the scratch directory holding the fixed set files (made once):
//   pal.kcf   old-form palette        wide.kcf  new-form 24-bit palette of 256 colours
//   a.cel     old-form 4-bit cel      b.cel     new-form 8-bit cel with an offset
//   c.cel     new-form 32-bit cel     d.cel     new-form 4-bit cel
//   e.cel     32-bit pixels under the indexed mark
// Ends in '/'.
const std::string& FixedSetDirectory();

// Replaces `path` with exactly these bytes; false when it cannot be written.
bool WriteWholeFile(const std::string& path, const uint8_t* data, size_t size);
bool WriteWholeFile(const std::string& path, const std::string& text);

// Stops the process with a message naming the broken promise: libFuzzer then keeps the input.
[[noreturn]] void Fail(const std::string& what);

}  // namespace tavro::fuzz
