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
    files_.SolidCel("a.cel", 4, 4, 1);
    files_.SolidCel("b.cel", 4, 4, 2);
  }

  // Saves the loaded set and reads the saved file into `reloaded`; returns the saved text.
  std::string SaveAndReload() {
    const std::string path = files_.Path("saved.cnf").string();
    std::string error;
    EXPECT_TRUE(doc_.SaveConfigFile(path, error)) << error;
    reloaded_ = std::make_unique<CTavroDoc>(reloadHost_);
    EXPECT_TRUE(OpenAsWindow(*reloaded_, reloadHost_, path).Opened);
    return std::string(reloaded_->Set().ConfigText().data(), reloaded_->Set().ConfigTextLength());
  }

  // Position of object `number` in `set` as (x, y); (-1, -1) when the object has no slot.
  static std::pair<int, int> PositionIn(const CTavroDoc& d, int number, int set) {
    const uint16_t slot = d.Set().SlotOf(number);
    if (slot == 0) return {-1, -1};
    return {d.Set().ObjectTable()[slot].SetX[set], d.Set().ObjectTable()[slot].SetY[set]};
  }

  test::FakeHost reloadHost_;
  std::unique_ptr<CTavroDoc> reloaded_;
};

TEST_F(SaveReloadTest, ALineEndedByTwoCarriageReturnsStaysItsOwnLine) {
  // The reader ends a line at its second carriage return; the saved copy drops carriage
  // returns, so it must put a line feed there or "#1 b.cel" would join the cel line before it.
  Load("#0 a.cel\r\r#1 b.cel\n$0 5,5 7,7\n");
  ASSERT_NE(doc_.Set().SlotOf(1), 0);
  const std::string saved = SaveAndReload();
  EXPECT_EQ(saved.substr(0, 18), "#0 a.cel\n#1 b.cel\n");
  ASSERT_NE(reloaded_->Set().SlotOf(1), 0) << saved;
  EXPECT_EQ(PositionIn(*reloaded_, 0, 0), (std::pair{5, 5}));
  EXPECT_EQ(PositionIn(*reloaded_, 1, 0), (std::pair{7, 7}));
}

TEST_F(SaveReloadTest, AnEmptyCarriageReturnLineStillEndsASetLine) {
  // Two carriage returns alone make an empty line, after which a space line continues nothing.
  Load("#0 a.cel\n#1 b.cel\n$0 5,5\r\r\r\r 7,7\n");
  ASSERT_EQ(PositionIn(doc_, 1, 0), (std::pair{0, 0}));
  const std::string saved = SaveAndReload();
  EXPECT_EQ(PositionIn(*reloaded_, 0, 0), (std::pair{5, 5})) << saved;
  EXPECT_EQ(PositionIn(*reloaded_, 1, 0), (std::pair{0, 0})) << saved;
}

}  // namespace
}  // namespace tavro
