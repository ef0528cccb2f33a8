#include "maker/mail/dns_message.h"

namespace mail {
namespace {

constexpr size_t kHeaderSize = 12;
constexpr size_t kMaxNameLength = 255;  // wire bytes, as RFC 1035 limits names

uint16_t Read16(std::string_view m, size_t pos) {
  return static_cast<uint16_t>((static_cast<uint8_t>(m[pos]) << 8) | static_cast<uint8_t>(m[pos + 1]));
}

void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v & 0xFF);
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (!a.empty() && a.back() == '.') a.remove_suffix(1);
  if (!b.empty() && b.back() == '.') b.remove_suffix(1);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

[[noreturn]] void Damaged(const std::string& why) {
  throw DnsError("DNS服务器的回答已损坏（" + why + "）。");
}

// Reads the name that starts at pos. end receives the offset just after the name's bytes
// in place (after its first compression pointer, if any). Pointers must point to an
// earlier offset than their own, so a chain of them always ends.
std::string ReadName(std::string_view m, size_t pos, size_t& end) {
  std::string name;
  size_t wireLength = 1;
  bool jumped = false;
  for (;;) {
    if (pos >= m.size()) Damaged("域名超出了回答的范围");
    uint8_t len = static_cast<uint8_t>(m[pos]);
    if ((len & 0xC0) == 0xC0) {
      if (pos + 1 >= m.size()) Damaged("域名超出了回答的范围");
      size_t target = (static_cast<size_t>(len & 0x3F) << 8) | static_cast<uint8_t>(m[pos + 1]);
      if (target >= pos) Damaged("域名压缩指针形成循环或指向回答之外");
      if (!jumped) end = pos + 2;
      jumped = true;
      pos = target;
      continue;
    }
    if ((len & 0xC0) != 0) Damaged("不认识的域名标签类型");
    if (len == 0) {
      if (!jumped) end = pos + 1;
      return name;
    }
    if (pos + 1 + len > m.size()) Damaged("域名超出了回答的范围");
    wireLength += 1u + len;
    if (wireLength > kMaxNameLength) Damaged("域名太长");
    if (!name.empty()) name += '.';
    name.append(m.substr(pos + 1, len));
    pos += 1u + len;
  }
}

std::string RcodeText(int rcode, std::string_view domain) {
  switch (rcode) {
    case 1: return "查询格式错误";
    case 2: return "服务器故障";
    case 3: return "域名 " + std::string(domain) + " 不存在";
    case 4: return "不支持这种查询";
    case 5: return "服务器拒绝了查询";
    default: return "错误码 " + std::to_string(rcode);
  }
}

}  // namespace

std::string BuildMxQuery(uint16_t id, std::string_view domain) {
  std::string name(domain);
  if (!name.empty() && name.back() == '.') name.pop_back();
  if (name.empty()) throw DnsError("要查询的域名是空的。");
  std::string q;
  Put16(q, id);
  Put16(q, 0x0100);  // standard query, recursion desired
  Put16(q, 1);       // one question
  Put16(q, 0);
  Put16(q, 0);
  Put16(q, 0);
  size_t wireLength = 1;
  size_t start = 0;
  for (;;) {
    size_t dot = name.find('.', start);
    std::string_view label = std::string_view(name).substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    if (label.empty()) throw DnsError("域名 " + std::string(domain) + " 含有空的部分。");
    if (label.size() > 63) throw DnsError("域名 " + std::string(domain) + " 的一部分超过63个字符。");
    wireLength += 1 + label.size();
    if (wireLength > kMaxNameLength) throw DnsError("域名 " + std::string(domain) + " 太长。");
    q += static_cast<char>(label.size());
    q.append(label);
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  q += '\0';
  Put16(q, kTypeMx);
  Put16(q, kClassIn);
  return q;
}

bool IsTruncatedReply(std::string_view m, uint16_t id) {
  if (m.size() < kHeaderSize || Read16(m, 0) != id) return false;
  const uint16_t flags = Read16(m, 2);
  return (flags & 0x8000) != 0 && (flags & 0x0200) != 0;
}

std::vector<std::string> ParseMxReply(std::string_view m, uint16_t id, std::string_view domain) {
  if (m.size() < kHeaderSize) {
    throw DnsError("DNS服务器的回答太短（" + std::to_string(m.size()) + " 字节）。");
  }
  if (Read16(m, 0) != id) throw DnsError("DNS服务器的回答与查询不符（编号不同）。");
  const uint16_t flags = Read16(m, 2);
  if ((flags & 0x8000) == 0) throw DnsError("DNS服务器的回答与查询不符（收到的不是回答）。");
  if (((flags >> 11) & 0x0F) != 0) throw DnsError("DNS服务器的回答与查询不符（操作码不同）。");
  if (int rcode = flags & 0x0F; rcode != 0) {
    throw DnsError("DNS服务器报告错误：" + RcodeText(rcode, domain) + "。");
  }
  const uint16_t qdcount = Read16(m, 4);
  const uint16_t ancount = Read16(m, 6);
  if (qdcount != 1) throw DnsError("DNS服务器的回答与查询不符（问题的个数不对）。");

  // The question must be ours.
  size_t pos = kHeaderSize;
  std::string qname = ReadName(m, pos, pos);
  if (pos + 4 > m.size()) Damaged("问题不完整");
  if (!SameName(qname, domain) || Read16(m, pos) != kTypeMx || Read16(m, pos + 2) != kClassIn) {
    throw DnsError("DNS服务器的回答与查询不符（问题不同）。");
  }
  pos += 4;

  std::vector<std::string> exchanges;
  for (uint16_t i = 0; i < ancount; ++i) {
    ReadName(m, pos, pos);
    if (pos + 10 > m.size()) Damaged("记录超出了回答的范围");
    const uint16_t type = Read16(m, pos);
    const uint16_t klass = Read16(m, pos + 2);
    const size_t rdlength = Read16(m, pos + 8);
    const size_t rdata = pos + 10;
    if (rdata + rdlength > m.size()) Damaged("记录超出了回答的范围");
    if (type == kTypeMx && klass == kClassIn) {
      if (rdlength < 3) Damaged("邮件交换记录太短");
      size_t nameEnd = 0;
      // The exchange name may point back anywhere, but its own bytes stay inside the record.
      std::string exchange = ReadName(m.substr(0, rdata + rdlength), rdata + 2, nameEnd);
      if (nameEnd != rdata + rdlength) Damaged("邮件交换记录的长度不对");
      exchanges.push_back(std::move(exchange));
    }
    pos = rdata + rdlength;
  }
  return exchanges;
}

}  // namespace mail
