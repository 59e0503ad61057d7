// Any bytes as an LZH archive: extraction must end (no hang, bounded output) and leave nothing
// but plain files in its output directory, and nothing at all beside it.
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "FuzzFile.h"
#include "document/ArchiveExtract.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavro;
  namespace fs = std::filesystem;
  fuzz::WriteInput("in.lzh", data, size);
  const fs::path out = fs::path(fuzz::FuzzDirectory()) / "out";
  std::error_code ignored;
  fs::remove_all(out, ignored);
  fs::create_directory(out);
  ExtractArchiveFlat(fuzz::FuzzDirectory() + "in.lzh", out.string(), {uint64_t{1} << 24, 64});
  for (const auto& item : fs::directory_iterator(out)) {
    if (!fs::is_regular_file(fs::symlink_status(item.path()))) std::abort();
  }
  size_t beside = 0;
  for (const auto& item : fs::directory_iterator(fuzz::FuzzDirectory())) {
    (void)item;
    ++beside;
  }
  if (beside != 2) std::abort();  // in.lzh and out/
  return 0;
}
