// Loads one configuration the way the viewer's Open command does and exits: the core alone,
// with no window and no image output, for measuring what a loaded set costs in memory.
//
//   tavro_load_set <file.cnf>
//
// Prints "cels N" (cels that loaded) and fails when the file could not be read, gave no set or
// made the load report a problem (each printed on stderr): the budget is for a set that loads
// cleanly.
#include <cstdio>
#include <string>
#include <vector>

#include "document/CTavroDoc.h"
#include "support/FakeHost.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <file.cnf>\n", argv[0]);
    return 2;
  }
  tavro::test::FakeHost host;
  tavro::CTavroDoc doc(host);
  const tavro::OpenResult result = doc.OnOpenDocument(argv[1]);
  const bool opened = result.Opened;
  for (const std::string& message : result.Messages) std::fprintf(stderr, "%s\n", message.c_str());
  if (!opened) return 1;
  doc.StartLoadedSet();
  std::printf("cels %d\n", doc.LastLoad().LoadedCels);
  for (const tavro::LoadProblem& problem : doc.LastLoad().Problems.All())
    std::fprintf(stderr, "%s\n", tavro::FormatLoadProblem(problem).c_str());
  return doc.IsSetLoaded() && doc.LastLoad().Problems.Empty() ? 0 : 1;
}
