#pragma once
// A small JSON reader and string quoting, for the reports of the tools the tests start.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

class JsonValue {
 public:
  enum class Kind { Null, Bool, Number, String, Array, Object };

  // Nothing when text is not one whole JSON value.
  static std::optional<JsonValue> Parse(std::string_view text);

  Kind kind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }
  bool AsBool() const { return kind_ == Kind::Bool && bool_; }
  double AsNumber() const { return kind_ == Kind::Number ? number_ : 0; }
  // The text of a string; other values as compact JSON.
  std::string AsString() const;
  const std::vector<JsonValue>& Items() const { return items_; }
  // The member called name, or a null value.
  const JsonValue& operator[](const std::string& name) const;
  const std::map<std::string, JsonValue>& Members() const { return members_; }
  std::string ToJson() const;

 private:
  friend class JsonParser;
  Kind kind_ = Kind::Null;
  bool bool_ = false;
  double number_ = 0;
  std::string string_;
  std::vector<JsonValue> items_;
  std::map<std::string, JsonValue> members_;
};

// text as a JSON string literal, quotes included (text is taken as UTF-8).
std::string JsonQuote(std::string_view text);

}  // namespace testing_support
