// Property panels of images and GIF animations: file, natural-size switch, hint, cursor.
#include "maker/document/element_lifecycle.h"
#include "maker/document/picture_size.h"
#include "maker/document/ui/designer.h"
#include "maker/document/ui/panel_kit.h"
#include "platform/dialogs.h"
#include "platform/error.h"

namespace designer {

using document::ElementKind;

namespace {

class PicturePanel : public Panel {
 public:
  PicturePanel(Designer& d, ElementKind kind) : Panel(d) {
    const bool gif = kind == ElementKind::Gif;
    setObjectName(gif ? "GifPanel" : "ImagePanel");
    AddRectFields(kind);
    QPushButton* browse = nullptr;
    file_ = AddFileField(gif ? "GIF动画位置:" : "图片位置:", "File", &browse);
    natural_ = AddCheck(gif ? "保持GIF动画的原始大小" : "保持图像的原始大小", "NaturalSize");
    AddHintAndCursor();
    Column()->addStretch(1);
    connect(browse, &QPushButton::clicked, this, [this, gif] {
      if (!Doc().selected) return;
      std::string f = BrowseFile(gif ? "浏览GIF 动画" : "浏览图片", gif ? document::kGifFilter : document::kPictureFilter,
                                 TextOf(file_));
      if (!f.empty()) LoadFile(f);
    });
    connect(natural_, &QCheckBox::toggled, this, [this](bool on) {
      if (Filling() || !Doc().selected) return;
      document::ElementRef ref = *Doc().selected;
      document::ElementControl* c = Doc().FindControl(ref);
      if (!c) return;
      c->autoSize = on;
      c->stretch = !on;
      document::Rect r = c->rect;
      if (on && c->naturalWidth > 0) r = {r.left, r.top, c->naturalWidth, c->naturalHeight};
      designer_.ElementChanged(ref);
      designer_.SetElementRect(ref, r);
    });
  }

 protected:
  void DoFill() override {
    FillRectFields();
    document::ElementRef ref = Selected();
    auto& table = ref.kind == ElementKind::Gif ? Doc().gifs : Doc().images;
    int i = document::IndexOfTag(Doc(), ref.kind, ref.tag);
    if (i >= 1 && i <= static_cast<int>(table.size())) {
      const auto& e = table[static_cast<size_t>(i - 1)];
      SetText(file_, e.rec.Filename);
      natural_->setChecked(e.control.autoSize);
    }
    FillHintAndCursor();
  }

 private:
  // The chosen picture goes into the control and the record; the natural size is measured
  // first, so an unreadable file changes nothing.
  void LoadFile(const std::string& path) {
    document::ElementRef ref = *Doc().selected;
    document::PictureSize size;
    try {
      size = document::MeasurePicture(path);
    } catch (const platform::Error& e) {
      platform::ShowMessage(e.what(), platform::MsgIcon::Error);
      return;
    }
    auto& table = ref.kind == ElementKind::Gif ? Doc().gifs : Doc().images;
    int i = document::IndexOfTag(Doc(), ref.kind, ref.tag);
    if (i < 1 || i > static_cast<int>(table.size())) return;
    auto& e = table[static_cast<size_t>(i - 1)];
    e.control.picture = path;
    e.control.naturalWidth = size.width;
    e.control.naturalHeight = size.height;
    e.rec.Filename = path;
    document::Rect r = e.control.rect;
    if (e.control.autoSize) r = {r.left, r.top, size.width, size.height};
    designer_.ElementChanged(ref);
    designer_.SetElementRect(ref, r);
  }

  QLineEdit* file_;
  QCheckBox* natural_;
};

}  // namespace

Panel* MakeImagePanel(Designer& d) { return new PicturePanel(d, ElementKind::Image); }
Panel* MakeGifPanel(Designer& d) { return new PicturePanel(d, ElementKind::Gif); }

}  // namespace designer
