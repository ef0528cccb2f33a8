// Property panels of sounds (file, play, stop) and Flash movies (file).
#include "maker/document/element_lifecycle.h"
#include "maker/document/ui/designer.h"
#include "maker/document/ui/panel_kit.h"
#include "platform/sound.h"

namespace designer {

using document::ElementKind;

namespace {

class WavPanel : public Panel {
 public:
  explicit WavPanel(Designer& d) : Panel(d) {
    setObjectName("WavPanel");
    AddRectFields(ElementKind::Wav);
    QPushButton* browse = nullptr;
    file_ = AddFileField("声音文件位置:", "File", &browse);
    auto* row = new QHBoxLayout;
    auto* play = AddButton("播放声音", "Play", row);
    auto* stop = AddButton("停止播放", "Stop", row);
    Column()->addLayout(row);
    AddNote("声音对象在贺卡运行时是不可见的，所以不必在意设计时声音对象会遮住部分其它对象。");
    Column()->addStretch(1);
    connect(browse, &QPushButton::clicked, this, [this] {
      auto* rec = Record();
      if (!rec) return;
      std::string f = BrowseFile("浏览声音文件", document::kSoundFilter, TextOf(file_));
      if (f.empty()) return;
      rec->Filename = f;
      SetText(file_, f);
    });
    // Asynchronous, and no default sound when the file is missing.
    connect(play, &QPushButton::clicked, this, [this] {
      std::string f = TextOf(file_);
      platform::sound::sndPlaySoundA(f.c_str(), platform::sound::SND_ASYNC | platform::sound::SND_NODEFAULT);
    });
    connect(stop, &QPushButton::clicked, this, [] { platform::sound::sndPlaySoundA(nullptr, 0); });
  }

 protected:
  void DoFill() override {
    FillRectFields();
    if (auto* rec = Record()) SetText(file_, rec->Filename);
  }

 private:
  document::TlmwavDat* Record() {
    if (!Doc().selected) return nullptr;
    int i = document::GetLmWavIndex(Doc(), Doc().selected->tag);
    if (i < 1 || i > static_cast<int>(Doc().wavs.size())) return nullptr;
    return &Doc().wavs[static_cast<size_t>(i - 1)].rec;
  }
  QLineEdit* file_;
};

class FlashPanel : public Panel {
 public:
  explicit FlashPanel(Designer& d) : Panel(d) {
    setObjectName("FlashPanel");
    AddRectFields(ElementKind::Flash);
    QPushButton* browse = nullptr;
    file_ = AddFileField("Flash电影文件位置:", "File", &browse);
    AddNote("Flash电影只有在贺卡运行的时候才可以观看其播放效果。");
    Column()->addStretch(1);
    connect(browse, &QPushButton::clicked, this, [this] {
      auto* rec = Record();
      if (!rec) return;
      std::string f = BrowseFile("浏览Flash 电影", document::kFlashFilter, TextOf(file_));
      if (f.empty()) return;
      rec->Filename = f;
      SetText(file_, f);
    });
  }

 protected:
  void DoFill() override {
    FillRectFields();
    if (auto* rec = Record()) SetText(file_, rec->Filename);
  }

 private:
  document::TlmFlashDat* Record() {
    if (!Doc().selected) return nullptr;
    int i = document::GetlmFlashIndex(Doc(), Doc().selected->tag);
    if (i < 1 || i > static_cast<int>(Doc().flashes.size())) return nullptr;
    return &Doc().flashes[static_cast<size_t>(i - 1)].rec;
  }
  QLineEdit* file_;
};

}  // namespace

Panel* MakeWavPanel(Designer& d) { return new WavPanel(d); }
Panel* MakeFlashPanel(Designer& d) { return new FlashPanel(d); }

}  // namespace designer
