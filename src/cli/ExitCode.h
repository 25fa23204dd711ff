#pragma once

namespace olg::cli {

// What olgctl tells the shell.
enum ExitCode {
    ExitOk = 0,
    ExitFailure = 1, // the device or the network failed
    ExitUsage = 2,   // the command line was wrong
};

} // namespace olg::cli
