// Recomposition while an object is held reuses a picture of what lies beneath it. Whatever the
// steps and whatever changes beneath between them, the map must equal a full composition.
#include <gtest/gtest.h>

#include <vector>

#include "composition/Composer.h"
#include "core/composition/ComposerFixture.h"

namespace tavro::test {
namespace {

class HeldBackdropTest : public ComposerFixture, public ::testing::WithParamInterface<bool> {
 protected:
  // Line 0: object 5 above the held object; lines 1, 2: the held object 1 (an indexed cel and,
  // in true colour, a blended one); lines 3, 4: objects 2 and 3 beneath it.
  void BuildSet() {
    const bool trueColour = GetParam();
    Playfield(24, 16, trueColour);
    for (int i = 0; i < 8; ++i)
      SetColour(0, i, static_cast<uint8_t>(30 * i), 10, static_cast<uint8_t>(200 - 20 * i));
    AddCel(5, 3, 3, {1, 0, 1, 0, 1, 0, 1, 0, 1});
    AddCel(1, 4, 4, std::vector<uint8_t>(16, 2));
    const int seeThrough = AddCel(1, 4, 2, {3, 0, 3, 0, 0, 3, 0, 3}, 0xFFFF, 0, 4);
    build_.Transparency(seeThrough, trueColour ? 128 : 0);
    AddCel(2, 10, 6, std::vector<uint8_t>(60, 4));
    AddCel(3, 6, 10, {5, 6, 0, 5, 6, 0, 5, 6, 0, 5, 6, 0, 5, 6, 0, 5, 6, 0, 5, 6,
                      0, 5, 6, 0, 5, 6, 0, 5, 6, 0, 5, 6, 0, 5, 6, 0, 5, 6, 0, 5,
                      6, 0, 5, 6, 0, 5, 6, 0, 5, 6, 0, 5, 6, 0, 5, 6, 0, 5, 6, 0});
    PlaceEverywhere(5, 8, 4);
    PlaceEverywhere(1, 2, 2);
    PlaceEverywhere(2, 5, 3);
    PlaceEverywhere(3, 12, 1);
    ShowSet(0);
    doc_.Pointer().Hold(doc_.Set().SlotOf(1));
  }

  // The held object moved by (dx, dy) and the swept rectangle recomposed, as a drag step does.
  void Step(int dx, int dy) {
    const ObjectEntry& held = Object(1);
    const MapRect before{held.X, held.Y, held.X + held.ExtentRight, held.Y + held.ExtentBottom};
    build_.Move(1, held.X + dx, held.Y + dy);
    const MapRect after{held.X, held.Y, held.X + held.ExtentRight, held.Y + held.ExtentBottom};
    const MapRect swept = UnionRect(before, after);
    ComposeRect(swept.Left, swept.Top, swept.Width(), swept.Height());
  }

  // What the held object's press and the steps left must be what composing it all gives.
  void ExpectSameAsFullComposition() {
    // Composed into a copy, nothing held: the document's map and backdrop stay as they are.
    ComposedMap full = doc_.Map();
    compose::ComposeRect(doc_.Set(), full,
                         {0, 0, doc_.Set().PlayfieldWidth(), doc_.Set().PlayfieldHeight()}, 0);
    EXPECT_EQ(doc_.Map().Bytes(), full.Bytes());
  }

  // A change a script makes is followed by a recomposition of what it touched.
  void RecomposeAll() {
    ComposeRect(0, 0, doc_.Set().PlayfieldWidth(), doc_.Set().PlayfieldHeight());
  }
};

TEST_P(HeldBackdropTest, EveryStepEqualsAFullComposition) {
  BuildSet();
  for (int i = 0; i < 6; ++i) {
    Step(i % 2 == 0 ? 2 : -1, 1);
    ExpectSameAsFullComposition();
  }
  EXPECT_FALSE(doc_.Map().Backdrop().Pixels.empty())
      << "a still set should have been given a backdrop";
}

TEST_P(HeldBackdropTest, ChangesBeneathBetweenStepsAreNeverHiddenByAnOldBackdrop) {
  BuildSet();
  Step(1, 0);
  Step(1, 0);  // the backdrop is in use from here
  ExpectSameAsFullComposition();
  build_.Move(2, static_cast<int16_t>(Object(2).X - 3),
              Object(2).Y);  // a script moves something beneath
  RecomposeAll();
  Step(1, 0);
  ExpectSameAsFullComposition();
  build_.Show(4, false);  // a cel beneath is hidden
  RecomposeAll();
  Step(0, 1);
  ExpectSameAsFullComposition();
  build_.Transparency(3, 64);  // and one is made see-through
  RecomposeAll();
  Step(0, 1);
  ExpectSameAsFullComposition();
  SetColour(0, 0, 9, 99, 199);  // the background colour changes
  RecomposeAll();
  Step(-1, 0);
  ExpectSameAsFullComposition();
  build_.Move(5, static_cast<int16_t>(Object(5).X + 1), Object(5).Y);  // the object above moves too
  RecomposeAll();
  Step(-1, 0);
  ExpectSameAsFullComposition();
}

TEST_P(HeldBackdropTest, ItIsDroppedWithTheObjectAndWithTheMap) {
  BuildSet();
  Step(1, 1);
  Step(1, 1);
  ASSERT_FALSE(doc_.Map().Backdrop().Pixels.empty());
  doc_.Pointer().Hold(0);
  Step(1, 1);
  EXPECT_TRUE(doc_.Map().Backdrop().Pixels.empty());
  ExpectSameAsFullComposition();

  doc_.Pointer().Hold(doc_.Set().SlotOf(1));
  Step(1, 1);
  Step(1, 1);
  ASSERT_FALSE(doc_.Map().Backdrop().Pixels.empty());
  doc_.EditMap().Allocate(doc_.Map().TrueColourMode());
  EXPECT_TRUE(doc_.Map().Backdrop().Pixels.empty());
}

INSTANTIATE_TEST_SUITE_P(BothForms, HeldBackdropTest, ::testing::Values(false, true),
                         [](const auto& form) { return form.param ? "TrueColour" : "Indexed"; });

}  // namespace
}  // namespace tavro::test
