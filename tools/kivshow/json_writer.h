#pragma once
// A small JSON writer for kivshow's reports: objects, arrays, strings from show data
// (UTF-16, lone surrogates escaped) and numbers, indented two spaces per level.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// The JSON string literal of a show-data text.
std::string JsonString(std::u16string_view text);

class TJsonWriter {
 public:
  explicit TJsonWriter(std::ostream& out) : FOut(out) {}

  void BeginObject(std::string_view key = {});
  void EndObject();
  void BeginArray(std::string_view key);
  void EndArray();
  void Value(std::string_view key, std::u16string_view text);
  void Value(std::string_view key, double number);
  void Value(std::string_view key, bool flag);
  // Ends the document with a line break.
  void Finish();

 private:
  void Open(std::string_view key, char bracket);
  void Close(char bracket);
  void StartItem(std::string_view key);

  std::ostream& FOut;
  std::vector<bool> FHasItems;  // per open level: whether an item was written
};

}  // namespace kiv
