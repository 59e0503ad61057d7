#include "support/TempDir.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace tavro::test {

TempDir::TempDir() {
  // A count in the name: the WebAssembly C library draws its random part from a clock of whole
  // milliseconds, so two folders made within one would get the same name.
  static int made = 0;
  const std::string name = "tavro-test-" + std::to_string(++made) + "-XXXXXX";
  std::string pattern = (std::filesystem::temp_directory_path() / name).string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = buffer.data();
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace tavro::test
