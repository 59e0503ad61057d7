// Opening a file: a configuration directly, an LZH or ZIP archive through a temporary directory.
//
// An archive is extracted once; opening it again reuses its files, and opening another archive
// with Shift held (the front end reads the key and says so) adds its files to the same
// directory. Opening anything without Shift removes the directory first. An archive with several
// configuration files is opened twice: the first open extracts it and offers the names, the
// second finds it already extracted and reads the one the person picked.
#include <algorithm>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

#include "archives/ArchiveExtract.h"
#include "document/CTavroDoc.h"
#include "platform/Directory.h"
#include "platform/NameBytes.h"

namespace tavro {
namespace {

// ".lha" is the same LZH format under its other usual name.
constexpr const char* kArchiveExtensions[] = {".LZH", ".LHA", ".ZIP"};
constexpr char kConfigExtension[] = ".cnf";
constexpr char kTmpDirInvalid[] = "TMPDIR is invalidated";

enum class ArchiveRoute { Repeat, Merge, NewDirectory };

bool EndsWithIgnoringCase(const std::string& name, const std::string& suffix) {
  return name.size() >= suffix.size() &&
         EqualsIgnoringCase(name.substr(name.size() - suffix.size()), suffix);
}

// The configuration files directly in `directory`, in the order the archives held them (`order`,
// see ArchiveSession::ExtractionOrder); any the extractions did not write follow in byte order.
// The directory's own listing order is a hash order on most file systems, which means nothing.
std::vector<std::string> ListConfigFiles(const std::string& directory,
                                         const std::vector<std::string>& order) {
  std::vector<std::string> names;
  ForEachEntry(directory, [&](const DirectoryEntry& entry) {
    const std::string name(entry.Name());
    if (EndsWithIgnoringCase(name, kConfigExtension) && entry.IsPlainFile()) names.push_back(name);
    return true;
  });
  std::unordered_map<std::string, size_t> rank;
  for (size_t i = 0; i < order.size(); ++i) rank.emplace(order[i], i);
  auto rankOf = [&rank, last = order.size()](const std::string& name) {
    const auto found = rank.find(name);
    return found != rank.end() ? found->second : last;
  };
  std::sort(names.begin(), names.end(), [&rankOf](const std::string& a, const std::string& b) {
    const size_t rankA = rankOf(a), rankB = rankOf(b);
    return rankA != rankB ? rankA < rankB : a < b;
  });
  return names;
}

bool IsArchiveExtension(const std::string& extension) {
  return std::any_of(std::begin(kArchiveExtensions), std::end(kArchiveExtensions),
                     [&](const char* known) { return EqualsIgnoringCase(extension, known); });
}

// 20000 as "20,000".
std::string GroupedThousands(uint64_t n) {
  std::string digits = std::to_string(n);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

// A byte count as the largest binary unit that divides it ("1 GiB", "256 MiB").
std::string BinarySize(uint64_t bytes) {
  static constexpr const char* kUnits[] = {"bytes", "KiB", "MiB", "GiB", "TiB"};
  size_t unit = 0;
  while (unit + 1 < std::size(kUnits) && bytes >= 1024 && bytes % 1024 == 0) {
    bytes /= 1024;
    ++unit;
  }
  return std::to_string(bytes) + " " + kUnits[unit];
}

// Why an archive could not be opened, as the user reads it.
std::string ExtractFailure(const ExtractResult& result, const ExtractLimits& limits) {
  const std::string member = std::to_string(result.Member);
  switch (result.Status) {
    case ExtractStatus::Ok:
    case ExtractStatus::Cancelled:
      return "";
    case ExtractStatus::CannotOpen:
      return "it cannot be read (" + result.Detail + ")";
    case ExtractStatus::NotAnArchive:
      return "it is not an archive";
    case ExtractStatus::Corrupt:
      return "it is damaged at member " + member;
    case ExtractStatus::UnsupportedMethod:
      return "member " + member + " is packed with an unsupported method (" + result.Detail + ")";
    case ExtractStatus::TooLarge:
      return "it is too large (more than " + BinarySize(limits.MaxTotalBytes) + " unpacked)";
    case ExtractStatus::TooManyMembers:
      return "it is too large (more than " + GroupedThousands(limits.MaxMembers) + " members)";
    case ExtractStatus::WriteFailed:
      return "its files cannot be written (" + result.Detail + ")";
  }
  return "";
}

}  // namespace

void CTavroDoc::RemoveTempDirectory() {
  if (Session_.Extracted()) Session_.RemoveDirectory();
}

OpenResult CTavroDoc::OnOpenDocument(const std::string& path, const OpenChoice& choice,
                                     OpenProgress& progress) {
  Progress_ = &progress;
  OpenResult result = OpenFile(path, choice);
  Progress_ = &NoOpenProgress();
  return progress.Cancelled() ? AbandonOpen() : result;
}

// What a cancelled choice of configuration file leaves, and the extracted files gone too: a
// cancelled open may have stopped halfway through the archive.
OpenResult CTavroDoc::AbandonOpen() {
  Told_.clear();
  Report_.Problems.Clear();
  Report_.Errors = 0;
  DeleteContents();
  ResetSet();
  RemoveTempDirectory();
  OpenResult result;
  result.Cancelled = true;
  return result;
}

OpenResult CTavroDoc::OpenFile(const std::string& path, const OpenChoice& choice) {
  Told_.clear();
  ArchiveRoute route = ArchiveRoute::NewDirectory;
  // Exactly the same bytes: on a disk that minds case, "A.LZH" and "a.lzh" are two archives.
  if (Session_.IsRepeat(path)) {
    route = ArchiveRoute::Repeat;
  } else if (choice.Merge) {
    if (Session_.InUse()) route = ArchiveRoute::Merge;
  } else {
    RemoveTempDirectory();
  }
  Session_.BeginOpen(path);
  // The report names the file as it was asked for; an archive adds its member below.
  Report_.Problems.Clear(path);
  ResetSet();
  UseSetPath(path);
  OpenResult result;
  if (!IsArchiveExtension(TheSet_.Path().SetExtension)) {
    result.Opened = OpenStep(path);
    if (result.Opened) result.RecentFile = path;
  } else {
    result.Opened = OpenArchive(path, route == ArchiveRoute::Repeat,
                                route == ArchiveRoute::NewDirectory, choice, result);
  }
  result.Messages = TakeTold();
  return result;
}

bool CTavroDoc::OpenArchive(const std::string& path, bool repeat, bool newDirectory,
                            const OpenChoice& choice, OpenResult& result) {
  std::string cnfPath;
  {
    if (newDirectory && !MakeArchiveDirectory()) return false;
    if (!repeat) {
      Session_.MarkExtracted();
      const ExtractResult extracted =
          ExtractArchiveFlat(path, Session_.Directory(), ArchiveLimits_, *Progress_);
      Session_.NoteExtracted(extracted.Names);
      if (extracted.Status == ExtractStatus::Cancelled) return false;
      if (extracted.Status != ExtractStatus::Ok) {
        Session_.ExtractionFailed();
        return TellArchiveFailure(path, ExtractFailure(extracted, ArchiveLimits_));
      }
    }
    const std::vector<std::string> names =
        ListConfigFiles(Session_.Directory(), Session_.ExtractionOrder());
    std::string chosen;
    if (names.empty()) return TellArchiveFailure(path, "there is no configuration file inside");
    if (names.size() == 1) {
      chosen = names.front();
    } else if (choice.ConfigName.empty()) {
      result.ConfigChoices = names;
      return false;
    } else {
      chosen = choice.ConfigName;
    }
    // Only a name the directory really holds; the chooser could hand back anything.
    if (std::find(names.begin(), names.end(), chosen) == names.end()) return false;
    cnfPath = Session_.Directory() + "/" + chosen;
    UseSetPath(cnfPath);
    Report_.Problems.Clear(path + ":" + chosen);
  }
  if (!OpenStep(cnfPath)) return false;
  if (Session_.SetDocument(path)) result.RecentFile = path;
  return true;
}

bool CTavroDoc::MakeArchiveDirectory() {
  bool invalidated = false;
  const std::string base =
      ChooseTempBase(CurrentHost().ProfileString("OPTION", "TMPDIR"), invalidated);
  if (invalidated) Tell(kTmpDirInvalid);
  // Nothing may be extracted anywhere else, so without a directory the open fails.
  if (Session_.MakeDirectory(base)) return true;
  return TellArchiveFailure(Session_.LastOpened(), "no temporary directory can be made");
}

// Said aloud: a silent failure would leave an empty window that looks like a set opened fine.
bool CTavroDoc::TellArchiveFailure(const std::string& path, const std::string& reason) {
  Tell("Cannot open the archive \"" + path + "\": " + reason + ".");
  return false;
}

}  // namespace tavro
