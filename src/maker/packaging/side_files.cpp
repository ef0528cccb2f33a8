#include "maker/packaging/side_files.h"

#include <algorithm>
#include <cstring>

namespace packaging {

namespace {

uint64_t Le(std::string_view b, size_t at, size_t n) {
  uint64_t v = 0;
  for (size_t i = 0; i < n; ++i) v |= static_cast<uint64_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
  return v;
}

size_t PrefixLength(int form) { return form == 1 ? kForm1PrefixLength : kForm34PrefixLength; }

// A FORM prefix that starts at offset and ends at or before limit (limit <= bytes.size()).
std::optional<IconPatch> PatchAt(std::string_view bytes, uint64_t offset, uint64_t limit) {
  if (offset >= limit || limit - offset < kIconPatchMagic.size() + 1) return {};
  if (bytes.substr(offset, kIconPatchMagic.size()) != kIconPatchMagic) return {};
  int form = static_cast<unsigned char>(bytes[offset + kIconPatchMagic.size()]);
  if (form != 1 && form != 3 && form != 4) return {};
  if (limit - offset < PrefixLength(form)) return {};
  uint64_t image = offset + PrefixLength(form) - kIconHeaderStart.size();
  if (bytes.substr(image, kIconHeaderStart.size()) != kIconHeaderStart) return {};
  return IconPatch{offset, form, image, limit - image};
}

}  // namespace

std::string FormFileBytes(int form) {
  std::string b(kIconPatchMagic);
  b += static_cast<char>(form);
  b += static_cast<char>(form == 4 ? 8 : 0);
  b.resize(PrefixLength(form) - kIconHeaderStart.size(), '\0');
  b += kIconHeaderStart;
  return b;
}

std::string HeaderFileBytes() {
  return "[LumoCard]\r\n"
         "这是《Lumo贺卡制作》的贺卡文件，请用贺卡播放程序打开它。\r\n"
         "This is a card file of the card maker; open it with its card player.\r\n";
}

std::string OptionIniText(long long exe1, long long exe2, long long exe3) {
  std::string t = "[Application]\r\n";
  if (exe1 >= 0) t += "EXE1=" + std::to_string(exe1) + "\r\n";
  if (exe2 >= 0) t += "EXE2=" + std::to_string(exe2) + "\r\n";
  if (exe3 >= 0) t += "EXE3=" + std::to_string(exe3) + "\r\n";
  return t;
}

std::optional<uint64_t> ElfImageEnd(std::string_view b) {
  if (b.size() < 52 || b.substr(0, 4) != std::string_view("\x7f" "ELF", 4)) return {};
  const bool is64 = b[4] == 2;
  if (b[5] != 1) return {};  // little-endian only
  if (is64 && b.size() < 64) return {};
  uint64_t phoff = is64 ? Le(b, 32, 8) : Le(b, 28, 4);
  uint64_t shoff = is64 ? Le(b, 40, 8) : Le(b, 32, 4);
  uint64_t phentsize = Le(b, is64 ? 54 : 42, 2), phnum = Le(b, is64 ? 56 : 44, 2);
  uint64_t shentsize = Le(b, is64 ? 58 : 46, 2), shnum = Le(b, is64 ? 60 : 48, 2);
  uint64_t end = is64 ? 64 : 52;
  auto fits = [&](uint64_t off, uint64_t len) { return off <= b.size() && len <= b.size() - off; };
  if (phnum) {
    if (!fits(phoff, phentsize * phnum) || phentsize < (is64 ? 56u : 32u)) return {};
    end = std::max(end, phoff + phentsize * phnum);
    for (uint64_t i = 0; i < phnum; ++i) {
      size_t p = phoff + i * phentsize;
      uint64_t off = is64 ? Le(b, p + 8, 8) : Le(b, p + 4, 4);
      uint64_t filesz = is64 ? Le(b, p + 32, 8) : Le(b, p + 16, 4);
      if (off > UINT64_MAX - filesz) return {};
      end = std::max(end, off + filesz);
    }
  }
  if (shnum) {
    if (!fits(shoff, shentsize * shnum) || shentsize < (is64 ? 64u : 40u)) return {};
    end = std::max(end, shoff + shentsize * shnum);
    for (uint64_t i = 0; i < shnum; ++i) {
      size_t s = shoff + i * shentsize;
      uint64_t type = Le(b, s + 4, 4);
      if (type == 8) continue;  // SHT_NOBITS occupies no file bytes
      uint64_t off = is64 ? Le(b, s + 24, 8) : Le(b, s + 16, 4);
      uint64_t size = is64 ? Le(b, s + 32, 8) : Le(b, s + 20, 4);
      if (off > UINT64_MAX - size) return {};
      end = std::max(end, off + size);
    }
  }
  return end;
}

std::optional<IconPatch> FindIconPatch(std::string_view bytes, uint64_t payloadStart) {
  payloadStart = std::min<uint64_t>(payloadStart, bytes.size());
  if (auto end = ElfImageEnd(bytes); end && *end < payloadStart) {
    if (auto p = PatchAt(bytes, *end, payloadStart)) return p;
  }
  std::string_view head = bytes.substr(0, payloadStart);
  for (size_t at = head.rfind(kIconPatchMagic); at != std::string_view::npos;
       at = at == 0 ? std::string_view::npos : head.rfind(kIconPatchMagic, at - 1)) {
    if (auto p = PatchAt(bytes, at, payloadStart)) return p;
  }
  return {};
}

}  // namespace packaging
