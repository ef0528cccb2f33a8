#include "support/json_value.h"

#include <cstdio>
#include <cstdlib>

namespace testing_support {

class JsonParser {
 public:
  explicit JsonParser(std::string_view t) : t_(t) {}

  std::optional<JsonValue> Whole() {
    JsonValue v;
    if (!Value(v, 0)) return std::nullopt;
    Space();
    if (at_ != t_.size()) return std::nullopt;
    return v;
  }

 private:
  void Space() {
    while (at_ < t_.size() && (t_[at_] == ' ' || t_[at_] == '\t' || t_[at_] == '\n' || t_[at_] == '\r')) ++at_;
  }
  bool Word(std::string_view w) {
    if (t_.substr(at_, w.size()) != w) return false;
    at_ += w.size();
    return true;
  }
  static void Utf8(std::string& out, unsigned c) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  bool Hex4(unsigned& c) {
    if (at_ + 4 > t_.size()) return false;
    std::string h(t_.substr(at_, 4));
    char* end = nullptr;
    c = static_cast<unsigned>(std::strtoul(h.c_str(), &end, 16));
    if (end != h.c_str() + 4) return false;
    at_ += 4;
    return true;
  }
  bool String(std::string& out) {
    if (at_ >= t_.size() || t_[at_] != '"') return false;
    ++at_;
    while (at_ < t_.size()) {
      char ch = t_[at_++];
      if (ch == '"') return true;
      if (ch != '\\') {
        out += ch;
        continue;
      }
      if (at_ >= t_.size()) return false;
      char e = t_[at_++];
      switch (e) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'u': {
          unsigned c = 0;
          if (!Hex4(c)) return false;
          if (c >= 0xD800 && c < 0xDC00 && Word("\\u")) {
            unsigned lo = 0;
            if (!Hex4(lo)) return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
          }
          Utf8(out, c);
          break;
        }
        default: out += e;
      }
    }
    return false;
  }
  bool Value(JsonValue& v, int depth) {
    if (depth > 200) return false;
    Space();
    if (at_ >= t_.size()) return false;
    char c = t_[at_];
    if (c == '{') {
      ++at_;
      v.kind_ = JsonValue::Kind::Object;
      Space();
      if (Word("}")) return true;
      for (;;) {
        Space();
        std::string key;
        if (!String(key)) return false;
        Space();
        if (!Word(":")) return false;
        JsonValue member;
        if (!Value(member, depth + 1)) return false;
        v.members_[key] = std::move(member);
        Space();
        if (Word("}")) return true;
        if (!Word(",")) return false;
      }
    }
    if (c == '[') {
      ++at_;
      v.kind_ = JsonValue::Kind::Array;
      Space();
      if (Word("]")) return true;
      for (;;) {
        JsonValue item;
        if (!Value(item, depth + 1)) return false;
        v.items_.push_back(std::move(item));
        Space();
        if (Word("]")) return true;
        if (!Word(",")) return false;
      }
    }
    if (c == '"') {
      v.kind_ = JsonValue::Kind::String;
      return String(v.string_);
    }
    if (Word("true")) {
      v.kind_ = JsonValue::Kind::Bool;
      v.bool_ = true;
      return true;
    }
    if (Word("false")) {
      v.kind_ = JsonValue::Kind::Bool;
      return true;
    }
    if (Word("null")) return true;
    std::string num(t_.substr(at_, 40));
    char* end = nullptr;
    v.number_ = std::strtod(num.c_str(), &end);
    if (end == num.c_str()) return false;
    at_ += end - num.c_str();
    v.kind_ = JsonValue::Kind::Number;
    return true;
  }

  std::string_view t_;
  size_t at_ = 0;
};

std::optional<JsonValue> JsonValue::Parse(std::string_view text) { return JsonParser(text).Whole(); }

std::string JsonValue::AsString() const { return kind_ == Kind::String ? string_ : ToJson(); }

const JsonValue& JsonValue::operator[](const std::string& name) const {
  static const JsonValue kNull;
  auto it = members_.find(name);
  return it == members_.end() ? kNull : it->second;
}

std::string JsonValue::ToJson() const {
  switch (kind_) {
    case Kind::Null: return "null";
    case Kind::Bool: return bool_ ? "true" : "false";
    case Kind::Number: {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.17g", number_);
      return buf;
    }
    case Kind::String: return JsonQuote(string_);
    case Kind::Array: {
      std::string s = "[";
      for (size_t i = 0; i < items_.size(); ++i) s += (i ? "," : "") + items_[i].ToJson();
      return s + "]";
    }
    case Kind::Object: {
      std::string s = "{";
      bool first = true;
      for (const auto& [k, v] : members_) {
        s += (first ? "" : ",") + JsonQuote(k) + ":" + v.ToJson();
        first = false;
      }
      return s + "}";
    }
  }
  return "null";
}

std::string JsonQuote(std::string_view text) {
  std::string s = "\"";
  for (char c : text) {
    switch (c) {
      case '"': s += "\\\""; break;
      case '\\': s += "\\\\"; break;
      case '\n': s += "\\n"; break;
      case '\r': s += "\\r"; break;
      case '\t': s += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          s += buf;
        } else {
          s += c;
        }
    }
  }
  return s + "\"";
}

}  // namespace testing_support
