// Hand-made LZH members for tests and fuzz seeds: stored (uncompressed) members with level-0 and
// level-1 headers, so any name, mode or method can be written, which no well-behaved archiver
// would do.
#pragma once

#include <cstdint>
#include <string>

namespace tavro::test {

inline uint16_t LzhCrc16(const std::string& data) {
  uint16_t crc = 0;
  for (unsigned char byte : data) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}

inline std::string LzhLe32(uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}

// `unixMode` non-zero adds the Unix extension (system 'U', version, time, mode, user, group).
inline std::string StoredLzhMember(const std::string& name, const std::string& data,
                                   uint16_t unixMode = 0, const std::string& method = "-lh0-") {
  const auto size = static_cast<uint32_t>(data.size());
  std::string header = method + LzhLe32(size) + LzhLe32(size) + LzhLe32(0x4B170477) +
                       std::string{0x20, 0x00, static_cast<char>(name.size())} + name;
  const uint16_t crc = LzhCrc16(data);
  header += std::string{static_cast<char>(crc & 0xFF), static_cast<char>(crc >> 8)};
  if (unixMode != 0) {
    header += std::string{'U', 0} + LzhLe32(0) +
              std::string{
                  static_cast<char>(unixMode & 0xFF), static_cast<char>(unixMode >> 8), 0, 0, 0, 0};
  }
  uint8_t sum = 0;
  for (unsigned char c : header) sum = static_cast<uint8_t>(sum + c);
  return std::string{static_cast<char>(header.size()), static_cast<char>(sum)} + header + data;
}

// A level-1 header: the name in the base header as given (folders joined by backslashes), then a
// folder extension when `folder` is not empty (its separators 0xFF), which level-1 readers join
// in front of the name.
inline std::string StoredLzhLevel1Member(const std::string& name, const std::string& data,
                                         const std::string& folder = "") {
  std::string extensions;
  if (!folder.empty()) {
    const auto size = static_cast<uint16_t>(folder.size() + 3);
    extensions += std::string{static_cast<char>(size & 0xFF), static_cast<char>(size >> 8), 0x02};
    extensions += folder;
  }
  extensions += std::string{0, 0};  // no further extension
  // The size field of the first extension sits in the base header; the rest counts as data.
  const std::string firstSize = extensions.substr(0, 2);
  const std::string rest = extensions.substr(2);
  const auto packed = static_cast<uint32_t>(data.size() + rest.size());
  std::string header = "-lh0-" + LzhLe32(packed) + LzhLe32(static_cast<uint32_t>(data.size())) +
                       LzhLe32(0x4B170477) +
                       std::string{0x20, 0x01, static_cast<char>(name.size())} + name;
  const uint16_t crc = LzhCrc16(data);
  header += std::string{static_cast<char>(crc & 0xFF), static_cast<char>(crc >> 8), 'M'};
  header += firstSize;
  uint8_t sum = 0;
  for (unsigned char c : header) sum = static_cast<uint8_t>(sum + c);
  return std::string{static_cast<char>(header.size()), static_cast<char>(sum)} + header + rest +
         data;
}

}  // namespace tavro::test
