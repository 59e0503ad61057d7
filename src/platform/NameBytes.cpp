#include "platform/NameBytes.h"

namespace tavro {
namespace {

bool IsShiftJisTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// How many bytes the character at `i` takes: two for a Shift_JIS pair, else one. In a UTF-8
// name every byte stands for itself here, since no byte of a multi-byte character is ASCII.
size_t CharacterLength(const std::string& name, size_t i, bool utf8) {
  const auto lead = static_cast<unsigned char>(name[i]);
  if (utf8 || !IsShiftJisLeadByte(lead) || i + 1 >= name.size()) return 1;
  return IsShiftJisTrailByte(static_cast<unsigned char>(name[i + 1])) ? 2 : 1;
}

bool IsSeparator(unsigned char byte, bool ffSeparates) {
  return byte == '/' || byte == '\\' || (ffSeparates && byte == 0xFF);
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool IsShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsValidUtf8(const std::string& bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    size_t extra = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the first continuation byte
    if (lead < 0x80) {
      extra = 0;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (extra > 0 && i + extra >= bytes.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
    }
    i += extra + 1;
  }
  return true;
}

std::vector<std::string> SplitNameComponents(const std::string& name, bool ffSeparates) {
  const bool utf8 = IsValidUtf8(name);
  std::vector<std::string> parts;
  std::string current;
  for (size_t i = 0; i < name.size();) {
    const size_t length = CharacterLength(name, i, utf8);
    if (length == 1 && IsSeparator(static_cast<unsigned char>(name[i]), ffSeparates)) {
      if (!current.empty()) parts.push_back(current);
      current.clear();
    } else {
      current.append(name, i, length);
    }
    i += length;
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

bool StartsWithSeparator(const std::string& name, bool ffSeparates) {
  return !name.empty() && IsSeparator(static_cast<unsigned char>(name[0]), ffSeparates);
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  const bool utf8 = IsValidUtf8(a);
  for (size_t i = 0; i < a.size();) {
    const size_t length = CharacterLength(a, i, utf8);
    if (length == 2) {
      if (a.compare(i, 2, b, i, 2) != 0) return false;
    } else if (LowerAscii(a[i]) != LowerAscii(b[i])) {
      return false;
    }
    i += length;
  }
  return true;
}

std::string UpperCaseAscii(const std::string& name) {
  std::string out = name;
  const bool utf8 = IsValidUtf8(name);
  for (size_t i = 0; i < out.size();) {
    const size_t length = CharacterLength(out, i, utf8);
    if (length == 1 && out[i] >= 'a' && out[i] <= 'z')
      out[i] = static_cast<char>(out[i] - 'a' + 'A');
    i += length;
  }
  return out;
}

PathParts SplitPath(const std::string& path) {
  PathParts parts;
  const size_t slash = path.find_last_of('/');
  parts.Folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  parts.Name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = parts.Name.find_last_of('.');
  parts.Base = dot == std::string::npos ? parts.Name : parts.Name.substr(0, dot);
  parts.Extension = dot == std::string::npos ? std::string() : parts.Name.substr(dot);
  return parts;
}

}  // namespace tavro
