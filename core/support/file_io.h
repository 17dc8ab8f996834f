#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tilvane {

// Reads a whole file. The file is opened for reading only; other programs may read it
// meanwhile but not write it. Throws ImageError::cannot_open(path) when it cannot be opened.
std::vector<std::uint8_t> read_whole_file(const std::string& path);

// Replaces (or creates) path with bytes: written to a temporary file in the same folder, then
// renamed over path, so a failure never leaves a half-written file where a good one stood.
// Throws ImageError::cannot_create(path) on failure, after removing the temporary file.
void write_file_atomically(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace tilvane
