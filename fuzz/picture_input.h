#pragma once
// Feeds a fuzzer's bytes to the picture readers the way the program reads a
// file: from a real file descriptor, with a request like those the ring,
// its decode-ahead and a zoom's refinement make.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fuzzing {

// The first four bytes choose the request (the largest side, the detail,
// the part, the pixel layout, one thread or two); the rest is the file.
// Only files that start with magic are read, so that each fuzz target stays
// with its format. Traps on a result that breaks the readers' promises.
void readPictureInput(const uint8_t* data, size_t size, std::string_view magic);

// What a fuzz target calls once before its inputs.
void setUpPictureReading();

}
