#include "archives/LzhHeaderName.h"

#include "platform/Bytes.h"
#include "platform/NameBytes.h"

namespace tavro {
namespace {

constexpr size_t kLevelOffset = 20;
constexpr size_t kShortNameOffset = 22;       // level 0 and 1: length byte before it
constexpr size_t kLongExtensionsOffset = 24;  // level 2 and 3: first extended header size
constexpr uint8_t kFileNameExtension = 0x01;
constexpr uint8_t kFolderNameExtension = 0x02;

struct ExtendedNames {
  std::optional<std::string> File;
  std::optional<std::string> Folder;
};

// Walks the chain of extended headers that starts with a `width`-byte size at `offset`. Each one
// is its type, its data and the size of the next, its own size counting all three.
bool ReadExtendedHeaders(const uint8_t* header, size_t length, size_t offset, size_t width,
                         ExtendedNames& names) {
  if (offset > length || width > length - offset) return false;
  size_t size = ReadLittleEndian(header + offset, width);
  offset += width;
  while (size != 0) {
    if (size < 1 + width || size > length - offset) return false;
    const uint8_t type = header[offset];
    std::string data(reinterpret_cast<const char*>(header + offset + 1), size - 1 - width);
    if (type == kFileNameExtension) names.File = std::move(data);
    if (type == kFolderNameExtension) names.Folder = std::move(data);
    const size_t next = ReadLittleEndian(header + offset + size - width, width);
    offset += size;
    size = next;
  }
  return true;
}

}  // namespace

std::optional<LzhStoredName> ReadLzhStoredName(const uint8_t* header, size_t length) {
  if (header == nullptr || length <= kShortNameOffset) return std::nullopt;
  const uint8_t level = header[kLevelOffset];
  std::string fileName;
  ExtendedNames extended;
  if (level == 0 || level == 1) {
    const size_t nameLength = header[kShortNameOffset - 1];
    if (kShortNameOffset + nameLength > length) return std::nullopt;
    fileName.assign(reinterpret_cast<const char*>(header + kShortNameOffset), nameLength);
    // Level 1 goes on with the data's check sum and the system's mark before its extensions.
    const size_t extensions = kShortNameOffset + nameLength + 3;
    if (level == 1 && !ReadExtendedHeaders(header, length, extensions, 2, extended)) {
      return std::nullopt;
    }
  } else if (level == 2 || level == 3) {
    if (!ReadExtendedHeaders(header, length, kLongExtensionsOffset, level == 2 ? 2 : 4, extended)) {
      return std::nullopt;
    }
  } else {
    return std::nullopt;
  }
  if (extended.File) fileName = *extended.File;

  LzhStoredName stored;
  if (extended.Folder) {
    stored.Components = SplitNameComponents(*extended.Folder, true);
    stored.Absolute = StartsWithSeparator(*extended.Folder, true);
  } else {
    stored.Absolute = StartsWithSeparator(fileName, true);
  }
  for (std::string& part : SplitNameComponents(fileName, true)) {
    stored.Components.push_back(std::move(part));
  }
  // A name that ends in a separator is a folder's.
  if (stored.Components.empty() || !fileName.ends_with(stored.Components.back())) {
    stored.Components.clear();
  }
  return stored;
}

}  // namespace tavro
