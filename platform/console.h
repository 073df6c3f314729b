#pragma once
// The standard streams of command-line tools.

namespace platform {

// Puts standard output into binary mode, so that bytes written to it reach a
// file or a pipe unchanged (Windows would turn LF into CR LF otherwise).
void SetStdoutBinary();

}  // namespace platform
