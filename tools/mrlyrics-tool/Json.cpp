#include "Json.h"

#include <cstdio>

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!hasItems_.empty()) {
    if (hasItems_.back()) out_ += ',';
    hasItems_.back() = true;
  }
  if (hasPendingBreak_) {
    out_ += '\n';
    out_ += pendingBreak_;
    hasPendingBreak_ = false;
  }
}

JsonWriter& JsonWriter::Break(std::string_view indent) {
  pendingBreak_.assign(indent);
  hasPendingBreak_ = true;
  return *this;
}

JsonWriter& JsonWriter::BeginObject() {
  BeforeValue();
  out_ += '{';
  hasItems_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  hasItems_.pop_back();
  hasPendingBreak_ = false;
  out_ += '}';
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  BeforeValue();
  out_ += '[';
  hasItems_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  hasItems_.pop_back();
  hasPendingBreak_ = false;
  out_ += ']';
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
  BeforeValue();
  AppendQuoted(name);
  out_ += ':';
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(const WString& text) {
  return String(text.ToUtf8());
}

JsonWriter& JsonWriter::String(std::string_view utf8) {
  BeforeValue();
  AppendQuoted(utf8);
  return *this;
}

JsonWriter& JsonWriter::Int(int64_t value) {
  BeforeValue();
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  out_ += "null";
  return *this;
}

// Bytes of 0x80 and up are UTF-8 already and pass through; only the quote, the
// backslash and control characters need escapes.
void JsonWriter::AppendQuoted(std::string_view utf8) {
  out_ += '"';
  for (char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out_ += "\\\""; break;
      case '\\': out_ += "\\\\"; break;
      case '\n': out_ += "\\n"; break;
      case '\r': out_ += "\\r"; break;
      case '\t': out_ += "\\t"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", byte);
          out_ += escape;
        } else {
          out_ += c;
        }
    }
  }
  out_ += '"';
}
