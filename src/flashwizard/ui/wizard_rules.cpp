#include "flashwizard/ui/wizard_rules.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "flashwizard/flash_project.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

namespace flashwizard::ui {

std::string TemplateNameFromArgs(const std::vector<std::string>& args) {
  std::string name;
  for (const std::string& a : args) name += a;
  if (!name.empty() && name.front() == '"') name.erase(0, 1);
  if (!name.empty() && name.back() == '"') name.pop_back();
  return name;
}

bool ShouldTileBackground(int pictureWidth, int pictureHeight, int movieWidth, int movieHeight) {
  return pictureWidth <= movieWidth / 2 || pictureHeight <= movieHeight / 2;
}

void HandleCorner(const Box& o, int handle, int& x, int& y) {
  const int half = kHandleSize / 2;
  const int l = o.left, t = o.top, w = o.width, h = o.height;
  switch (handle) {
    case 1: x = l - half; y = t - half; break;
    case 2: x = l + w - half; y = t - half; break;
    case 3: x = l + w - half; y = t + h - half; break;
    case 4: x = l - half; y = t + h - half; break;
    case 5: x = l + w / 2 - half; y = t - half; break;
    case 6: x = l + w - half; y = t + h / 2 - half; break;
    case 7: x = l + w / 2 - half; y = t + h - half; break;
    default: x = l - half; y = t + h / 2 - half; break;
  }
}

Box ResizeByHandle(const Box& o, int handle, int cx, int cy, int pictureWidth, int pictureHeight) {
  Box f = o;
  auto heightFromWidth = [&] {
    if (pictureWidth != 0)
      f.height = static_cast<int>(std::lround(static_cast<double>(f.width) * pictureHeight / pictureWidth));
  };
  switch (handle) {
    case 1: f.left = cx; f.top = cy; f.width = o.right() - f.left; heightFromWidth(); break;
    case 2: f.top = cy; f.width = cx - o.left; heightFromWidth(); break;
    case 3: f.width = cx - o.left; heightFromWidth(); break;
    case 4: f.left = cx; f.width = o.right() - f.left; heightFromWidth(); break;
    case 5: f.top = cy; f.height = o.bottom() - f.top; break;
    case 6: f.width = cx - o.left; break;
    case 7: f.height = cy - o.top; break;
    case 8: f.left = cx; f.width = o.right() - f.left; break;
    default: break;
  }
  return f;
}

Box NormalizeBox(const Box& box) {
  Box b = box;
  if (b.width < 0) {
    b.width = -b.width;
    b.left -= b.width;
  }
  if (b.height < 0) {
    b.height = -b.height;
    b.top -= b.height;
  }
  return b;
}

int DeleteScene(FlashProject& project, int index) {
  if (index < 0 || index >= project.SceneCount) return -1;
  for (int i = 0; i < project.ObjectCount; ++i)
    if (!project.Objects[i].Deleted && project.Objects[i].SceneID == index) project.DelObj(i);
  for (int s = index + 1; s < project.SceneCount; ++s) {
    for (int i = 0; i < project.ObjectCount; ++i)
      if (!project.Objects[i].Deleted && project.Objects[i].SceneID == s) project.Objects[i].SceneID = s - 1;
    project.Scenes[s - 1] = project.Scenes[s];
  }
  project.Scenes[project.SceneCount - 1] = TpvFlashScene();
  --project.SceneCount;
  if (project.SceneCount == 0) return -1;
  return index < project.SceneCount ? index : 0;
}

std::vector<int> StackingOrder(const FlashProject& project) {
  std::vector<int> order;
  for (int layer = 0; layer <= 9; ++layer)
    for (int i = 0; i < project.ObjectCount; ++i)
      if (!project.Objects[i].Deleted && project.Objects[i].LayerID == layer) order.push_back(i);
  return order;
}

std::string DecorationFileName(const std::string& tempFolder) {
  for (int n = 0; n <= 100000; ++n) {
    std::string name = tempFolder + "~文字" + std::to_string(n) + ".bmp";
    if (!platform::files::Exists(name)) return name;
  }
  return tempFolder + "~文字0.bmp";
}

std::string SecondsText(int milliseconds) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, milliseconds / 1000.0);
  return std::string(buf, r.ptr);
}

int MillisecondsFromText(const std::string& text) {
  std::string t = platform::Trim(text);
  double value = 0;
  auto r = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(value) ||
      std::fabs(value) > 2e6)
    throw platform::ConvertError("'" + text + "' is not a valid floating point value");
  return static_cast<int>(std::lround(value * 1000));
}

std::vector<std::string> SizeEntries(int maxNumber) {
  std::vector<std::string> out;
  for (int i = 1; i <= maxNumber; ++i) out.push_back(std::to_string(i));
  for (const char* n : {"初号", "小初", "一号", "小一", "二号", "小二", "三号", "小三", "四号", "小四", "五号",
                        "小五", "六号", "小六", "七号", "八号"})
    out.push_back(n);
  return out;
}

const std::vector<NamedColor>& ColorBoxColors() {
  using platform::Rgb;
  using platform::SystemColor;
  static const std::vector<NamedColor> kColors = {
      {"Black", Rgb(0, 0, 0)},          {"Maroon", Rgb(128, 0, 0)},       {"Green", Rgb(0, 128, 0)},
      {"Olive", Rgb(128, 128, 0)},      {"Navy", Rgb(0, 0, 128)},         {"Purple", Rgb(128, 0, 128)},
      {"Teal", Rgb(0, 128, 128)},       {"Gray", Rgb(128, 128, 128)},     {"Silver", Rgb(192, 192, 192)},
      {"Red", Rgb(255, 0, 0)},          {"Lime", Rgb(0, 255, 0)},         {"Yellow", Rgb(255, 255, 0)},
      {"Blue", Rgb(0, 0, 255)},         {"Fuchsia", Rgb(255, 0, 255)},    {"Aqua", Rgb(0, 255, 255)},
      {"White", Rgb(255, 255, 255)},    {"Money Green", Rgb(192, 220, 192)}, {"Sky Blue", Rgb(166, 202, 240)},
      {"Cream", Rgb(255, 251, 240)},    {"Medium Gray", Rgb(160, 160, 164)},
      // The system colours, by index, as the host's colour box names them.
      {"Scroll Bar", SystemColor(0)},   {"Background", SystemColor(1)},   {"Active Caption", SystemColor(2)},
      {"Inactive Caption", SystemColor(3)}, {"Menu Background", SystemColor(4)},
      {"Window Background", SystemColor(5)}, {"Window Frame", SystemColor(6)}, {"Menu Text", SystemColor(7)},
      {"Window Text", SystemColor(8)},  {"Caption Text", SystemColor(9)}, {"Active Border", SystemColor(10)},
      {"Inactive Border", SystemColor(11)}, {"Application Workspace", SystemColor(12)},
      {"Highlight Background", SystemColor(13)}, {"Highlight Text", SystemColor(14)},
      {"Button Face", SystemColor(15)}, {"Button Shadow", SystemColor(16)}, {"Gray Text", SystemColor(17)},
      {"Button Text", SystemColor(18)}, {"Inactive Caption Text", SystemColor(19)},
      {"Button Highlight", SystemColor(20)}, {"3D Dark Shadow", SystemColor(21)}, {"3D Light", SystemColor(22)},
      {"Info Text", SystemColor(23)},   {"Info Background", SystemColor(24)}, {"Hot Light", SystemColor(26)},
      {"Gradient Active Caption", SystemColor(27)}, {"Gradient Inactive Caption", SystemColor(28)},
      {"Menu Highlight", SystemColor(29)}, {"Menu Bar", SystemColor(30)}};
  return kColors;
}

std::string ChineseColorName(const std::string& english) {
  static const std::pair<const char*, const char*> kNames[] = {
      {"Custom...", "自定义..."}, {"Black", "黑色"}, {"Maroon", "栗色"}, {"Green", "绿色"}, {"Olive", "橄榄色"},
      {"Navy", "海蓝色"}, {"Purple", "紫色"}, {"Teal", "蓝绿色"}, {"Gray", "灰色"}, {"Silver", "银灰色"},
      {"Red", "红色"}, {"Lime", "浅绿色"}, {"Yellow", "黄色"}, {"Blue", "蓝色"}, {"Fuchsia", "粉红色"},
      {"Aqua", "浅蓝色"}, {"White", "白色"}, {"Money Green", "灰绿色"}, {"Sky Blue", "天蓝色"},
      {"Cream", "奶油色"}, {"Medium Gray", "中间灰"}, {"Active Border", "活动边框色"},
      {"Active Caption", "活动窗口标题色"}, {"Application Workspace", "程序工作区背景色"},
      {"BackGround", "桌面背景色"}, {"Button Face", "按钮底色"}, {"Button Highlight", "按钮突出显示色"},
      {"Button Shadow", "按钮阴影色"}, {"Button Text", "按钮文字色"}, {"Caption Text", "标题文字色"},
      {"Default", "默认"}, {"Gradient Active Caption", "活动标题斜面色"},
      {"Gradient Inactive Caption", "非活动标题斜面色"}, {"Gray Text", "灰暗文字色"},
      {"Highlight Background", "高亮背景色"}, {"Highlight Text", "高亮文字色"}, {"Hot Light", "Hot Light"},
      {"Inactive Border", "非活动边框色"}, {"Inactive Caption", "非活动窗口标题色"},
      {"Inactive Caption Text", "非活动窗口标题文字色"}, {"Info Background", "提示信息背景色"},
      {"Info Text", "提示信息文字色"}, {"Menu Background", "菜单背景色"}, {"Menu Bar", "菜单栏色"},
      {"Menu Highlight", "高亮菜单色"}, {"Menu Text", "菜单文字色"}, {"Scroll Bar", "滚动条色"},
      {"3D Dark Shadow", "按钮暗阴影色"}, {"3D Light", "按钮亮阴影色"}, {"Window Background", "窗口背景色"},
      {"Window Frame", "窗口框架色"}, {"Window Text", "窗口文字色"}};
  for (const auto& [en, zh] : kNames)
    if (platform::EqualsNoCase(english, en)) return zh;
  return english;
}

namespace {

std::vector<std::string> SceneEffects(const char* verb) {
  static const char* kSides[] = {"左上角", "左边", "左下角", "底部", "右下角", "右边", "右上角", "顶部"};
  static const char* kZoom[] = {"左上角", "左边", "左下角", "底部", "右下角", "右边", "右上角", "顶边", "中央"};
  std::vector<std::string> out{"随机选择", "1.透明渐变"};
  int n = 2;
  for (const char* s : kSides) out.push_back(std::to_string(n++) + ".从" + s + verb);
  for (const char* s : kSides) out.push_back(std::to_string(n++) + ".透明+" + s + verb);
  for (const char* s : kZoom) out.push_back(std::to_string(n++) + "." + s + "缩放");
  for (const char* s : kZoom) out.push_back(std::to_string(n++) + ".透明+" + s + "缩放");
  return out;
}

std::vector<std::string> ObjectEffects(const char* first, const char* verb) {
  std::vector<std::string> out{first, "透明渐变"};
  for (const char* s : {"左上角", "左边", "左下角", "底边", "右下角", "右边", "右上角", "顶边"})
    out.push_back(std::string("从") + s + verb);
  return out;
}

}  // namespace

const std::vector<std::string>& SceneAppearEffects() {
  static const std::vector<std::string> k = SceneEffects("移入");
  return k;
}
const std::vector<std::string>& SceneDisappearEffects() {
  static const std::vector<std::string> k = SceneEffects("移出");
  return k;
}
const std::vector<std::string>& ObjectAppearEffects() {
  static const std::vector<std::string> k = ObjectEffects("立即出现(无效果)", "移入");
  return k;
}
const std::vector<std::string>& ObjectDisappearEffects() {
  static const std::vector<std::string> k = ObjectEffects("立即消失(无效果)", "移出");
  return k;
}

}  // namespace flashwizard::ui

namespace flashwizard::ui {

std::vector<std::string> FontListEntries(const std::vector<std::string>& families) {
  std::vector<std::string> out;
  for (const std::string& f : families) {
    if (f.empty() || f[0] == '@') continue;
    size_t chars = 0;
    for (size_t i = 0; i < f.size(); i += platform::IsLeadByte(static_cast<unsigned char>(f[i])) ? 2 : 1) ++chars;
    if (chars > 1) out.push_back(f);
  }
  return out;
}

}  // namespace flashwizard::ui
