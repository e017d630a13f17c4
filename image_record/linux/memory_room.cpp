#include "image_record/memory_room.h"
#include "image_record/linux/memory_sources.h"

#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The files of the two cgroup versions that say how much a level may hold,
// holds, and holds in file pages (counted for the level and all below it).
struct CgroupFiles {
    const char* limit;
    const char* usage;
    const char* inactiveFile;
    const char* activeFile;
};
constexpr CgroupFiles kVersion2{"memory.max", "memory.current", "inactive_file", "active_file"};
constexpr CgroupFiles kVersion1{"memory.limit_in_bytes", "memory.usage_in_bytes", "total_inactive_file",
                                "total_active_file"};

std::optional<std::string> ReadSmallFile(const fs::path& path) {
    // Files under /proc and /sys say they are empty: read until the end.
    std::ifstream file(path);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t end; (end = text.find(separator)) != std::string_view::npos; text.remove_prefix(end + 1)) {
        parts.push_back(text.substr(0, end));
    }
    parts.push_back(text);
    return parts;
}

std::optional<std::uint64_t> Number(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.remove_suffix(1);
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// The number after "key" at the start of a line of a "key value" list, such
// as /proc/meminfo ("MemAvailable:   123 kB") or memory.stat ("active_file 123").
std::optional<std::uint64_t> Field(std::string_view list, std::string_view key) {
    for (std::string_view line : Split(list, '\n')) {
        // /proc/self/status puts a tab after the key, the others spaces.
        if (line.starts_with(key) && line.size() > key.size() && (line[key.size()] == ' ' || line[key.size()] == '\t')) {
            line.remove_prefix(key.size());
            line.remove_prefix(std::min(line.size(), line.find_first_not_of(" \t")));
            return Number(line.substr(0, line.find(' ')));
        }
    }
    return std::nullopt;
}

std::optional<std::uint64_t> SystemRoom(const std::string& meminfo) {
    const std::optional<std::string> text = ReadSmallFile(meminfo);
    const std::optional<std::uint64_t> available = text ? Field(*text, "MemAvailable:") : std::nullopt;
    if (!available) {
        return std::nullopt;
    }
    return (*available + Field(*text, "SwapFree:").value_or(0)) * 1024;
}

// The mount table escapes spaces and the like as three octal digits.
std::string Unescaped(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

struct CgroupPath {
    std::string path;
    bool version1 = false;
};

// The process's place in the hierarchy that holds the memory controller:
// "4:memory:/path" for version 1, "0::/path" for version 2.
std::optional<CgroupPath> MemoryCgroupPath(std::string_view cgroups) {
    std::optional<CgroupPath> found;
    for (const std::string_view line : Split(cgroups, '\n')) {
        const std::vector<std::string_view> fields = Split(line, ':');
        if (fields.size() < 3) {
            continue;
        }
        const std::string_view path = line.substr(fields[0].size() + fields[1].size() + 2);
        if (std::ranges::count(Split(fields[1], ','), "memory") != 0) {
            return CgroupPath{std::string(path), true};
        }
        if (fields[0] == "0" && fields[1].empty()) {
            found = CgroupPath{std::string(path), false};
        }
    }
    return found;
}

}  // namespace

std::optional<MemoryCgroup> FindMemoryCgroup(const MemorySources& sources) {
    const std::optional<std::string> cgroups = ReadSmallFile(sources.cgroups);
    const std::optional<std::string> mounts = ReadSmallFile(sources.mounts);
    const std::optional<CgroupPath> cgroup = cgroups ? MemoryCgroupPath(*cgroups) : std::nullopt;
    if (!cgroup || !mounts) {
        return std::nullopt;
    }
    for (const std::string_view line : Split(*mounts, '\n')) {
        // "id parent major:minor root mount-point options [optional fields] - type source super-options"
        const std::size_t dash = line.find(" - ");
        const std::vector<std::string_view> fields = Split(line.substr(0, dash), ' ');
        const std::vector<std::string_view> rest =
            Split(dash == std::string_view::npos ? "" : line.substr(dash + 3), ' ');
        if (fields.size() < 5 || rest.size() < 3) {
            continue;
        }
        const bool matches = cgroup->version1
                                 ? rest[0] == "cgroup" && std::ranges::count(Split(rest[2], ','), "memory") != 0
                                 : rest[0] == "cgroup2";
        // The mount shows the hierarchy from its root field down: in a
        // container, that is not the hierarchy's own root.
        const fs::path relative = fs::path(cgroup->path).lexically_relative(Unescaped(fields[3]));
        if (!matches || relative.empty() || *relative.begin() == "..") {
            continue;
        }
        const fs::path mountPoint = Unescaped(fields[4]);
        return MemoryCgroup{(mountPoint / relative).lexically_normal(), mountPoint, cgroup->version1};
    }
    return std::nullopt;
}

namespace {

// The room under one level's limit; nothing where it has none ("max", or
// files that cannot be read).
std::optional<std::uint64_t> LevelRoom(const fs::path& folder, const CgroupFiles& files) {
    const std::optional<std::string> limitText = ReadSmallFile(folder / files.limit);
    const std::optional<std::string> usageText = ReadSmallFile(folder / files.usage);
    const std::optional<std::uint64_t> limit = limitText ? Number(*limitText) : std::nullopt;
    const std::optional<std::uint64_t> usage = usageText ? Number(*usageText) : std::nullopt;
    if (!limit || !usage) {
        return std::nullopt;
    }
    const std::string stat = ReadSmallFile(folder / "memory.stat").value_or("");
    const std::uint64_t file = Field(stat, files.inactiveFile).value_or(0) + Field(stat, files.activeFile).value_or(0);
    const std::uint64_t held = *usage - std::min(*usage, file);
    return *limit - std::min(*limit, held);
}

}  // namespace

std::optional<std::uint64_t> AddressSpaceRoom(const MemorySources& sources) {
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return std::nullopt;
    }
    const std::optional<std::string> status = ReadSmallFile(sources.status);
    const std::optional<std::uint64_t> mapped = status ? Field(*status, "VmSize:") : std::nullopt;
    // A limit with nothing known of what is mapped: the limit alone is sure.
    const std::uint64_t used = mapped.value_or(0) * 1024;
    return limit.rlim_cur - std::min<std::uint64_t>(limit.rlim_cur, used);
}

std::optional<std::uint64_t> MemoryRoom(const MemorySources& sources) {
    std::optional<std::uint64_t> room = SystemRoom(sources.meminfo);
    const auto keepSmaller = [&room](std::optional<std::uint64_t> other) {
        if (other && (!room || *other < *room)) {
            room = other;
        }
    };
    if (const std::optional<MemoryCgroup> cgroup = FindMemoryCgroup(sources)) {
        const CgroupFiles& files = cgroup->version1 ? kVersion1 : kVersion2;
        // Every level up to the hierarchy's root: a parent's limit also holds
        // what its other children use.
        for (fs::path folder = cgroup->folder;; folder = folder.parent_path()) {
            keepSmaller(LevelRoom(folder, files));
            if (folder == cgroup->mountPoint || folder == folder.parent_path()) {
                break;
            }
        }
    }
    keepSmaller(AddressSpaceRoom(sources));
    return room;
}

std::optional<std::uint64_t> MemoryRoom() { return MemoryRoom(MemorySources{}); }

std::optional<std::uint64_t> AddressSpaceRoom() { return AddressSpaceRoom(MemorySources{}); }
