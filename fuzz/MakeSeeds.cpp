// Writes the seed corpora of the harnesses: small valid inputs of every form each reader knows,
// made with the same encoders the tests use. Run as `tavro_fuzz_seeds <directory>`; it makes one
// folder per harness below it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/LzhMember.h"
#include "support/SetFiles.h"

namespace {

namespace fs = std::filesystem;
using tavro::test::Bgra;
using tavro::test::Bytes;
using tavro::test::Rgb;
using tavro::test::SetFiles;

std::vector<uint8_t> Ramp(size_t count, int modulo) {
  std::vector<uint8_t> values(count);
  for (size_t i = 0; i < count; ++i) values[i] = static_cast<uint8_t>(i % modulo);
  return values;
}

void ConfigSeeds(const SetFiles& out) {
  out.WriteText("one-cel", "#0 a.cel\n");
  out.WriteText("palettes-and-sets",
                "; two palettes, four objects\r\n"
                "(320,200)\r\n"
                "%pal.kcf\r\n"
                "%wide.kcf\r\n"
                "#0 a.cel *0 :0 1 2\r\n"
                "#1.10 b.cel *1 :0 3 ; a fixed one\r\n"
                "#2 d.cel :1 ;%t128\r\n"
                "#3 a.cel :*\r\n"
                "$0 10,10 40,20 * 90,90\r\n"
                "$1 * *\r\n"
                " 5,5 0,3\r\n"
                "$2 1,1 2,2 3,3 4,4\r\n");
  out.WriteText("true-colour",
                "%wide.kcf\n#0 c.cel :0 1\n#1 e.cel :0\n#0 b.cel\n$0 20,20 60,60\n$1 0,5\n");
  out.WriteText("scripted",
                "%pal.kcf\n#0 a.cel\n#1 b.cel\n$0 10,10 30,30\n"
                ";@initialize() timer(1,50) ;\n"
                ";@alarm(1) move(#0,2,0) timer(1,50)\n"
                ";@press(#1) changeset(1) changecol(2)\n"
                ";@set(1) unmap(#1) map(\"a.cel\") altmap(#0) transparent(#1,16)\n"
                ";@begin() debug(\"hello\") sound(\"x.wav\") randomtimer(2,10,20)\n");
  out.WriteText("set-before-cels", "$0 5,5 6,6\n#0 a.cel\n#1 b.cel\n$1 7,7 8,8\n");
}

void ImageSeeds(const SetFiles& out) {
  out.Write("old-cel", tavro::test::EncodeOldCel(5, 3, Ramp(15, 16)));
  out.Write("indexed-4", tavro::test::EncodeIndexedCel(4, 7, 2, 1, 2, Ramp(14, 16)));
  out.Write("indexed-8", tavro::test::EncodeIndexedCel(8, 4, 4, 3, 0, Ramp(16, 256)));
  std::vector<Bgra> px(6);
  for (size_t i = 0; i < px.size(); ++i) px[i] = {10, static_cast<uint8_t>(i * 40), 90, 128};
  out.Write("true-21", tavro::test::EncodeTrueCel(3, 2, 0, 1, px));
  out.Write("true-20", tavro::test::EncodeTrueCel(2, 3, 2, 2, px, true));
  out.Write("old-palette", tavro::test::EncodeOldPalette({{{255, 0, 0}, {0, 255, 0}}}));
  const std::vector<std::vector<Rgb>> groups(3, std::vector<Rgb>(16, Rgb{1, 2, 3}));
  out.Write("palette-12", tavro::test::EncodeNewPalette(12, 16, groups));
  out.Write("palette-24", tavro::test::EncodeNewPalette(24, 16, groups));
}

void ScriptSeeds(const SetFiles& out) {
  out.WriteText("timer", "initialize() timer(1,50) ;\nalarm(1) move(#0,3,-1) timer(1,50)\n");
  out.WriteText("sets",
                "press(#1) changeset(1)\nset(1) changecol(2) changeset(2)\nset(2) "
                "unmap(#2) map(\"a.cel\") altmap(#3)\n");
  out.WriteText("cels",
                "begin() transparent(#2,16) transparent(\"d.cel\",-8) debug(\"x\")\n"
                "catch(#0) fixcatch(#1) unfix(#1) drop(#0) sound(\"s.wav\")\n");
  out.WriteText("random",
                "initialize() randomtimer(5,10,100) randomtimer(127,1,1)\n"
                "alarm(5) randomtimer(5,10,100) move(\"a.cel\",1,1)\n"
                "release(#2) fixdrop(#1) end() timer(0,0)\n");
}

using tavro::test::StoredLzhMember;
std::string StoredMember(const std::string& name, const std::string& data) {
  return StoredLzhMember(name, data);
}

std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

void ArchiveSeeds(const SetFiles& out, const fs::path& work) {
  const std::string cnf = "%pal.kcf\r\n#0 a.cel :0 1\r\n#1 b.cel\r\n$0 4,4 20,20\r\n";
  const std::string palette = AsString(tavro::test::EncodeOldPalette({{{255, 0, 0}}}));
  const std::string celA = AsString(tavro::test::EncodeOldCel(3, 2, Ramp(6, 16)));
  const std::string celB = AsString(tavro::test::EncodeIndexedCel(8, 2, 2, 0, 0, Ramp(4, 256)));
  out.WriteText("stored", StoredMember("set.cnf", cnf) + StoredMember("pal.kcf", palette) +
                              StoredMember("a.cel", celA) + StoredMember("b.cel", celB) +
                              std::string(1, '\0'));
  out.WriteText("two-configs", StoredMember("dir/one.cnf", "#0 a.cel\n") +
                                   StoredMember("TWO.CNF", "#0 a.cel\n") +
                                   StoredMember("a.cel", celA) + std::string(1, '\0'));
  // A compressed archive too, when Debian's archiver is at hand to make one from the same files.
  const SetFiles members(work);
  members.WriteText("set.cnf", cnf);
  members.WriteText("pal.kcf", palette);
  members.WriteText("a.cel", celA);
  members.WriteText("b.cel", celB);
  const std::string command = "command -v jlha >/dev/null 2>&1 && cd '" + work.string() +
                              "' && jlha aq5 packed.lzh set.cnf pal.kcf a.cel b.cel";
  if (std::system(command.c_str()) == 0) {
    fs::copy_file(work / "packed.lzh", out.Path("packed"), fs::copy_options::overwrite_existing);
  }
  // Old DOS headers with Shift_JIS names, one ending in 0x5C, folders joined by backslashes.
  out.WriteText("level1-shift-jis", tavro::test::StoredLzhLevel1Member("\x8F\x5C\\\x95\x5C.cnf",
                                                                       "#0 a.cel\n", "dir\xFF") +
                                        StoredMember("\x83\x5C.cel", celA) + std::string(1, '\0'));
}

// ZIP archives, stored and deflated, made by Debian's zip from the same files when it is there.
void ZipSeeds(const SetFiles& out, const fs::path& work) {
  const SetFiles members(work);
  members.WriteText("set.cnf", "%pal.kcf\n#0 a.cel :0\n$0 4,4\n");
  members.WriteText("pal.kcf", AsString(tavro::test::EncodeOldPalette({{{255, 0, 0}}})));
  members.WriteText("a.cel", AsString(tavro::test::EncodeOldCel(3, 2, Ramp(6, 16))));
  for (const char* level : {"0", "6"}) {
    const std::string name = std::string("set-") + level + ".zip";
    const std::string command = "command -v zip >/dev/null 2>&1 && cd '" + work.string() +
                                "' && zip -q -" + level + " " + name + " set.cnf pal.kcf a.cel";
    if (std::system(command.c_str()) == 0) {
      fs::copy_file(work / name, out.Path(name), fs::copy_options::overwrite_existing);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  for (const char* harness : {"config", "image", "script", "archive", "zip"}) {
    fs::create_directories(root / harness);
  }
  const fs::path work = root / ".archive-work";
  fs::create_directories(work);
  ConfigSeeds(SetFiles(root / "config"));
  ImageSeeds(SetFiles(root / "image"));
  ScriptSeeds(SetFiles(root / "script"));
  ArchiveSeeds(SetFiles(root / "archive"), work);
  ZipSeeds(SetFiles(root / "zip"), work);
  fs::remove_all(work);
  return 0;
}
