// A file of this process that a target writes its input to, for readers that take a path.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace calvox::fuzz {

// Writes the bytes to <temporary folder>/calvox-fuzz-<pid>-<name> (replacing it) and returns the path.
QString WriteTempFile(const char* name, const uint8_t* data, size_t size);

}  // namespace calvox::fuzz
