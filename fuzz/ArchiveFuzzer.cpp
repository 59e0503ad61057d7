// Fuzzes opening an archive: the bytes are written as an ".lzh" file (liblhasa's reader) or, in
// the build with TAVRO_FUZZ_ZIP, as a ".zip" file (libarchive's), and opened the way the
// window's Open command does, extracting into a temporary directory and loading the set found
// there. Whatever the bytes, nothing may appear outside that temporary directory, and once the
// document lets go of it the directory must be gone with everything in it.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "FuzzFiles.h"
#include "document/CTavroDoc.h"
#include "platform/Host.h"

namespace tavro::fuzz {
namespace {

namespace fs = std::filesystem;

#ifdef TAVRO_FUZZ_ZIP
constexpr char kArchiveName[] = "in/deep/set.zip";
#else
constexpr char kArchiveName[] = "in/deep/set.lzh";
#endif

// The archive lies two levels down in the sandbox, so that a member named "../../x" would land
// inside the sandbox where the check below sees it.
struct Sandbox {
  std::string Root;      // everything the open may touch lives below here
  std::string Archive;   // root + kArchiveName
  std::string TempBase;  // root + "tmp": the configured TMPDIR
};

const Sandbox& TheSandbox() {
  static const Sandbox kSandbox = [] {
    Sandbox made;
    made.Root = ScratchDirectory() + "sandbox/";
    made.Archive = made.Root + kArchiveName;
    made.TempBase = made.Root + "tmp";
    fs::create_directories(made.Root + "in/deep");
    fs::create_directories(made.TempBase);
    return made;
  }();
  return kSandbox;
}

bool IsInside(const fs::path& path, const std::string& directory) {
  const std::string text = path.string();
  return !directory.empty() && text.size() > directory.size() &&
         text.compare(0, directory.size(), directory) == 0 && text[directory.size()] == '/';
}

// Every entry of the sandbox must be one we made or lie inside the extraction directory.
void CheckNothingOutside(const Sandbox& sandbox, const std::string& extracted) {
  std::error_code error;
  for (fs::recursive_directory_iterator it(sandbox.Root, error), end; !error && it != end;
       it.increment(error)) {
    const fs::path& path = it->path();
    const std::string text = path.string();
    const bool ours = text == sandbox.Root + "in" || text == sandbox.Root + "in/deep" ||
                      text == sandbox.Archive || text == sandbox.TempBase || text == extracted;
    if (!ours && !IsInside(path, extracted))
      Fail("written outside the temporary directory: " + text);
  }
  if (error) Fail("cannot list the sandbox: " + error.message());
}

void CheckTempBaseEmpty(const Sandbox& sandbox) {
  std::error_code error;
  if (!fs::is_empty(sandbox.TempBase, error) || error) {
    Fail("the temporary directory was left behind");
  }
}

}  // namespace
}  // namespace tavro::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavro;
  using namespace tavro::fuzz;
  const Sandbox& sandbox = TheSandbox();
#ifndef TAVRO_FUZZ_ZIP
  // Those would be read as ZIP: the other harness's part.
  if (size >= 2 && data[0] == 'P' && data[1] == 'K') return 0;
#endif
  if (!WriteWholeFile(sandbox.Archive, data, size)) Fail("cannot write the archive");
  std::string extracted;
  {
    NullHost host;
    host.TmpDir = sandbox.TempBase;
    CTavroDoc doc(host);
    // Several configuration files: the first offered is picked, as a person might.
    const OpenResult first = doc.OnOpenDocument(sandbox.Archive);
    if (!first.ConfigChoices.empty())
      doc.OnOpenDocument(sandbox.Archive, {false, first.ConfigChoices.front()});
    doc.StartLoadedSet();
    extracted = doc.Archive().Directory();
    if (!extracted.empty() && !IsInside(extracted, sandbox.TempBase)) {
      Fail("extracted outside the configured TMPDIR: " + extracted);
    }
    CheckNothingOutside(sandbox, extracted);
    // Opening it again reuses what was extracted.
    doc.OnOpenDocument(sandbox.Archive);
    doc.StartLoadedSet();
    CheckNothingOutside(sandbox, doc.Archive().Directory());
  }
  CheckTempBaseEmpty(sandbox);
  return 0;
}
