#include "maker/document/action_list.h"

#include "platform/text.h"

namespace document {

std::vector<std::string> BuildActionList(const CardDocument& doc) {
  std::vector<std::string> list = {std::string(kActionNone), std::string(kActionEndCard),
                                   std::string(kActionOpenFile), std::string(kActionShowMessage)};
  if (doc.picsBox) {
    list.emplace_back(kActionPicsPrevious);
    list.emplace_back(kActionPicsNext);
    list.emplace_back(kActionPicsNumber);
  }
  using platform::IntToStr;
  for (const auto& e : doc.labels) list.push_back("文本框" + IntToStr(e.Tag()) + "的内容改为设置值2中的值");
  for (const auto& e : doc.images) list.push_back("图片" + IntToStr(e.Tag()) + "改为设置值1中的值");
  // The GIF entries are spelt without the blank of the GIF's shown name.
  for (const auto& e : doc.gifs) list.push_back("GIF动画" + IntToStr(e.Tag()) + "改为设置值1中的值");
  // The Flash entries read "设置1", not "设置值1"; cards already built rely on the text.
  for (const auto& e : doc.flashes) list.push_back(ShownName(ElementKind::Flash, e.Tag()) + "改为设置1中的值");
  return list;
}

std::vector<std::string> SoundChoices(const CardDocument& doc) {
  std::vector<std::string> out;
  for (const auto& e : doc.wavs) out.push_back(ShownName(ElementKind::Wav, e.Tag()));
  return out;
}

}  // namespace document
