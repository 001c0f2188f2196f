// JSON as the command line writes it (--json, saved configurations) and
// reads it back (a configuration file is untrusted input: every failure is
// a message, never more than a bounded depth and size).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lx47::ctl {

class Json {
 public:
  enum class Type { Null, Bool, Integer, Number, String, Array, Object };
  using Member = std::pair<std::string, Json>;

  Json() = default;
  static Json Bool(bool b);
  static Json Integer(std::int64_t n);
  static Json String(std::string s);
  static Json Array();
  static Json Object();

  Type type() const { return type_; }
  bool isNull() const { return type_ == Type::Null; }
  bool asBool() const { return bool_; }
  std::int64_t asInteger() const { return integer_; }
  const std::string& asString() const { return string_; }
  const std::vector<Json>& items() const { return items_; }
  const std::vector<Member>& members() const { return members_; }

  // Arrays and objects; members keep the order they are added in.
  Json& push(Json v);
  Json& set(std::string key, Json v);
  // The member of that key, or nullptr.
  const Json* find(std::string_view key) const;

  // Two-space indentation, one member per line; strings in UTF-8 with the
  // characters JSON requires escaped.
  std::string dump(int indent = 0) const;

 private:
  friend class JsonParser;
  Type type_ = Type::Null;
  bool bool_ = false;
  std::int64_t integer_ = 0;  // Integer
  std::string string_;        // String; a Number keeps its text here
  std::vector<Json> items_;
  std::vector<Member> members_;
};

// Where a document stopped being JSON: line and column (in bytes), from 1.
struct JsonError {
  unsigned line = 0;
  unsigned column = 0;
};

// Parses one JSON document (and nothing after it but white space). Numbers
// without a fraction or exponent that fit 64 bits are Integers. Nesting
// deeper than 32 and invalid UTF-8 in strings are refused.
std::optional<Json> ParseJson(std::string_view text, JsonError& error);

}  // namespace lx47::ctl
