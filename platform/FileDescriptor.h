#pragma once
#include <string_view>

// Writing to the system's file descriptors.

// Writes all of data to fd (a file, a pipe or a socket), going on after interruptions and short
// writes. False when it cannot, with the system's error number in *pnError when given. A socket
// whose other end is gone fails with EPIPE rather than ending the program with SIGPIPE.
bool WriteAll(int fd, std::string_view data, int *pnError = nullptr);
