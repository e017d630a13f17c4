#include "cut_short.h"

#include <unistd.h>

bool CutShort(const std::filesystem::path& file, std::uintmax_t size) {
    return truncate(file.c_str(), static_cast<off_t>(size)) == 0;
}
