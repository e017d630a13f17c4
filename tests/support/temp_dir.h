#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "bitmap_builder.h"

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir() {
        std::random_device random;
        do {
            path = std::filesystem::temp_directory_path() / ("image-border-test-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(path));
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The path of name in the folder.
    std::string operator/(const std::string& name) const { return (path / name).string(); }

    // Writes bytes to name in the folder; its path.
    std::string Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(path / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return *this / name;
    }

    // The bytes of name in the folder, as a string.
    std::string Read(const std::string& name) const {
        std::ifstream file(path / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    std::filesystem::path path;
};
