#pragma once
// A small JSON writer for the tool's output: UTF-8, strings escaped, numbers as
// integers. Commas are placed by the writer; Break() puts the next value on a new
// line so that long arrays stay readable and diffable.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/WString.h"

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view name);
  // Lone surrogates in the text come out as U+FFFD.
  JsonWriter& String(const WString& text);
  JsonWriter& String(std::string_view utf8);
  JsonWriter& Int(int64_t value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  // The next value (or key) starts on a new line with this indent.
  JsonWriter& Break(std::string_view indent);

  const std::string& Text() const { return out_; }

 private:
  void BeforeValue();
  void AppendQuoted(std::string_view utf8);

  std::string out_;
  std::vector<bool> hasItems_;  // one per open object or array
  bool afterKey_ = false;
  std::string pendingBreak_;
  bool hasPendingBreak_ = false;
};
