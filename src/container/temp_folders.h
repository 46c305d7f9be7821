#pragma once
// Temporary folders of this run: each a new folder "[GUID]" under the temporary root,
// removed with its contents when the program ends (also on SIGINT and SIGTERM once the
// termination watcher is installed).
#include <string>

namespace kiv {

// $TMPDIR when it names an existing folder, else /tmp; stops with the assertion
// "Temp Path not Found" when neither exists.
std::string TempRoot();

// A new empty folder; with appendSlash the path ends with "/".
std::string MakeTempFolder(bool appendSlash);

// Removes every folder made so far (done at the end of the program).
void RemoveTempFolders();

}  // namespace kiv
