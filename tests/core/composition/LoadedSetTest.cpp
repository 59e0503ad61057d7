// Composition of sets read from disk by the real loader, decoders and scripts.
#include <gtest/gtest.h>

#include "core/document/LoadFixture.h"
#include "document/SetQueries.h"

namespace tavro::test {
namespace {

class LoadedSetTest : public LoadFixture {
 protected:
  uint8_t IndexAt(int x, int y) const {
    return doc_.Map().Bytes().at(static_cast<size_t>(y) * doc_.Map().Stride() + x);
  }

  // A 16-colour palette; object 0 a 2 x 2 cel of colour 3, object 1 a 2 x 2 cel of colour 5.
  void WriteParts() {
    files_.OldPalette("p.pal");
    files_.SolidCel("a.cel", 2, 2, 3);
    files_.SolidCel("b.cel", 2, 2, 5);
  }
};

TEST_F(LoadedSetTest, TheLoadComposesSetZeroAndBuildsItsPalette) {
  WriteParts();
  Load("(10,6)\n%p.pal\n#0 a.cel :0 1\n#1 b.cel :0\n$0 1,1 2,2\n");
  ASSERT_TRUE(doc_.IsSetLoaded());
  EXPECT_EQ(doc_.Map().Stride(), 12);
  EXPECT_EQ(IndexAt(1, 1), 3);
  EXPECT_EQ(IndexAt(2, 2), 3);  // the earlier line lies on top
  EXPECT_EQ(IndexAt(3, 3), 5);
  EXPECT_EQ(IndexAt(0, 0), 0);
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 16);
  EXPECT_EQ(doc_.Map().Height(), 6);
}

TEST_F(LoadedSetTest, ASetEventRunsBeforeTheSetChanges) {
  WriteParts();
  // Leaving set 0 for set 1 moves object 0 while set 0 is still shown: set 0 keeps that move.
  Load(
      "(10,6)\n%p.pal\n#0 a.cel :0 1\n#1 b.cel :0\n$0 1,1 2,2\n$0 4,4\n"
      ";@set(1) move(#0, 3, 0)\n");
  ASSERT_TRUE(doc_.IsSetLoaded());
  doc_.SwitchSet(1);
  EXPECT_EQ(IndexAt(4, 4), 3);
  doc_.SwitchSet(0);
  EXPECT_EQ(doc_.Set().ObjectTable()[doc_.Set().SlotOf(0)].X, 4);
  EXPECT_EQ(IndexAt(4, 1), 3);
  EXPECT_EQ(IndexAt(1, 1), 0);
}

TEST_F(LoadedSetTest, ScriptChangesReachTheMapOnlyThroughTheDirtyArea) {
  WriteParts();
  Load(
      "(10,6)\n%p.pal\n#0 a.cel :0 1\n#1 b.cel :0 1\n$0 1,1 6,2\n$0 1,1 6,2\n"
      ";@set(1) unmap(\"b.cel\")\n");
  ASSERT_TRUE(doc_.IsSetLoaded());
  doc_.SwitchSet(1);  // the event hides the cel before the whole map is composed
  EXPECT_EQ(IndexAt(6, 2), 0);
  build_.Show(1, true);
  doc_.EditMap().MarkDirty({6, 2, 8, 4});
  EXPECT_EQ(IndexAt(6, 2), 0);
  doc_.FlushAndRepaint();
  EXPECT_EQ(IndexAt(6, 2), 5);
}

TEST_F(LoadedSetTest, ACelLeftOfAndAboveItsOriginIsDrawnPickedAndRedrawn) {
  files_.OldPalette("p.pal");
  // Colour 4 with its top-left pixel transparent, reaching (-4, -2) from the object's origin.
  files_.Write("neg.cel", EncodeIndexedCel(8, 3, 2, -4, -2, {0, 4, 4, 4, 4, 4}));
  Load("(20,12)\n%p.pal\n#0 neg.cel\n$0 10,6\n");
  ASSERT_TRUE(doc_.IsSetLoaded());
  EXPECT_EQ(IndexAt(6, 4), 0);
  EXPECT_EQ(IndexAt(7, 4), 4);
  EXPECT_EQ(IndexAt(8, 5), 4);
  EXPECT_EQ(IndexAt(9, 5), 0);
  EXPECT_EQ(HitTest(doc_.Set(), doc_.Pointer(), 6, 4), -1);
  EXPECT_EQ(HitTest(doc_.Set(), doc_.Pointer(), 6, 5), 0);

  // A drag repaints where the cel was and where it goes, its negative offset included.
  doc_.Pointer().MoveWithin(6, 5);
  doc_.PressAtPointer();
  doc_.Pointer().MoveWithin(9, 5);
  doc_.DragStep(CTavroDoc::DragPhase::Move);
  doc_.DropHeldObject();
  EXPECT_EQ(IndexAt(7, 4), 0);
  EXPECT_EQ(IndexAt(6, 5), 0);
  EXPECT_EQ(IndexAt(10, 4), 4);
  EXPECT_EQ(IndexAt(9, 5), 4);
}

TEST_F(LoadedSetTest, ATransparencyRemarkLoadsTheSetInTrueColour) {
  WriteParts();
  Load("(10,6)\n%p.pal\n#0 a.cel :0 ;%t128\n$0 1,1\n");
  ASSERT_TRUE(doc_.IsSetLoaded());
  EXPECT_TRUE(doc_.Map().TrueColourMode());
  EXPECT_EQ(doc_.Map().Format(), PixelFormat::Rgbx32);
  EXPECT_EQ(doc_.Map().Bytes().size(), 4u * 12 * 6 + 1);
  doc_.SetColourMode256();
  EXPECT_EQ(doc_.Map().Bytes().size(), 12u * 6 + 1);
  EXPECT_EQ(IndexAt(1, 1), 3);
}

}  // namespace
}  // namespace tavro::test
