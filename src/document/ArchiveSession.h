// The archive a set came out of, and the temporary directory its files were extracted into.
//
// An archive is extracted once into a directory of its own; opening it again reuses the files,
// and opening another archive with Shift held adds its files to the same directory. The
// directory goes when something else is opened without Shift and when the document goes.
#pragma once

#include <string>
#include <vector>

namespace tavro {

class ArchiveSession {
 public:
  ArchiveSession() = default;
  // Files extracted from an archive do not outlive the program.
  ~ArchiveSession();
  ArchiveSession(const ArchiveSession&) = delete;
  ArchiveSession& operator=(const ArchiveSession&) = delete;

  // The temporary directory (absolute, no trailing '/'); "" before one has been made.
  const std::string& Directory() const { return TempDirectory_; }
  // Were files extracted into Directory() and not removed since? Also true after a failed
  // extraction: what it wrote is removed later like the rest.
  bool Extracted() const { return ExtractedFromArchive_; }
  // A set read from extracted files is never saved: its configuration would be lost with them.
  bool SavingAllowed() const { return !ExtractedFromArchive_; }
  // Opening `path` again: the same bytes as the remembered archive, its directory still in use.
  // After the directory has gone its old name could belong to someone else by now.
  bool IsRepeat(const std::string& path) const {
    return InUse() && RepeatAllowed_ && path == ArchivePath_;
  }
  // A directory with extracted files in it, which another archive may join.
  bool InUse() const { return ExtractedFromArchive_ && !TempDirectory_.empty(); }

  // The file being opened, archive or not; forgets the document path and title of the last one.
  void BeginOpen(const std::string& path);
  const std::string& LastOpened() const { return ArchivePath_; }
  // The extraction of the archive being opened stopped partway: opening it again must unpack it
  // afresh rather than read the part it wrote as if it were the whole.
  void ExtractionFailed() { RepeatAllowed_ = false; }

  // Makes a new directory under `base` (see ChooseTempBase); false when none can be made.
  bool MakeDirectory(const std::string& base);
  // Files are about to be written into the directory.
  void MarkExtracted() { ExtractedFromArchive_ = true; }
  // An extraction into the directory wrote `names`, in the order its archive holds them.
  void NoteExtracted(const std::vector<std::string>& names);
  // Every name extracted into the directory: the latest archive's first, each archive's in its
  // own order, every name once.
  const std::vector<std::string>& ExtractionOrder() const { return ExtractedNames_; }
  // Deletes the extracted files and the directory; false when nothing was extracted.
  bool RemoveDirectory();

  // The set of the archive at `path` has been read. False when the archive lies inside the
  // temporary directory, so that it is not remembered among the recent files.
  bool SetDocument(const std::string& path);
  // After an open of `path`: did its set come out of that archive?
  bool OpenedFrom(const std::string& path) const;
  // The document's path name and title (upper case) after an archive open; "" otherwise.
  const std::string& DocumentPath() const { return ArchiveDocumentPath_; }
  const std::string& DocumentTitle() const { return ArchiveDocumentTitle_; }

 private:
  std::string TempDirectory_;
  bool RepeatAllowed_ = true;
  std::string ArchivePath_;
  bool ExtractedFromArchive_ = false;
  std::vector<std::string> ExtractedNames_;
  std::string ArchiveDocumentPath_;
  std::string ArchiveDocumentTitle_;
};

}  // namespace tavro
