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
  std::mt19937 random_{20261208};

  void LoadBytes(const std::string& bytes) {
    build_.Directory(files_.Dir());
    doc_.LoadConfigText(std::vector<char>(bytes.begin(), bytes.end()));
  }

  std::string RandomBytes(size_t length) {
    std::string bytes(length, '\0');
    for (char& c : bytes) c = static_cast<char>(random_() & 0xFF);
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
      const int pieces = 1 + static_cast<int>(random_() % 12);
      for (int i = 0; i < pieces; ++i) text += kPieces[random_() % std::size(kPieces)];
      if (random_() % 8 == 0) text += std::string(random_() % 300, ' ');
      text += '\n';
    }
    return text;
  }

  void ExpectConsistentTables() {
    ASSERT_LE(doc_.Set().CellCount(), kMaxCells);
    EXPECT_LE(doc_.Set().SlotIndexSize(), static_cast<size_t>(kObjectNumberLimit));
    EXPECT_GE(doc_.Set().ObjectCount(), 0);
    EXPECT_LE(doc_.Set().Palettes().PaletteCount, kMaxPaletteLines);
    EXPECT_GE(doc_.Set().PlayfieldWidth(), 1);
    EXPECT_LE(doc_.Set().PlayfieldWidth(), kMaxPlayfieldWidth);
    EXPECT_GE(doc_.Set().PlayfieldHeight(), 1);
    EXPECT_LE(doc_.Set().PlayfieldHeight(), kMaxPlayfieldHeight);
    for (int i = 0; i < doc_.Set().CellCount(); ++i) {
      const int16_t number = doc_.Set().CellTable()[i].ObjectNumber;
      EXPECT_GE(number, 0);
      EXPECT_LT(number, doc_.Set().ObjectCount());
    }
    size_t slots = 0;
    doc_.Set().ForEachObject([&](int32_t number, uint16_t slot) {
      ++slots;
      ASSERT_LT(slot, doc_.Set().ObjectTable().size());
      EXPECT_EQ(doc_.Set().ObjectTable()[slot].Number, number < 32767 ? number : 32767);
    });
    if (!doc_.Set().ObjectTable().empty()) {
      EXPECT_EQ(slots + 1, doc_.Set().ObjectTable().size());
    }
  }
};

TEST_F(HostileConfigTest, RandomBytesNeverCrash) {
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    LoadBytes(RandomBytes(random_() % 4000));
    ExpectConsistentTables();
  }
}

TEST_F(HostileConfigTest, RandomLinesOfTheGrammarNeverCrash) {
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    LoadBytes(RandomGrammar(1 + static_cast<int>(random_() % 60)));
    ExpectConsistentTables();
  }
}

TEST_F(HostileConfigTest, ManyDistinctObjectsWithoutCelsStayBounded) {
  // Each line hands out a slot without adding a cel; numbers above the valid range are many.
  std::string text;
  for (int i = 0; i < 70000; ++i) text += "#" + std::to_string(5000 + i) + " a :\n";
  LoadBytes(text + "#1 a.cel\n");
  EXPECT_EQ(doc_.Set().ObjectCount(), 75000);
  EXPECT_EQ(doc_.Set().CellCount(), 0);  // every slot was used up before object 1 came
  EXPECT_EQ(doc_.Set().SlotOf(1), 0);
  ExpectConsistentTables();
}

}  // namespace
}  // namespace tavro
