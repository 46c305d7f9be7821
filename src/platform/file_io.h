#pragma once
// Files by descriptor: the operating system's open, read, write, seek and size calls.
// Paths are UTF-8. Calls that fail return -1 (or false); LastErrorText() says why.
#include <cstdint>
#include <string>

namespace kiv {

enum class TFileOpening { Read, ReadWrite, Create };

// A descriptor, or -1. Create makes the file or empties an existing one.
int OpenFile(const std::string& path, TFileOpening opening);
void CloseFile(int file);
int64_t FilePosition(int file);
bool SetFilePosition(int file, int64_t position);
int64_t FileSize(int file);
bool SetFileSize(int file, int64_t size);
// Bytes read (0 at the end or on failure); interrupted calls are repeated.
int64_t ReadFile(int file, void* buffer, int64_t count);
// Bytes written; short only when the system refuses the rest.
int64_t WriteFile(int file, const void* buffer, int64_t count);

// The system's words for the last failed call of this thread.
std::string LastErrorText();

}  // namespace kiv
