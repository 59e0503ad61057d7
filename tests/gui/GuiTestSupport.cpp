#include "GuiTestSupport.h"

#include <QDir>
#include <QFile>

namespace tavro::test {

ScopedSettingsDir::ScopedSettingsDir() : Saved_(qgetenv("XDG_CONFIG_HOME")) {
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(Dir_.path()));
}

ScopedSettingsDir::~ScopedSettingsDir() { qputenv("XDG_CONFIG_HOME", Saved_); }

QString ScopedSettingsDir::IniPath() const { return Dir_.path() + "/tavro/tavro.ini"; }

void AppTestCase::BeginFolders() {
  settingsDir_ = std::make_unique<ScopedSettingsDir>();
  dir_ = std::make_unique<TempDir>();
  files_ = std::make_unique<SetFiles>(dir_->Path());
  messages_.clear();
}

void AppTestCase::StartApp(bool start) {
  app_.reset();  // one application at a time, as in the program
  app_ = std::make_unique<CTavroApp>();
  app_->HostImpl().SetMessageSink([this](const QtHost::Message& m) { messages_.push_back(m); });
  if (start) app_->InitInstance({});
}

void AppTestCase::End() {
  app_.reset();
  files_.reset();
  dir_.reset();
  settingsDir_.reset();
}

void FillShownSet(CTavroDoc& doc, std::initializer_list<int> sets, int groups, int width,
                  int height) {
  // A shown set with no cel in it: the picture below is the map itself.
  SetBuilder build(doc);
  build.Set().Reset();
  build.Tables();
  build.Playfield(width, height);
  ComposedMap map;
  map.SetSize(width, height);
  map.Allocate(/*trueColour=*/false);
  map.SetColour(1, {qBlue(kPictureColour), qGreen(kPictureColour), qRed(kPictureColour), 0});
  map.SetColour(2, {qBlue(kTopRowColour), qGreen(kTopRowColour), qRed(kTopRowColour), 0});
  const size_t rowBytes = map.RowBytes();
  std::fill_n(map.MutableBytes(), rowBytes * height, uint8_t{1});
  std::fill_n(map.MutableRow(0), rowBytes, uint8_t{2});
  doc.EditMap() = std::move(map);
  for (int set : sets) build.Set().MarkSetsInUse(1u << set);
  build.GroupCount(groups);
  build.ColourCount(3);
  build.Current(0, 0);
  doc.MarkSetLoaded(true);
}

std::unique_ptr<CTavroView> MakeStandaloneView(DocumentSession& session, StubFrameLink& frame) {
  auto view = std::make_unique<CTavroView>(session, frame);
  frame.Window = view.get();
  frame.ToolbarVisible = false;
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return view;
}

OpenResult OpenInView(CTavroView& view, FakeHost& host, const std::string& path) {
  const OpenResult result = view.Session().Open(path);
  host.Show(result.Messages);
  view.Apply(view.Session().StartSet());
  return result;
}

}  // namespace tavro::test
