#include "document/CArchive.h"

#include <cstring>

namespace tavro {

size_t CArchive::Read(void* destination, size_t count) {
  if (Input == nullptr || count == 0) return 0;
  Input->read(static_cast<char*>(destination), static_cast<std::streamsize>(count));
  return static_cast<size_t>(Input->gcount());
}

bool CArchive::Write(const void* source, size_t count) {
  if (Output == nullptr) return false;
  Output->write(static_cast<const char*>(source), static_cast<std::streamsize>(count));
  return static_cast<bool>(*Output);
}

bool CArchive::WriteText(const char* text) { return Write(text, std::strlen(text)); }

}  // namespace tavro
