#include "gui/shell/AppSettingsIni.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/FileDoor.h"
#include "platform/NameBytes.h"

namespace tavro {
namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The section a header line opens, if it is one.
std::optional<std::string> SectionOf(const std::string& line) {
  const std::string text = Trimmed(line);
  if (text.empty() || text.front() != '[') return std::nullopt;
  const size_t close = text.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trimmed(text.substr(1, close - 1));
}

bool IsComment(const std::string& line) {
  const std::string text = Trimmed(line);
  return !text.empty() && (text.front() == ';' || text.front() == '#');
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool SurvivesVerbatim(const std::string& path) {
  if (path.empty() || path.front() != '/' || !IsValidUtf8(path)) return false;
  if (path.back() == ' ' || path.back() == '\t') return false;
  for (unsigned char c : path) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

}  // namespace

void IniFile::Load() {
  Lines_.clear();
  std::ifstream in(FilePath_, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Lines_.push_back(line);
  }
}

bool IniFile::Save() const {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(FilePath_).parent_path(), error);
  std::string text;
  for (const std::string& line : Lines_) text += line + '\n';
  // The same safe replace as a saved set: the file keeps its permissions (it may be private),
  // a link to it stays a link, and a failed write leaves the old settings whole.
  ReplaceStep step = ReplaceStep::None;
  int code = 0;
  return ReplaceFile(ResolveLinks(FilePath_), text, step, code);
}

int IniFile::Find(const std::string& section, const std::string& key) const {
  bool inSection = false;
  for (size_t i = 0; i < Lines_.size(); ++i) {
    if (const auto name = SectionOf(Lines_[i])) {
      inSection = EqualsIgnoringCase(*name, section);
      if (inSection && key.empty()) return static_cast<int>(i);
      continue;
    }
    if (!inSection || key.empty() || IsComment(Lines_[i])) continue;
    const size_t equals = Lines_[i].find('=');
    if (equals != std::string::npos &&
        EqualsIgnoringCase(Trimmed(Lines_[i].substr(0, equals)), key)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::optional<std::string> IniFile::Value(const std::string& section,
                                          const std::string& key) const {
  const int line = Find(section, key);
  if (line < 0) return std::nullopt;
  const std::string& text = Lines_[static_cast<size_t>(line)];
  return Trimmed(text.substr(text.find('=') + 1));
}

void IniFile::SetValue(const std::string& section, const std::string& key,
                       const std::string& value) {
  const int existing = Find(section, key);
  if (existing >= 0) {
    std::string& line = Lines_[static_cast<size_t>(existing)];
    line = line.substr(0, line.find('=') + 1) + value;
    return;
  }
  const int header = Find(section, "");
  if (header < 0) {
    if (!Lines_.empty() && !Trimmed(Lines_.back()).empty()) Lines_.emplace_back();
    Lines_.push_back("[" + section + "]");
    Lines_.push_back(key + "=" + value);
    return;
  }
  // After the section's last entry, before the blank lines and the next section.
  size_t at = static_cast<size_t>(header) + 1;
  for (size_t i = at; i < Lines_.size() && !SectionOf(Lines_[i]); ++i) {
    if (!Trimmed(Lines_[i]).empty()) at = i + 1;
  }
  Lines_.insert(Lines_.begin() + static_cast<std::ptrdiff_t>(at), key + "=" + value);
}

void IniFile::Remove(const std::string& section, const std::string& key) {
  const int line = Find(section, key);
  if (line >= 0) Lines_.erase(Lines_.begin() + line);
}

std::string EncodeStoredPath(const std::string& path) {
  if (SurvivesVerbatim(path)) return path;
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                       c == '.' || c == '_' || c == '-' || c == '~';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string DecodeStoredPath(const std::string& stored) {
  if (stored.empty() || stored.front() == '/') return stored;
  std::string out;
  for (size_t i = 0; i < stored.size(); ++i) {
    const int high = i + 2 < stored.size() && stored[i] == '%' ? HexDigit(stored[i + 1]) : -1;
    const int low = high >= 0 ? HexDigit(stored[i + 2]) : -1;
    if (low >= 0) {
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += stored[i];
    }
  }
  return out;
}

}  // namespace tavro
