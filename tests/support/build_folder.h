#pragma once
// Where the built programs are, for tests that run them.

namespace kiv::testing {

// $KIV_BUILD_DIR when set (ctest sets it); else found from the running test program,
// which lives at <build folder>/tests/<folder>/<program>, so that a test started by
// hand finds the programs too. Never null.
const char* BuildFolder();

}  // namespace kiv::testing
