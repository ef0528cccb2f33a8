// Text layout over any font: lines, word wrapping, measuring and drawing whole texts.
#include <string>
#include <vector>

#include "platform/fonts.h"
#include "platform/text.h"

namespace platform::fonts {
namespace {

bool IsDoubleByteAt(std::string_view s, size_t i) {
  return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size();
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    } else if (IsDoubleByteAt(text, i)) {
      ++i;  // a trail byte is never a line break
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::vector<std::string> WrapText(const Font& font, std::string_view text, int width, int charExtra) {
  std::vector<std::string> out;
  for (const std::string& hard : SplitLines(text)) {
    // Characters of the line with their widths and kinds.
    struct Ch {
      size_t pos, len;
      int w;
      bool wide, space;
    };
    std::vector<Ch> chars;
    for (size_t i = 0; i < hard.size();) {
      const size_t len = IsDoubleByteAt(hard, i) ? 2 : 1;
      const std::string_view c(hard.data() + i, len);
      chars.push_back({i, len, font.Measure(c, charExtra).width, len == 2, c == " " || c == "\t"});
      i += len;
    }
    if (chars.empty()) {
      out.emplace_back();
      continue;
    }
    // A line may end before char k when k or k-1 is a Chinese character or k-1 is a blank.
    auto canBreakBefore = [&](size_t k) {
      return k > 0 && (chars[k].wide || chars[k - 1].wide || chars[k - 1].space);
    };
    auto emit = [&](size_t from, size_t to) {
      while (to > from && chars[to - 1].space) --to;
      const size_t a = chars[from].pos;
      const size_t b = to > from ? chars[to - 1].pos + chars[to - 1].len : a;
      out.emplace_back(hard.substr(a, b - a));
    };
    size_t s = 0;
    while (s < chars.size()) {
      int w = 0;
      size_t i = s;
      size_t lastBreak = s;
      while (i < chars.size()) {
        if (i > s && canBreakBefore(i)) lastBreak = i;
        if (i > s && w + chars[i].w > width && !chars[i].space) break;
        w += chars[i].w;
        ++i;
      }
      if (i >= chars.size()) {
        emit(s, chars.size());
        break;
      }
      size_t end = lastBreak > s ? lastBreak : i;  // no break opportunity: cut the word
      emit(s, end);
      s = end;
      while (s < chars.size() && chars[s].space) ++s;
    }
  }
  return out;
}

TextExtent MeasureText(const FontSpec& fontSpec, std::string_view line, int charExtra) {
  auto f = Font::Create(fontSpec);
  return f ? f->Measure(line, charExtra) : TextExtent{};
}

void DrawText(Bitmap& dst, const FontSpec& fontSpec, int x, int y, std::string_view text, int charExtra, const Rect* clip) {
  auto f = Font::Create(fontSpec);
  if (!f) return;
  for (const std::string& line : SplitLines(text)) {
    f->Draw(dst, x, y, line, fontSpec.color, charExtra, clip);
    y += f->Height();
  }
}

}  // namespace platform::fonts
