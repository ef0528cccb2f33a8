#pragma once
// Interactive card files for the player tests: settings sections and media pieces put together
// as the package builder lays them out (header, media, settings block).
#include <string>
#include <utility>
#include <vector>

#include "maker/packaging/settings_block.h"
#include "platform/text.h"

namespace player_fixture {

class CardBytes {
 public:
  // Sets a key of a section (sections appear in the order first used; a key set again
  // keeps its place and takes the new value).
  CardBytes& Set(const std::string& section, const std::string& key, const std::string& value) {
    for (auto& s : sections_) {
      if (s.first == section) {
        for (auto& kv : s.second) {
          if (kv.first == key) {
            kv.second = value;
            return *this;
          }
        }
        s.second.emplace_back(key, value);
        return *this;
      }
    }
    sections_.push_back({section, {{key, value}}});
    return *this;
  }
  // Adds a media file; answers its id.
  int AddMedia(std::string bytes) {
    media_.push_back(std::move(bytes));
    return static_cast<int>(media_.size()) - 1;
  }
  std::string Build(const std::string& header = "LMCARD header\r\n") const {
    std::string out = header;
    std::string text;
    for (const auto& [name, keys] : sections_) {
      text += "[" + name + "]\r\n";
      for (const auto& [k, v] : keys) text += k + "=" + v + "\r\n";
    }
    for (size_t k = 0; k < media_.size(); ++k) {
      text += "[File" + std::to_string(k) + "]\r\nLen=" + std::to_string(media_[k].size()) +
              "\r\nStart=" + std::to_string(out.size()) + "\r\n";
      out += media_[k];
    }
    text += "[END]\r\nMakeTime=2026-12-9 12:00:00\r\n";
    return out + packaging::InteractiveBlock(text);
  }

 private:
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections_;
  std::vector<std::string> media_;
};

// A small card: 300 x 200, one label, one button, counts for everything else 0.
inline CardBytes SmallCard() {
  CardBytes c;
  c.Set("Application", "LabelCount", "1").Set("Application", "ButtonCount", "1");
  for (const char* k : {"ImageCount", "GIFCount", "WavCount", "AviCount", "FlashCount", "lmsclCount"})
    c.Set("Application", k, "0");
  c.Set("Application", "Width", "300").Set("Application", "Height", "200");
  c.Set("Application", "CardTitle", "测试贺卡").Set("Application", "BkPic", "-1");
  c.Set("Label1", "Caption", "第一行<%BR%>第二行").Set("Label1", "FontName", "宋体").Set("Label1", "FontSize", "12");
  c.Set("Label1", "FontItlic", "True").Set("Label1", "Left", "10").Set("Label1", "Top", "20");
  c.Set("Label1", "Width", "100").Set("Label1", "Height", "40").Set("Label1", "Tag", "1");
  c.Set("Label1", "Cmd", "").Set("Label1", "Ind", "1").Set("Label1", "PicUrl", "-1").Set("Label1", "Pic", "");
  c.Set("Button1", "Caption", "关闭").Set("Button1", "Tag", "1").Set("Button1", "Left", "200");
  c.Set("Button1", "Top", "170").Set("Button1", "Width", "68").Set("Button1", "Height", "20");
  c.Set("Button1", "Cmd", "结束贺卡运行").Set("Button1", "Ind", "2").Set("Button1", "Wav", "0");
  c.Set("Button1", "PicUrl", "-1").Set("Button1", "Pic", "");
  c.Set("PicsBox", "Use", "False");
  return c;
}

}  // namespace player_fixture
