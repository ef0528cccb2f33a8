#include "maker/packaging/pe_icon.h"

#include <algorithm>
#include <vector>

namespace packaging {
namespace {

uint32_t Get(std::string_view b, uint64_t at, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
  return v;
}

void Put(std::string& b, uint64_t at, int n, uint32_t v) {
  for (int i = 0; i < n; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint64_t AlignUp(uint64_t v, uint64_t a) { return a ? (v + a - 1) / a * a : v; }

struct Section {
  uint64_t header = 0;  // file offset of its section header
  uint32_t virtualSize = 0, rva = 0, rawSize = 0, rawOffset = 0;
};

struct PeFile {
  uint64_t optional = 0;  // file offset of the optional header
  bool plus = false;      // PE32+
  uint32_t sectionAlign = 0, fileAlign = 0;
  uint64_t resourceDirEntry = 0;  // file offset of the resource data directory entry
  uint32_t resourceRva = 0;
  std::vector<Section> sections;
};

std::optional<PeFile> Parse(std::string_view b) {
  if (b.size() < 0x40 || b[0] != 'M' || b[1] != 'Z') return {};
  const uint64_t pe = Get(b, 0x3C, 4);
  if (pe + 24 > b.size() || b.substr(pe, 4) != std::string_view("PE\0\0", 4)) return {};
  PeFile f;
  const uint32_t count = Get(b, pe + 6, 2);
  const uint32_t optSize = Get(b, pe + 20, 2);
  f.optional = pe + 24;
  if (f.optional + optSize > b.size() || optSize < 96) return {};
  const uint32_t magic = Get(b, f.optional, 2);
  if (magic != 0x10B && magic != 0x20B) return {};
  f.plus = magic == 0x20B;
  f.sectionAlign = Get(b, f.optional + 32, 4);
  f.fileAlign = Get(b, f.optional + 36, 4);
  const uint64_t dirs = f.optional + (f.plus ? 112 : 96);
  const uint32_t dirCount = Get(b, dirs - 4, 4);
  if (dirCount < 3 || dirs + 24 > f.optional + optSize) return {};
  f.resourceDirEntry = dirs + 16;
  f.resourceRva = Get(b, f.resourceDirEntry, 4);
  const uint64_t table = f.optional + optSize;
  if (table + 40ull * count > b.size()) return {};
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t h = table + 40ull * i;
    f.sections.push_back({h, Get(b, h + 8, 4), Get(b, h + 12, 4), Get(b, h + 16, 4), Get(b, h + 20, 4)});
  }
  return f;
}

// The file offset of an RVA inside a section's raw data.
std::optional<uint64_t> FileOffset(const PeFile& f, uint64_t rva, uint64_t length, uint64_t fileSize) {
  for (const Section& s : f.sections) {
    if (rva >= s.rva && rva - s.rva + length <= s.rawSize) {
      const uint64_t at = s.rawOffset + (rva - s.rva);
      if (at + length <= fileSize) return at;
      return {};
    }
  }
  return {};
}

// The first entry of a resource directory (at file offset dir) with the given id (any when
// id < 0): the entry's file offset.
std::optional<uint64_t> Entry(std::string_view b, uint64_t dir, int id) {
  if (dir + 16 > b.size()) return {};
  const uint32_t named = Get(b, dir + 12, 2), ids = Get(b, dir + 14, 2);
  for (uint32_t i = 0; i < named + ids; ++i) {
    const uint64_t e = dir + 16 + 8ull * i;
    if (e + 8 > b.size()) return {};
    const uint32_t name = Get(b, e, 4);
    if (id < 0 || (!(name & 0x80000000u) && name == static_cast<uint32_t>(id))) return e;
  }
  return {};
}

struct IconEntries {
  uint64_t iconData = 0;   // file offset of the RT_ICON data entry
  uint32_t iconId = 0;
  uint64_t groupData = 0;  // file offset of the RT_GROUP_ICON data entry (0 when none)
};

std::optional<IconEntries> FindEntries(std::string_view b, const PeFile& f) {
  if (!f.resourceRva) return {};
  auto root = FileOffset(f, f.resourceRva, 16, b.size());
  if (!root) return {};
  // type -> name -> language -> data entry; offsets count from the directory's start.
  auto leaf = [&](int type, uint32_t* firstName) -> std::optional<uint64_t> {
    uint64_t at = *root;
    for (int level = 0; level < 3; ++level) {
      auto e = Entry(b, at, level == 0 ? type : -1);
      if (!e) return {};
      if (level == 1 && firstName) *firstName = Get(b, *e, 4);
      const uint32_t off = Get(b, *e + 4, 4);
      const bool subdir = off & 0x80000000u;
      if (subdir != (level < 2)) return {};
      at = *root + (off & 0x7FFFFFFFu);
      if (at + 16 > b.size()) return {};
    }
    return at;
  };
  IconEntries out;
  auto icon = leaf(3, &out.iconId);
  if (!icon) return {};
  out.iconData = *icon;
  if (auto group = leaf(14, nullptr)) out.groupData = *group;
  return out;
}

}  // namespace

std::optional<uint64_t> PeImageEnd(std::string_view b) {
  auto f = Parse(b);
  if (!f) return {};
  uint64_t end = f->sections.empty() ? 0 : f->sections.back().header + 40;
  for (const Section& s : f->sections) end = std::max<uint64_t>(end, static_cast<uint64_t>(s.rawOffset) + s.rawSize);
  return end;
}

std::optional<PeIconResource> FindPeIcon(std::string_view b) {
  auto f = Parse(b);
  if (!f) return {};
  auto e = FindEntries(b, *f);
  if (!e) return {};
  const uint32_t rva = Get(b, e->iconData, 4), size = Get(b, e->iconData + 4, 4);
  for (const Section& s : f->sections) {
    if (rva >= s.rva && rva - s.rva < std::max(s.rawSize, s.virtualSize)) {
      const uint64_t at = s.rawOffset + (rva - s.rva);
      if (at >= b.size()) return {};
      return PeIconResource{at, size};
    }
  }
  return {};
}

std::optional<std::string> ReadPeIcon(std::string_view b) {
  auto icon = FindPeIcon(b);
  if (!icon) return {};
  return std::string(b.substr(icon->offset, icon->size));
}

std::optional<IconSlotLayout> PlaceIconLast(std::string_view program, std::string_view prefix, std::string_view image) {
  auto f = Parse(program);
  if (!f || image.size() > kIconSlotSize || f->sections.empty()) return {};
  auto e = FindEntries(program, *f);
  if (!e) return {};
  // The resource section must be the last thing in the file.
  const Section* last = &f->sections.front();
  for (const Section& s : f->sections)
    if (s.rawOffset + s.rawSize > last->rawOffset + last->rawSize) last = &s;
  const uint64_t end = static_cast<uint64_t>(last->rawOffset) + last->rawSize;
  if (end != program.size() || f->resourceRva < last->rva || f->resourceRva >= last->rva + last->virtualSize)
    return {};
  // The slot ends on the file alignment, so the section's raw size stays a multiple of it.
  const uint64_t slotEnd = AlignUp(end + prefix.size() + kIconSlotSize, std::max<uint32_t>(f->fileAlign, 1));
  const uint64_t slot = slotEnd - kIconSlotSize;
  std::string out(program);
  out.resize(slotEnd, '\0');
  out.replace(slot - prefix.size(), prefix.size(), prefix);
  out.replace(slot, image.size(), image);

  const uint32_t slotRva = static_cast<uint32_t>(last->rva + (slot - last->rawOffset));
  Put(out, e->iconData, 4, slotRva);
  Put(out, e->iconData + 4, 4, kIconSlotSize);
  if (e->groupData) {
    // The group's entry for the image: 32x32, 32 bits, the slot's size.
    auto group = FileOffset(*f, Get(out, e->groupData, 4), 6, out.size());
    if (!group) return {};
    const uint32_t count = Get(out, *group + 4, 2);
    for (uint32_t i = 0; i < count; ++i) {
      const uint64_t g = *group + 6 + 14ull * i;
      if (g + 14 > out.size()) return {};
      if (Get(out, g + 12, 2) != e->iconId) continue;
      Put(out, g, 1, 32);
      Put(out, g + 1, 1, 32);
      Put(out, g + 2, 1, 0);
      Put(out, g + 4, 2, 1);
      Put(out, g + 6, 2, 32);
      Put(out, g + 8, 4, kIconSlotSize);
    }
  }
  const uint32_t rawSize = static_cast<uint32_t>(slotEnd - last->rawOffset);
  const uint32_t virtualSize = std::max(last->virtualSize, rawSize);
  Put(out, last->header + 16, 4, rawSize);
  Put(out, last->header + 8, 4, virtualSize);
  Put(out, f->resourceDirEntry + 4, 4, last->rva + virtualSize - f->resourceRva);
  Put(out, f->optional + 56, 4, static_cast<uint32_t>(AlignUp(last->rva + virtualSize, f->sectionAlign)));
  Put(out, f->optional + 64, 4, 0);  // checksum: not needed by programs
  return IconSlotLayout{std::move(out), slot - prefix.size()};
}

std::optional<std::string> IconFileImage32(std::string_view ico) {
  if (ico.size() < 6 || Get(ico, 0, 2) != 0 || Get(ico, 2, 2) != 1) return {};
  const uint32_t count = Get(ico, 4, 2);
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t d = 6 + 16ull * i;
    if (d + 16 > ico.size()) return {};
    const uint32_t size = Get(ico, d + 8, 4), offset = Get(ico, d + 12, 4);
    if (Get(ico, d, 1) != 32 || Get(ico, d + 1, 1) != 32) continue;
    if (offset > ico.size() || size > ico.size() - offset) return {};
    return std::string(ico.substr(offset, size));
  }
  return {};
}

}  // namespace packaging
