// The movie's timeline as JSON, for players that draw the movie themselves (the web card).
// The placements are those Build() writes into the SWF, from the same layout:
//
// {"width": W, "height": H, "frameMs": 40, "frames": N, "loop": true, "stage": "#rrggbb",
//  "music": {"start": F, "end": F, "skipMs": MS, "repeat": true}      (only with music)
//  "items": [{"part": "color" | "background" | "scene" | "sprinkle" | "intro" | "title",
//             "index": K,           the K-th item of its part in the order it was added
//             "depth": D, "w": W, "h": H, "blend": 0 | 1,
//             "color": "#rrggbb"    (a solid rectangle)  or  "tiled": true (picture repeated),
//             "schedule": [[packet frame, movie frames], ...]   looping from the item's start,
//             "steps": [[frame, a, b, c, d, tx, ty, alpha], ..., [frame]]}, ...]}
//
// Items are listed bottom to top. Frames count from the first frame of the content (the
// loading animation is left out); a step of one number removes the item. A step's matrix maps
// the item's w x h box onto the stage (x' = a x + c y + tx, y' = b x + d y + ty, pixels);
// alpha is out of 256.
#include <algorithm>
#include <cstdio>

#include "flashwriter/movie.h"

namespace flashwriter {

namespace {

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

std::string Colour(uint32_t rgb) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "\"#%06x\"", rgb & 0xFFFFFF);
  return buf;
}

}  // namespace

std::string Movie::TimelineJson() const {
  const int first = FirstContentFrame();
  const int total = TotalFrames();
  std::string out = "{\"width\":" + std::to_string(width_) + ",\"height\":" + std::to_string(height_) +
                    ",\"frameMs\":" + Number(kFrameMs) + ",\"frames\":" + std::to_string(total - first) +
                    ",\"loop\":" + (loop_ ? "true" : "false") + ",\"stage\":" + Colour(stageColor_);
  if (sound_ && sound_->created) {
    const SoundOptions& o = sound_->options;
    int start = FramesIn(o.startMs);
    int end = total - first;
    if (o.lengthMs > 0) end = std::min(end, start + std::max(1, FramesIn(o.lengthMs)));
    out += ",\"music\":{\"start\":" + std::to_string(start) + ",\"end\":" + std::to_string(end) +
           ",\"skipMs\":" + Number(o.skipMs) + ",\"repeat\":" + (o.repeat ? "true" : "false") + "}";
  }

  struct Entry {
    const Item* item;
    const char* part;
    size_t index;
  };
  std::vector<Entry> entries;
  for (size_t i = 0; i < background_.size(); ++i)
    entries.push_back({&background_[i], i == 0 ? "color" : "background", 0});
  for (size_t i = 0; i < scenes_.size(); ++i) entries.push_back({&scenes_[i], "scene", i});
  for (size_t i = 0; i < sprinkles_.size(); ++i) entries.push_back({&sprinkles_[i], "sprinkle", i});
  if (intro_) entries.push_back({&*intro_, "intro", 0});
  if (title_) entries.push_back({&*title_, "title", 0});
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& l, const Entry& r) { return l.item->depth < r.item->depth; });

  out += ",\"items\":[";
  bool firstItem = true;
  for (const Entry& e : entries) {
    const Item& item = *e.item;
    const std::vector<Step> steps = Lay(item, first, total);
    if (steps.empty()) continue;
    const Character& c = item.character;
    out += firstItem ? "{" : ",{";
    firstItem = false;
    out += "\"part\":\"" + std::string(e.part) + "\",\"index\":" + std::to_string(e.index) +
           ",\"depth\":" + std::to_string(item.depth) + ",\"w\":" + std::to_string(c.width) +
           ",\"h\":" + std::to_string(c.height) + ",\"blend\":" + std::to_string(item.blend);
    if (c.solid) out += ",\"color\":" + Colour(c.rgb);
    if (c.tiled) out += ",\"tiled\":true";
    out += ",\"schedule\":[";
    for (size_t k = 0; k < c.schedule.size(); ++k)
      out += (k ? ",[" : "[") + std::to_string(c.schedule[k].first) + "," + std::to_string(c.schedule[k].second) + "]";
    out += "],\"steps\":[";
    for (size_t k = 0; k < steps.size(); ++k) {
      const Step& s = steps[k];
      out += (k ? ",[" : "[") + std::to_string(s.frame - first);
      if (s.kind != Step::Remove) {
        const Matrix& m = s.placement.matrix;
        out += "," + Number(m.sx) + "," + Number(m.r0) + "," + Number(m.r1) + "," + Number(m.sy) + "," +
               Number(m.tx / 20.0) + "," + Number(m.ty / 20.0) + "," + std::to_string(s.placement.alpha);
      }
      out += "]";
    }
    out += "]}";
  }
  out += "]}";
  return out;
}

}  // namespace flashwriter
