// Feeds arbitrary bytes to the project reader. Whatever loads must save, and the
// saved text must load again and save to the very same bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/memory_stream.h"
#include "ini/ini_file.h"

namespace {

std::vector<uint8_t> LoadAndSave(const std::vector<uint8_t>& bytes, bool& loaded) {
  kiv::TMemoryStream source(bytes);
  kiv::TIniFile ini;
  try {
    loaded = ini.LoadFromStream(source);
  } catch (const kiv::EKivError&) {
    loaded = false;  // undecodable text is a reported failure, not a crash
  }
  // Typed getters on whatever was read must never fail.
  std::vector<std::u16string> names;
  ini.GetSectionNames(names);
  for (const auto& name : names) {
    ini.ReadInteger(name, u"opt_slidescount", 0);
    ini.ReadFloat(name, u"x", 0.0);
    ini.ReadBool(name, u"y", false);
  }
  kiv::TMemoryStream saved;
  if (!ini.SaveToStream(saved)) std::abort();  // a document that loads can always be saved
  return saved.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bool loaded = false;
  std::vector<uint8_t> first = LoadAndSave(std::vector<uint8_t>(data, data + size), loaded);
  if (!loaded) return 0;
  bool reloaded = false;
  std::vector<uint8_t> second = LoadAndSave(first, reloaded);
  if (!reloaded || second != first) std::abort();
  return 0;
}
