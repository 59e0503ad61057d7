// Configuration files of random bytes, and of random lines made of the grammar's own pieces,
// must load without crashing and leave the set's tables consistent. Run under the sanitizers.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/document/LoadFixture.h"

namespace tavro {
namespace {

class HostileConfigTest : public test::LoadFixture {
 protected:
  std::mt19937 random{20261208};

  void LoadBytes(const std::string& bytes) {
    build.Directory(files.Dir());
    doc.LoadConfigText(std::vector<char>(bytes.begin(), bytes.end()));
  }

  std::string RandomBytes(size_t length) {
    std::string bytes(length, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    return bytes;
  }

  // Lines that reach every handler, with hostile numbers and separators.
  std::string RandomGrammar(int lines) {
    // clang-format off
    static const char* const kPieces[] = {
        "#", "$", "%", "(", ";@", " ", ":", "*", ".", ",", ";%T", "-", "\r", "\t", "\n", "x",
        "4000000000", "1169", "1170", "65536", "20", "9", "0", "a.cel", "99999999999999"};
    // clang-format on
    std::string text;
    for (int line = 0; line < lines; ++line) {
      const int pieces = 1 + static_cast<int>(random() % 12);
      for (int i = 0; i < pieces; ++i) text += kPieces[random() % std::size(kPieces)];
      if (random() % 8 == 0) text += std::string(random() % 300, ' ');
      text += '\n';
    }
    return text;
  }

  void ExpectConsistentTables() {
    ASSERT_LE(doc.Set().CellCount(), kMaxCells);
    EXPECT_LE(doc.Set().SlotIndexSize(), static_cast<size_t>(kObjectNumberLimit));
    EXPECT_GE(doc.Set().ObjectCount(), 0);
    EXPECT_LE(doc.Set().Palettes().PaletteCount, kMaxPaletteLines);
    EXPECT_GE(doc.Set().PlayfieldWidth(), 1);
    EXPECT_LE(doc.Set().PlayfieldWidth(), kMaxPlayfieldWidth);
    EXPECT_GE(doc.Set().PlayfieldHeight(), 1);
    EXPECT_LE(doc.Set().PlayfieldHeight(), kMaxPlayfieldHeight);
    for (int i = 0; i < doc.Set().CellCount(); ++i) {
      const int16_t number = doc.Set().CellTable()[i].ObjectNumber;
      EXPECT_GE(number, 0);
      EXPECT_LT(number, doc.Set().ObjectCount());
    }
    size_t slots = 0;
    doc.Set().ForEachObject([&](int32_t number, uint16_t slot) {
      ++slots;
      ASSERT_LT(slot, doc.Set().ObjectTable().size());
      EXPECT_EQ(doc.Set().ObjectTable()[slot].Number, number < 32767 ? number : 32767);
    });
    if (!doc.Set().ObjectTable().empty()) {
      EXPECT_EQ(slots + 1, doc.Set().ObjectTable().size());
    }
  }
};

TEST_F(HostileConfigTest, RandomBytesNeverCrash) {
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    LoadBytes(RandomBytes(random() % 4000));
    ExpectConsistentTables();
  }
}

TEST_F(HostileConfigTest, RandomLinesOfTheGrammarNeverCrash) {
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    LoadBytes(RandomGrammar(1 + static_cast<int>(random() % 60)));
    ExpectConsistentTables();
  }
}

TEST_F(HostileConfigTest, ManyDistinctObjectsWithoutCelsStayBounded) {
  // Each line hands out a slot without adding a cel; numbers above the valid range are many.
  std::string text;
  for (int i = 0; i < 70000; ++i) text += "#" + std::to_string(5000 + i) + " a :\n";
  LoadBytes(text + "#1 a.cel\n");
  EXPECT_EQ(doc.Set().ObjectCount(), 75000);
  EXPECT_EQ(doc.Set().CellCount(), 0);  // every slot was used up before object 1 came
  EXPECT_EQ(doc.Set().SlotOf(1), 0);
  ExpectConsistentTables();
}

}  // namespace
}  // namespace tavro
