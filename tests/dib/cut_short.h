#pragma once

#include <cstdint>
#include <filesystem>

// Cuts file short to size while it may be mapped, as only something outside
// the program can: false where nothing can (Windows refuses to).
bool CutShort(const std::filesystem::path& file, std::uintmax_t size);
