// Opening a file: a configuration directly, an LZH archive through a temporary directory.
//
// An archive is extracted once; opening it again reuses its files, and opening another archive
// with Shift held adds its files to the same directory. Opening anything without Shift removes
// the directory first.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "document/ArchiveExtract.h"
#include "document/CTavroDoc.h"
#include "document/TempDirectory.h"
#include "platform/FileLookup.h"

namespace tavro {
namespace {

constexpr char kArchiveExtension[] = ".LZH";
constexpr char kConfigExtension[] = ".cnf";
constexpr char kTmpDirInvalid[] = "TMPDIR is invalidated";

enum class ArchiveRoute { Repeat, Merge, NewDirectory };

class WaitCursor {
 public:
  explicit WaitCursor(Host& host) : host_(host) { host_.BeginWaitCursor(); }
  ~WaitCursor() { host_.EndWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Host& host_;
};

bool EndsWithIgnoringCase(const std::string& name, const std::string& suffix) {
  return name.size() >= suffix.size() &&
         EqualsIgnoringCase(name.substr(name.size() - suffix.size()), suffix);
}

// The configuration files directly in `directory`, in the order the directory lists them.
std::vector<std::string> ListConfigFiles(const std::string& directory) {
  std::vector<std::string> names;
  struct CloseDir {
    void operator()(DIR* d) const { ::closedir(d); }
  };
  std::unique_ptr<DIR, CloseDir> listing(::opendir(directory.c_str()));
  if (!listing) return names;
  while (const dirent* item = ::readdir(listing.get())) {
    const std::string name = item->d_name;
    struct stat info {};
    const std::string path = directory + "/" + name;
    if (EndsWithIgnoringCase(name, kConfigExtension) && ::lstat(path.c_str(), &info) == 0 &&
        S_ISREG(info.st_mode)) {
      names.push_back(name);
    }
  }
  return names;
}

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

}  // namespace

void CTavroDoc::SplitSetPath(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  SetDirectory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = file.find_last_of('.');
  SetBaseName = dot == std::string::npos ? file : file.substr(0, dot);
  SetExtension = dot == std::string::npos ? std::string() : file.substr(dot);
}

void CTavroDoc::SetArchivePath(const std::string& path) {
  ArchiveDocumentPath = path;
  const size_t slash = path.find_last_of('/');
  ArchiveDocumentTitle = UpperCase(slash == std::string::npos ? path : path.substr(slash + 1));
  const bool insideTemp = ExtractedFromArchive == 1 && !TempDirectory.empty() &&
                          path.size() >= TempDirectory.size() &&
                          EqualsIgnoringCase(path.substr(0, TempDirectory.size()), TempDirectory);
  if (!insideTemp) host().AddToRecentFiles(path);
}

bool CTavroDoc::OnOpenDocument(const std::string& path) {
  // A repeat reuses what was extracted, so it needs a directory that is still in use: after
  // the directory has gone, its old name could belong to someone else by now.
  const bool inUse = ExtractedFromArchive == 1 && !TempDirectory.empty();
  ArchiveRoute route = ArchiveRoute::NewDirectory;
  if (inUse && EqualsIgnoringCase(path, ArchivePath)) {
    route = ArchiveRoute::Repeat;
  } else if (host().IsShiftDown()) {
    if (inUse) route = ArchiveRoute::Merge;
  } else {
    RemoveTempDirectory();
  }
  ArchivePath = path;
  ResetForOpen();
  SplitSetPath(path);
  if (!EqualsIgnoringCase(SetExtension, kArchiveExtension)) return RunOpenStep(path);
  return OpenArchive(path, route == ArchiveRoute::Repeat, route == ArchiveRoute::NewDirectory);
}

bool CTavroDoc::OpenArchive(const std::string& path, bool repeat, bool newDirectory) {
  std::string cnfPath;
  {
    WaitCursor wait(host());
    if (newDirectory && !MakeArchiveDirectory()) return false;
    if (!repeat) {
      ExtractedFromArchive = 1;
      if (ExtractArchiveFlat(path, TempDirectory).status != ExtractStatus::Ok) return false;
    }
    const std::vector<std::string> names = ListConfigFiles(TempDirectory);
    std::string chosen;
    if (names.empty()) return false;
    if (names.size() == 1) {
      chosen = names.front();
    } else if (!host().ChooseConfigFile(names, chosen)) {
      return false;
    }
    // Only a name the directory really holds; the chooser could hand back anything.
    if (std::find(names.begin(), names.end(), chosen) == names.end()) return false;
    cnfPath = TempDirectory + "/" + chosen;
    SplitSetPath(cnfPath);
  }
  if (!RunOpenStep(cnfPath)) return false;
  SetArchivePath(path);
  return true;
}

bool CTavroDoc::MakeArchiveDirectory() {
  bool invalidated = false;
  const std::string base = ChooseTempBase(host().ProfileString("OPTION", "TMPDIR"), invalidated);
  if (invalidated) host().ShowMessage(kTmpDirInvalid, "", MessageIcon::Exclamation);
  const std::string made = MakeTempDirectory(base);
  // Nothing may be extracted anywhere else, so without a directory the open fails.
  if (made.empty()) return false;
  TempDirectory = made;
  return true;
}

}  // namespace tavro
