#include "platform/NameEncoding.h"

#include <iconv.h>

namespace tavro {
namespace {

// CP932 rather than SHIFT_JIS: the C library's SHIFT_JIS turns 0x5C into the yen sign, while the
// names were written on systems that read it as a backslash. A C library without CP932 (the
// WebAssembly build's) has a SHIFT_JIS that keeps 0x5C a backslash, and lacks only CP932's
// extra rows.
constexpr char kShiftJis[] = "CP932";
constexpr char kPlainShiftJis[] = "SHIFT_JIS";
constexpr char kUtf8[] = "UTF-8";

iconv_t OpenConverter(const char* from, const char* to) {
  const iconv_t converter = ::iconv_open(to, from);
  if (converter != reinterpret_cast<iconv_t>(-1)) return converter;
  if (from == kShiftJis) return ::iconv_open(to, kPlainShiftJis);
  if (to == kShiftJis) return ::iconv_open(kPlainShiftJis, from);
  return converter;
}

std::optional<std::string> Convert(const std::string& name, const char* from, const char* to) {
  const iconv_t converter = OpenConverter(from, to);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  // A Shift_JIS character of two bytes takes at most three in UTF-8, and one byte at most three.
  std::string out(name.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(name.data());
  size_t inLeft = name.size();
  char* put = out.data();
  size_t outLeft = out.size();
  const size_t done = ::iconv(converter, &in, &inLeft, &put, &outLeft);
  const bool whole =
      done != static_cast<size_t>(-1) && inLeft == 0 &&
      ::iconv(converter, nullptr, nullptr, &put, &outLeft) != static_cast<size_t>(-1);
  ::iconv_close(converter);
  if (!whole) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::optional<std::string> ShiftJisToUtf8(const std::string& name) {
  return Convert(name, kShiftJis, kUtf8);
}

std::optional<std::string> Utf8ToShiftJis(const std::string& name) {
  return Convert(name, kUtf8, kShiftJis);
}

}  // namespace tavro
