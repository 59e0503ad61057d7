// Saving a loaded set and reading the saved file again gives back the same objects and
// positions. Each case here is a configuration that once failed that round trip.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/document/LoadFixture.h"

namespace tavro {
namespace {

class SaveReloadTest : public test::LoadFixture {
 protected:
  void SetUp() override {
    files.SolidCel("a.cel", 4, 4, 1);
    files.SolidCel("b.cel", 4, 4, 2);
  }

  // Saves the loaded set and reads the saved file into `reloaded`; returns the saved text.
  std::string SaveAndReload() {
    const std::string path = files.Path("saved.cnf").string();
    std::string error;
    EXPECT_TRUE(doc.SaveConfigFile(path, error)) << error;
    reloaded = std::make_unique<CTavroDoc>(reloadHost);
    EXPECT_TRUE(OpenAsWindow(*reloaded, reloadHost, path).Opened);
    return std::string(reloaded->Set().ConfigText().data(), reloaded->Set().ConfigTextLength());
  }

  // Position of object `number` in `set` as (x, y); (-1, -1) when the object has no slot.
  static std::pair<int, int> PositionIn(const CTavroDoc& d, int number, int set) {
    const uint16_t slot = d.Set().SlotOf(number);
    if (slot == 0) return {-1, -1};
    return {d.Set().ObjectTable()[slot].SetX[set], d.Set().ObjectTable()[slot].SetY[set]};
  }

  test::FakeHost reloadHost;
  std::unique_ptr<CTavroDoc> reloaded;
};

TEST_F(SaveReloadTest, ALineEndedByTwoCarriageReturnsStaysItsOwnLine) {
  // The reader ends a line at its second carriage return; the saved copy drops carriage
  // returns, so it must put a line feed there or "#1 b.cel" would join the cel line before it.
  Load("#0 a.cel\r\r#1 b.cel\n$0 5,5 7,7\n");
  ASSERT_NE(doc.Set().SlotOf(1), 0);
  const std::string saved = SaveAndReload();
  EXPECT_EQ(saved.substr(0, 18), "#0 a.cel\n#1 b.cel\n");
  ASSERT_NE(reloaded->Set().SlotOf(1), 0) << saved;
  EXPECT_EQ(PositionIn(*reloaded, 0, 0), (std::pair{5, 5}));
  EXPECT_EQ(PositionIn(*reloaded, 1, 0), (std::pair{7, 7}));
}

TEST_F(SaveReloadTest, AnEmptyCarriageReturnLineStillEndsASetLine) {
  // Two carriage returns alone make an empty line, after which a space line continues nothing.
  Load("#0 a.cel\n#1 b.cel\n$0 5,5\r\r\r\r 7,7\n");
  ASSERT_EQ(PositionIn(doc, 1, 0), (std::pair{0, 0}));
  const std::string saved = SaveAndReload();
  EXPECT_EQ(PositionIn(*reloaded, 0, 0), (std::pair{5, 5})) << saved;
  EXPECT_EQ(PositionIn(*reloaded, 1, 0), (std::pair{0, 0})) << saved;
}

}  // namespace
}  // namespace tavro
