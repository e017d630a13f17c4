// What the process can still get, read from made-up kernel files: the
// system's figures, and each version of cgroup found through the mount table.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>

#include "address_space.h"
#include "image_record/linux/memory_sources.h"
#include "image_record/memory_room.h"
#include "image_record/pixel_buffer.h"
#include "temp_dir.h"

namespace {

class MemoryRoomTest : public testing::Test {
protected:
    // Writes text to a file at path under the folder, making its folders.
    void Put(const std::string& path, const std::string& text) const {
        std::filesystem::create_directories((dir.path / path).parent_path());
        dir.Write(path, Bytes(text.begin(), text.end()));
    }
    // A mount table line for a cgroup file system mounted at path under the folder.
    std::string Mount(const std::string& root, const std::string& path, const std::string& type,
                      const std::string& options) const {
        return "35 31 0:32 " + root + " " + dir.path.string() + "/" + path + " rw,relatime shared:9 - " + type + " " +
               type + " " + options + "\n";
    }
    // No status file of our own: what the process maps never counts, only an
    // address-space limit it may run under (then the limit itself).
    MemorySources Sources() const { return {dir / "meminfo", dir / "cgroup", dir / "mounts", dir / "status"}; }
    std::optional<std::uint64_t> Room() const { return MemoryRoom(Sources()); }

    TempDir dir;
};

TEST_F(MemoryRoomTest, SystemGivesAvailableMemoryAndFreeSwap) {
    Put("meminfo", "MemTotal: 9000 kB\nMemFree: 100 kB\nMemAvailable:   1000 kB\nSwapFree: 500 kB\n");
    EXPECT_EQ(Room(), 1500 * 1024u);
    // A kernel too old to say what is available, and no cgroup: nothing is
    // known but what an address-space limit leaves, where the tests run under one.
    Put("meminfo", "MemTotal:  9000 kB\nMemFree:  100 kB\n");
    EXPECT_EQ(Room(), AddressSpaceRoom(Sources()));
}

// Each level of the path counts, a parent's limit too; none above the
// hierarchy's mount point; file pages are room.
TEST_F(MemoryRoomTest, Version2TakesTheTightestLevelUpThePath) {
    Put("meminfo", "MemAvailable: 100000000 kB\nSwapFree: 0 kB\n");
    Put("cgroup", "0::/user.slice/app.scope\n");
    Put("mounts", "22 1 8:1 / / rw - ext4 /dev/vda rw\n" + Mount("/", "cg2", "cgroup2", "rw,nsdelegate"));
    Put("memory.max", "1\n");  // above the mount point: not a cgroup
    Put("cg2/user.slice/app.scope/memory.max", "max\n");
    Put("cg2/user.slice/app.scope/memory.current", "5000000\n");
    Put("cg2/user.slice/memory.max", "8000000\n");
    Put("cg2/user.slice/memory.current", "7000000\n");
    Put("cg2/user.slice/memory.stat", "anon 5000000\nfile 2000000\nactive_file 1500000\ninactive_file 500000\n");
    EXPECT_EQ(Room(), 8000000u - (7000000 - 2000000));
    Put("cg2/user.slice/app.scope/memory.max", "6000000\n");
    EXPECT_EQ(Room(), 1000000u);
    // Used beyond the limit: no room, not a wrapped-around number.
    Put("cg2/user.slice/app.scope/memory.current", "6500000\n");
    EXPECT_EQ(Room(), 0u);
}

// The memory controller on a v1 hierarchy wins over the v2 one beside it;
// a mount's root maps the cgroup's path into the mount (as in a container),
// and escaped characters in the mount point are read as they are meant.
TEST_F(MemoryRoomTest, Version1IsFoundThroughTheMountRoot) {
    Put("meminfo", "MemAvailable: 3000 kB\nSwapFree: 1000 kB\n");
    Put("cgroup", "5:cpu,cpuacct:/box\n4:memory:/job/box\n0::/\n");
    const std::string escaped = "\\040";
    Put("mounts", Mount("/", "cg2", "cgroup2", "rw") + Mount("/", "cpu", "cgroup", "rw,cpu,cpuacct") +
                      Mount("/job", "mem" + escaped + "ory", "cgroup", "rw,memory"));
    Put("cg2/memory.max", "1000\n");
    Put("cg2/memory.current", "0\n");
    Put("mem ory/memory.limit_in_bytes", "9223372036854771712\n");  // unlimited
    Put("mem ory/memory.usage_in_bytes", "100000000\n");
    EXPECT_EQ(Room(), 4000 * 1024u);
    Put("mem ory/box/memory.limit_in_bytes", "2000000\n");
    Put("mem ory/box/memory.usage_in_bytes", "1500000\n");
    Put("mem ory/box/memory.stat",
        "cache 700000\ninactive_file 1\ntotal_inactive_file 300000\ntotal_active_file 100000\n");
    EXPECT_EQ(Room(), 2000000u - (1500000 - 400000));
    // A path outside what the mount shows: only the system's figures count.
    Put("cgroup", "4:memory:/elsewhere/box\n");
    EXPECT_EQ(Room(), 4000 * 1024u);
}

// Under an address-space limit the room is what the limit leaves of it, and
// a buffer of any size is refused where it and what is kept free do not fit.
TEST(AddressSpaceDeathTest, LimitLeavesRoomAndRefusesWhatDoesNotFit) {
    constexpr std::uint64_t kMiB = 1 << 20;
    EXPECT_EXIT(
        {
            LimitAddressSpace(200 * kMiB);
            const std::uint64_t room = AddressSpaceRoom().value_or(0);
            const bool fits = AllocatePixelBuffer(100 * kMiB) != nullptr;
            const bool refused = AllocatePixelBuffer(150 * kMiB) == nullptr;
            std::exit(room > 190 * kMiB && room <= 200 * kMiB && MemoryRoom() <= room && fits && refused ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            LimitAddressSpace(kMemoryKeptFree / 2);
            std::exit(AllocatePixelBuffer(1000) == nullptr ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
