// The proof on the command line: one line per file, the exit status it gives.
#pragma once

#include <string>

namespace vg::cli {

// Exit status of a proof that does not scan.
inline constexpr int kExitDoesNotScan = 3;

// Proves a file just written from the current symbol and prints its line:
// kExitOk when it scans or has no reader, kExitDoesNotScan when it does not.
// redrawn: the proof redrew the settings a metafile's trailer holds.
int ProveFile(const std::string& path, bool redrawn = false);

}  // namespace vg::cli
