#pragma once
// The project's FileMap (names the show uses → files to open instead) and its
// RotationState (names → EXIF orientation), both read from project sections.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kiv {

class TIniSection;

class TFileMap {
 public:
  // Adds every mapping line of the section (none when the section is absent).
  void Load(const TIniSection* section);
  void Add(std::u16string_view name, std::u16string_view target);
  // The first target of name (compared ignoring case), or nullptr.
  const std::u16string* Target(std::u16string_view name) const;
  bool Empty() const { return FTargets.empty(); }

 private:
  std::unordered_map<std::u16string, std::vector<std::u16string>> FTargets;
};

class TRotationTable {
 public:
  // Reads the comment lines ;"name"=n with n one of 1, 3, 6, 8.
  void Load(const TIniSection* section);
  // The orientation of name (compared ignoring case); 1 when unknown.
  int Orientation(std::u16string_view name) const;
  bool Empty() const { return FOrientations.empty(); }

 private:
  std::unordered_map<std::u16string, int> FOrientations;
};

}  // namespace kiv
