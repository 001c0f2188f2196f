#include "ctl/json.h"

#include <charconv>
#include <cstdio>

namespace lx47::ctl {

Json Json::Bool(bool b) {
  Json j;
  j.type_ = Type::Bool;
  j.bool_ = b;
  return j;
}

Json Json::Integer(std::int64_t n) {
  Json j;
  j.type_ = Type::Integer;
  j.integer_ = n;
  return j;
}

Json Json::String(std::string s) {
  Json j;
  j.type_ = Type::String;
  j.string_ = std::move(s);
  return j;
}

Json Json::Array() {
  Json j;
  j.type_ = Type::Array;
  return j;
}

Json Json::Object() {
  Json j;
  j.type_ = Type::Object;
  return j;
}

Json& Json::push(Json v) {
  items_.push_back(std::move(v));
  return items_.back();
}

Json& Json::set(std::string key, Json v) {
  members_.emplace_back(std::move(key), std::move(v));
  return members_.back().second;
}

const Json* Json::find(std::string_view key) const {
  for (const Member& m : members_)
    if (m.first == key) return &m.second;
  return nullptr;
}

namespace {

void Quote(std::string& out, std::string_view s) {
  out += '"';
  for (char ch : s) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char esc[8];
          std::snprintf(esc, sizeof esc, "\\u%04x", unsigned(c));
          out += esc;
        } else {
          out += ch;
        }
    }
  }
  out += '"';
}

void Dump(const Json& j, std::string& out, int indent) {
  const std::string pad(static_cast<std::size_t>(indent + 2), ' ');
  const std::string end(static_cast<std::size_t>(indent), ' ');
  switch (j.type()) {
    case Json::Type::Null: out += "null"; break;
    case Json::Type::Bool: out += j.asBool() ? "true" : "false"; break;
    case Json::Type::Integer: out += std::to_string(j.asInteger()); break;
    case Json::Type::Number: out += j.asString(); break;
    case Json::Type::String: Quote(out, j.asString()); break;
    case Json::Type::Array:
      if (j.items().empty()) {
        out += "[]";
        break;
      }
      out += "[\n";
      for (std::size_t i = 0; i < j.items().size(); ++i) {
        out += pad;
        Dump(j.items()[i], out, indent + 2);
        out += i + 1 < j.items().size() ? ",\n" : "\n";
      }
      out += end + "]";
      break;
    case Json::Type::Object:
      if (j.members().empty()) {
        out += "{}";
        break;
      }
      out += "{\n";
      for (std::size_t i = 0; i < j.members().size(); ++i) {
        out += pad;
        Quote(out, j.members()[i].first);
        out += ": ";
        Dump(j.members()[i].second, out, indent + 2);
        out += i + 1 < j.members().size() ? ",\n" : "\n";
      }
      out += end + "}";
      break;
  }
}

}  // namespace

std::string Json::dump(int indent) const {
  std::string out;
  Dump(*this, out, indent);
  return out;
}

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : s_(text) {}

  std::optional<Json> document(JsonError& error) {
    Json v;
    skipSpace();
    if (!value(v, 0)) return fail(error);
    skipSpace();
    if (pos_ != s_.size()) return fail(error);
    return v;
  }

 private:
  static constexpr int kMaxDepth = 32;

  std::optional<Json> fail(JsonError& error) const {
    error.line = 1;
    error.column = 1;
    for (std::size_t i = 0; i < pos_ && i < s_.size(); ++i) {
      if (s_[i] == '\n') {
        ++error.line;
        error.column = 1;
      } else {
        ++error.column;
      }
    }
    return std::nullopt;
  }

  bool at(char c) const { return pos_ < s_.size() && s_[pos_] == c; }

  void skipSpace() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r')) ++pos_;
  }

  bool literal(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  bool value(Json& v, int depth) {
    if (depth >= kMaxDepth || pos_ >= s_.size()) return false;
    switch (s_[pos_]) {
      case '{': return object(v, depth);
      case '[': return array(v, depth);
      case '"': v.type_ = Json::Type::String; return string(v.string_);
      case 't': v = Json::Bool(true); return literal("true");
      case 'f': v = Json::Bool(false); return literal("false");
      case 'n': v = Json(); return literal("null");
      default: return number(v);
    }
  }

  bool object(Json& v, int depth) {
    v = Json::Object();
    ++pos_;
    skipSpace();
    if (at('}')) return ++pos_, true;
    for (;;) {
      skipSpace();
      std::string key;
      if (!at('"') || !string(key)) return false;
      skipSpace();
      if (!at(':')) return false;
      ++pos_;
      skipSpace();
      Json member;
      if (!value(member, depth + 1)) return false;
      v.set(std::move(key), std::move(member));
      skipSpace();
      if (at(',')) {
        ++pos_;
        continue;
      }
      if (at('}')) return ++pos_, true;
      return false;
    }
  }

  bool array(Json& v, int depth) {
    v = Json::Array();
    ++pos_;
    skipSpace();
    if (at(']')) return ++pos_, true;
    for (;;) {
      skipSpace();
      Json item;
      if (!value(item, depth + 1)) return false;
      v.push(std::move(item));
      skipSpace();
      if (at(',')) {
        ++pos_;
        continue;
      }
      if (at(']')) return ++pos_, true;
      return false;
    }
  }

  bool number(Json& v) {
    const std::size_t start = pos_;
    if (at('-')) ++pos_;
    if (at('0')) {
      ++pos_;
    } else if (pos_ < s_.size() && s_[pos_] >= '1' && s_[pos_] <= '9') {
      while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
    } else {
      return false;
    }
    bool integral = true;
    if (at('.')) {
      integral = false;
      ++pos_;
      if (!digits()) return false;
    }
    if (at('e') || at('E')) {
      integral = false;
      ++pos_;
      if (at('+') || at('-')) ++pos_;
      if (!digits()) return false;
    }
    const std::string text(s_.substr(start, pos_ - start));
    if (integral) {
      // Exact within 64 bits; a longer number is a Number like a fraction.
      std::int64_t n = 0;
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
      if (ec == std::errc() && end == text.data() + text.size()) {
        v = Json::Integer(n);
        return true;
      }
    }
    v = Json();
    v.type_ = Json::Type::Number;
    v.string_ = text;
    return true;
  }

  bool digits() {
    const std::size_t start = pos_;
    while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
    return pos_ > start;
  }

  bool hex4(unsigned& u) {
    if (pos_ + 4 > s_.size()) return false;
    u = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = s_[pos_++];
      u <<= 4;
      if (c >= '0' && c <= '9')
        u |= unsigned(c - '0');
      else if (c >= 'a' && c <= 'f')
        u |= unsigned(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        u |= unsigned(c - 'A' + 10);
      else
        return false;
    }
    return true;
  }

  static void Append(std::string& out, char32_t c) {
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

  // One well-formed UTF-8 character copied as it stands.
  bool utf8(std::string& out) {
    const unsigned char c = static_cast<unsigned char>(s_[pos_]);
    std::size_t n = 0;
    char32_t min = 0;
    char32_t v = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      n = 2, min = 0x80, v = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 3, min = 0x800, v = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 4, min = 0x10000, v = c & 0x07;
    } else {
      return false;
    }
    if (pos_ + n > s_.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      const unsigned char d = static_cast<unsigned char>(s_[pos_ + k]);
      if ((d & 0xC0) != 0x80) return false;
      v = (v << 6) | (d & 0x3F);
    }
    if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return false;
    out.append(s_.substr(pos_, n));
    pos_ += n;
    return true;
  }

  bool string(std::string& out) {
    ++pos_;  // the opening quote
    for (;;) {
      if (pos_ >= s_.size()) return false;
      const unsigned char c = static_cast<unsigned char>(s_[pos_]);
      if (c == '"') return ++pos_, true;
      if (c < 0x20) return false;
      if (c >= 0x80) {
        if (!utf8(out)) return false;
        continue;
      }
      if (c != '\\') {
        out += static_cast<char>(c);
        ++pos_;
        continue;
      }
      ++pos_;
      if (pos_ >= s_.size()) return false;
      const char e = s_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          unsigned u = 0;
          if (!hex4(u)) return false;
          char32_t cp = u;
          if (u >= 0xD800 && u <= 0xDBFF) {
            unsigned low = 0;
            if (!literal("\\u") || !hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
            cp = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (low - 0xDC00);
          } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return false;
          }
          Append(out, cp);
          break;
        }
        default: return false;
      }
    }
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

std::optional<Json> ParseJson(std::string_view text, JsonError& error) { return JsonParser(text).document(error); }

}  // namespace lx47::ctl
