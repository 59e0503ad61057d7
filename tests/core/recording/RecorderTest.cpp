// Recording a set: frames and their durations, read back with each format's own decoder; the
// frames' pixels against the rows tavro-render writes; input at given times; same input, same
// file; the frame limit.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "recording/Picture.h"
#include "recording/Recorder.h"
#include "support/AnimationFiles.h"
#include "support/FakeHost.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro::test {
namespace {

// A 12 x 8 playfield: a 4 x 4 body (colour 1) and a 2 x 2 eye (colour 2) on it.
constexpr char kBody[] =
    "(12,8)\n%p.kcf\n#1 eye.cel :0 1\n#0 body.cel :0 1\n$0 1,1 2,2\n$1 6,2 7,3\n";
// The eye blinks every tenth of a second.
constexpr char kBlink[] =
    ";@initialize() timer(1,100)\n;@alarm(1) altmap(\"eye.cel\") timer(1,100)\n";

std::vector<uint8_t> Screen(const CTavroDoc& doc) {
  const ColourTable table = PlayfieldColourTable(doc);
  const int w = doc.Set().PlayfieldWidth();
  std::vector<uint8_t> rgb(static_cast<size_t>(w) * doc.Set().PlayfieldHeight() * 3);
  for (int y = 0; y < doc.Set().PlayfieldHeight(); ++y)
    PlayfieldRgbRow(doc, table, y, 0, w, &rgb[static_cast<size_t>(y) * w * 3]);
  return rgb;
}

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One document playing on the recorder's clock, as tavro-render runs it.
struct Player {
  FakeHost Outside;
  RecordingHost Clock{Outside, Outside, RecordingHost::Messages::PassOn};
  DocumentSession Session{Clock, Clock};
  CTavroDoc& Doc = Session.FixtureDoc();
  explicit Player(uint32_t seed = 0) { Clock.SetClockSeconds(seed); }
};

class RecorderTest : public ::testing::Test {
 protected:
  TempDir dir_;
  SetFiles files_{dir_.Path()};

  void SetUp() override {
    files_.OldPalette("p.kcf");
    files_.SolidCel("body.cel", 4, 4, 1);
    files_.SolidCel("eye.cel", 2, 2, 2);
  }
  void Open(Player& player, const std::string& scripts, bool trueColour = false) {
    files_.WriteText("set.cnf", kBody + scripts);
    ASSERT_TRUE(OpenAsWindow(player.Doc, player.Outside, files_.Path("set.cnf").string()).Opened);
    if (trueColour) player.Doc.SetColourModeTrue();
  }
  RecordingResult Record(Player& player, const std::string& name, uint32_t ms,
                         std::vector<RecordingInput> inputs = {}, int zoom = 1) {
    return RecordAnimation(player.Session, player.Clock,
                           {files_.Path(name).string(), ms, zoom, std::move(inputs)});
  }
};

class RecorderFormatTest : public RecorderTest,
                           public ::testing::WithParamInterface<std::tuple<const char*, bool>> {};

TEST_P(RecorderFormatTest, ABlinkGivesOneFramePerPictureWithThePicturesOfTheRenderer) {
  const auto [extension, trueColour] = GetParam();
  const std::string name = std::string("blink") + extension;
  Player player;
  Open(player, kBlink, trueColour);
  const RecordingResult result = Record(player, name, 1000);
  ASSERT_TRUE(result.Written) << result.Error;
  EXPECT_EQ(result.Frames, 10);
  EXPECT_TRUE(result.Notes.empty());

  const Animation animation = ReadAnimation(files_.Path(name).string());
  ASSERT_TRUE(animation.Ok) << animation.Error;
  EXPECT_EQ(animation.Width, 12);
  EXPECT_EQ(animation.Durations(), std::vector<uint32_t>(10, 100));
  // The same states in a document run by hand: open, then eye shut at 100 ms.
  FakeHost host;
  CTavroDoc reference(host);
  ASSERT_TRUE(OpenAsWindow(reference, host, files_.Path("set.cnf").string()).Opened);
  if (trueColour) reference.SetColourModeTrue();
  const std::vector<uint8_t> open = Screen(reference);
  reference.RunTimerPass(100);
  const std::vector<uint8_t> shut = Screen(reference);
  ASSERT_NE(open, shut);
  for (size_t i = 0; i < animation.Frames.size(); ++i)
    EXPECT_EQ(animation.Frames[i].Rgb, i % 2 == 0 ? open : shut) << "frame " << i;
  EXPECT_EQ(FrameFaults(animation), "");
}

TEST_P(RecorderFormatTest, APictureTooShortToSeeNeverSplitsAFrameInTwo) {
  const auto [extension, trueColour] = GetParam();
  const std::string name = std::string("short") + extension;
  // The eye is gone for 10 ms only: the picture after it is the one already showing.
  const std::string scripts =
      ";@initialize() timer(1,100) timer(2,110) timer(3,500)\n;@alarm(1) unmap(\"eye.cel\")\n"
      ";@alarm(2) map(\"eye.cel\")\n;@alarm(3) unmap(\"body.cel\")\n";
  Player player;
  Open(player, scripts, trueColour);
  const std::vector<uint8_t> start = Screen(player.Doc);
  ASSERT_TRUE(Record(player, name, 1000).Written);
  Animation animation = ReadAnimation(files_.Path(name).string());
  ASSERT_EQ(animation.Durations(), (std::vector<uint32_t>{500, 500}));
  EXPECT_EQ(animation.Frames[0].Rgb, start);
  EXPECT_EQ(animation.Frames[1].Rgb, Screen(player.Doc));
  EXPECT_EQ(FrameFaults(animation), "");

  // An eye flickering every 11 ms is never seen: only the body's toggles make frames.
  Player flicker;
  Open(flicker,
       ";@initialize() timer(1,11) timer(2,500)\n;@alarm(1) altmap(\"eye.cel\") timer(1,11)\n"
       ";@alarm(2) altmap(\"body.cel\") timer(2,500)\n",
       trueColour);
  ASSERT_TRUE(Record(flicker, name, 2990).Written);
  animation = ReadAnimation(files_.Path(name).string());
  ASSERT_EQ(animation.Frames.size(), 6u);
  EXPECT_EQ(animation.TotalMs(), 2990u);
  // A frame starts with the toggle, or with a flicker too short to see that gave way to it.
  uint32_t at = 0;
  for (size_t i = 0; i < animation.Frames.size(); at += animation.Frames[i++].DurationMs)
    EXPECT_TRUE(at <= i * 500 && at + kShortestFrameMs > i * 500) << "frame " << i << " at " << at;
  EXPECT_EQ(FrameFaults(animation), "");
}

INSTANTIATE_TEST_SUITE_P(GifAndWebpIn256AndTrueColour, RecorderFormatTest,
                         ::testing::Combine(::testing::Values(".gif", ".webp"), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<RecorderFormatTest::ParamType>& param) {
                           return std::string(std::get<0>(param.param) + 1) +
                                  (std::get<1>(param.param) ? "TrueColour" : "256Colours");
                         });

TEST_F(RecorderTest, ColourChangesShowTheNewColoursInFramesOfOnlyThePixelsTheyChange) {
  // The groups differ in the eye's colour only; set 1 shows group 0 again.
  std::vector<std::vector<Rgb>> groups(2, std::vector<Rgb>(16, {240, 0, 0}));
  groups[1][2] = {0, 240, 0};
  files_.OldPalette("p.kcf", groups);
  const std::string cnf =
      "(12,8)\n%p.kcf\n#1 eye.cel :0 1\n#0 body.cel :0 1\n$0 1,1 2,2\n$0 1,1 2,2\n"
      ";@initialize() timer(1,100)\n;@alarm(1) changecol(1)\n";
  files_.WriteText("set.cnf", cnf);
  FakeHost host;
  CTavroDoc reference(host);
  ASSERT_TRUE(OpenAsWindow(reference, host, files_.Path("set.cnf").string()).Opened);
  std::vector<std::vector<uint8_t>> screens{Screen(reference)};
  reference.RunTimerPass(100);
  screens.push_back(Screen(reference));
  reference.SelectSet(1);
  screens.push_back(Screen(reference));
  ASSERT_NE(screens[0], screens[1]);
  ASSERT_EQ(screens[0], screens[2]);
  for (const char* name : {"col.gif", "col.webp"}) {
    Player player;
    ASSERT_TRUE(OpenAsWindow(player.Doc, player.Outside, files_.Path("set.cnf").string()).Opened);
    ASSERT_TRUE(Record(player, name, 300, {{200, RecordingInput::Kind::Key, '1'}}).Written);
    const Animation animation = ReadAnimation(files_.Path(name).string());
    ASSERT_EQ(animation.Durations(), (std::vector<uint32_t>{100, 100, 100})) << name;
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(animation.Frames[i].Rgb, screens[i]) << name << i;
    EXPECT_EQ(FrameFaults(animation), "") << name;
  }
  // Without a palette every colour is black, whatever the indices.
  files_.WriteText("black.cnf",
                   "(12,8)\n#1 eye.cel :0 1\n#0 body.cel :0 1\n$0 1,1 2,2\n" + std::string(kBlink));
  for (const char* name : {"black.gif", "black.webp"}) {
    Player player;
    ASSERT_TRUE(OpenAsWindow(player.Doc, player.Outside, files_.Path("black.cnf").string()).Opened);
    ASSERT_TRUE(Record(player, name, 1000).Written);
    EXPECT_EQ(ReadAnimation(files_.Path(name).string()).Durations(), std::vector<uint32_t>{1000})
        << name;
  }
}

TEST_F(RecorderTest, ZoomScalesEveryFrameAsTheRendererDoes) {
  Player player;
  Open(player, kBlink);
  const std::vector<uint8_t> screen = Screen(player.Doc);
  for (const char* name : {"z.gif", "z.webp"}) {
    ASSERT_TRUE(Record(player, name, 50, {}, 3).Written);
    const Animation animation = ReadAnimation(files_.Path(name).string());
    ASSERT_EQ(animation.Frames.size(), 1u) << name;
    EXPECT_EQ(animation.Width, 36);
    const std::vector<uint8_t>& rgb = animation.Frames[0].Rgb;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 36; ++x) {
        for (int c = 0; c < 3; ++c)
          ASSERT_EQ(rgb[(y * 36 + x) * 3 + c], screen[((y / 3) * 12 + x / 3) * 3 + c]) << name;
      }
    }
  }
}

TEST_F(RecorderTest, PressesDropsAndKeysRunTheirScriptsAtTheirTimes) {
  Player player;
  // Pressing the eye hides the body until the eye is released; the key 1 shows set 1.
  Open(player, ";@press(#1) unmap(\"body.cel\")\n;@release(#1) map(\"body.cel\")\n");
  const std::vector<uint8_t> start = Screen(player.Doc);
  using Kind = RecordingInput::Kind;
  const RecordingResult result = Record(
      player, "input.gif", 800,
      {{200, Kind::Press, 1}, {400, Kind::Drop, 0}, {600, Kind::Key, '1'}, {700, Kind::Press, 9}});
  ASSERT_TRUE(result.Written) << result.Error;
  EXPECT_EQ(
      result.Notes,
      (std::vector<std::string>{"at 700 ms no pixel of object 9 shows; nothing was pressed"}));
  const Animation animation = ReadAnimation(files_.Path("input.gif").string());
  ASSERT_TRUE(animation.Ok);
  ASSERT_EQ(animation.Durations(), (std::vector<uint32_t>{200, 200, 200, 200}));
  EXPECT_EQ(animation.Frames[0].Rgb, start);
  EXPECT_EQ(animation.Frames[2].Rgb, start);
  // Body hidden: its pixel (1, 1) shows the background, the eye at (2, 2) stays.
  const auto pixel = [&](int frame, int x, int y) {
    const uint8_t* p = &animation.Frames[frame].Rgb[(y * 12 + x) * 3];
    return std::vector<uint8_t>(p, p + 3);
  };
  EXPECT_EQ(pixel(1, 1, 1), pixel(0, 0, 0));
  EXPECT_EQ(pixel(1, 2, 2), pixel(0, 2, 2));
  EXPECT_EQ(player.Doc.Set().CurrentSet(), 1);
  EXPECT_EQ(pixel(3, 6, 2), pixel(0, 1, 1));  // set 1 has the body at (6, 2)
}

TEST_F(RecorderTest, TheSameArgumentsWriteTheSameBytesAndTheSeedDecides) {
  const std::string random =
      ";@initialize() randomtimer(1,30,300)\n"
      ";@alarm(1) altmap(\"eye.cel\") randomtimer(1,30,300)\n";
  const auto recordWith = [&](uint32_t seed, const std::string& name) {
    Player player(seed);
    Open(player, random);
    EXPECT_TRUE(Record(player, name, 5000).Written);
    return Bytes(files_.Path(name));
  };
  const std::string first = recordWith(0, "a.webp");
  EXPECT_EQ(recordWith(0, "b.webp"), first);
  EXPECT_NE(recordWith(7, "c.webp"), first);
  EXPECT_EQ(recordWith(0, "a.gif"), recordWith(0, "b.gif"));
}

TEST_F(RecorderTest, AnAlarmEveryShortestFrameStopsAtTheFrameLimit) {
  Player player;
  Open(player, ";@initialize() timer(1,20)\n;@alarm(1) altmap(\"eye.cel\") timer(1,20)\n");
  const RecordingResult result = Record(player, "fast.gif", kMaxRecordingMs);
  ASSERT_TRUE(result.Written) << result.Error;
  EXPECT_EQ(result.Frames, kMaxRecordingFrames);
  EXPECT_EQ(result.RecordedMs, kMaxRecordingFrames * kShortestFrameMs);
  EXPECT_EQ(result.Notes, (std::vector<std::string>{"the recording stopped at 10000 frames, after "
                                                    "200000 ms of the 600000 ms asked for"}));
  const Animation animation = ReadAnimation(files_.Path("fast.gif").string());
  ASSERT_EQ(animation.Frames.size(), static_cast<size_t>(kMaxRecordingFrames));
  EXPECT_EQ(animation.Durations(), std::vector<uint32_t>(kMaxRecordingFrames, kShortestFrameMs));
}

TEST_F(RecorderTest, RefusesWhatItCannotRecordAndLeavesNoFile) {
  Player player;
  EXPECT_EQ(Record(player, "none.gif", 100).Error, "no set is shown");
  Open(player, kBlink);
  EXPECT_EQ(Record(player, "x.png", 100).Error,
            "an animation is written to a .gif or a .webp file, not \"" +
                files_.Path("x.png").string() + "\"");
  EXPECT_FALSE(Record(player, "gone/x.gif", 100).Written);
  EXPECT_FALSE(Record(player, "long.webp", kMaxRecordingMs + 1).Written);
  EXPECT_FALSE(Record(player, "zoomed.webp", 100, {}, kMaxRecordingZoom + 1).Written);
  Player wide;
  files_.WriteText("wide.cnf", "(600,8)\n%p.kcf\n#0 body.cel\n$0 1,1\n");
  ASSERT_TRUE(OpenAsWindow(wide.Doc, wide.Outside, files_.Path("wide.cnf").string()).Opened);
  EXPECT_EQ(Record(wide, "wide.webp", 100, {}, 28).Error,
            "the picture is too large for a WebP (at most 16,384 pixels a side)");
  EXPECT_FALSE(std::filesystem::exists(files_.Path("long.webp")));
  EXPECT_FALSE(std::filesystem::exists(files_.Path("wide.webp")));
  for (const auto& entry : std::filesystem::directory_iterator(dir_.Path()))
    EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace tavro::test
