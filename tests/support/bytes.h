#pragma once
// Whole files and streams as bytes, and files written in one go.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

class TStream;

// The bytes of a file; empty when it cannot be read.
std::string ReadAll(const std::filesystem::path& path);
std::vector<uint8_t> FileBytes(const std::filesystem::path& path);

// As many bytes as the stream is long, read from where it stands (the start, for a
// stream just opened); "<none>" for a stream that is not there.
std::string ReadAll(TStream& stream);
std::string ReadAll(TStream* stream);

// Writes the whole file, making its folder first when it is missing.
void WriteAll(const std::filesystem::path& path, std::string_view bytes);
void PutFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

}  // namespace kiv
