#pragma once

#include <string>

// Opens a terminal device for reading and writing in raw mode, as the floor of the benchmarks
// talks to the simulator with nothing of the program in between. Returns the descriptor.
int OpenRawTerminal(const std::string& path);

// Reads from `fd` until `text` holds at least `count` bytes or two seconds pass without any.
void ReadAtLeast(int fd, std::string& text, size_t count);
