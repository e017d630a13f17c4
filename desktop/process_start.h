#pragma once

namespace desktop {

// Makes the process safe to start however it was started, before GLUT or
// anything else opens a file or a connection:
// - standard input, output and error closed by whoever started it are opened
//   on /dev/null, so that no file or connection opened later takes their
//   numbers (the X connection would be written to as standard error);
// - output that cannot be written (a pipe nobody reads) fails the write
//   instead of killing the process;
// - under an address-space limit, threads share one heap: each would
//   otherwise reserve an arena of 64 MiB of it (the GL's renderer runs a
//   thread for each processor), and what the limit leaves would depend on
//   how many threads came first.
void PrepareProcess();

}  // namespace desktop
