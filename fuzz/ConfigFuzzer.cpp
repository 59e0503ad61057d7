// Any bytes as a configuration file: the load must finish without a crash, a hang or a read
// outside a line. Cel and palette names point into a directory that does not exist.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "document/CArchive.h"
#include "document/CTavroDoc.h"
#include "support/FakeHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tavro::test::FakeHost host;
  tavro::CTavroDoc doc(host);
  std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
  tavro::CArchive archive(input, static_cast<int64_t>(size));
  doc.ResetSet();
  doc.SetDirectory = "/nonexistent-tavro-fuzz/";
  doc.DeleteContents();
  doc.Serialize(archive);
  return 0;
}
