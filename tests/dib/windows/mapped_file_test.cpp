// A page of a mapped file that can no longer be read (a network file that
// fails, a file cut short by a process outside Windows' rules) reads as
// zeros instead of ending the program, and the loader refuses the file.
// Windows itself will not shorten a mapped file; under Wine, a program of
// the host can, and does it here. And a UTF-16 name as the open failure shows it.
#include <windows.h>

#include "dib/mapped_file.h"
#include "dib_test_support.h"
#include "temp_dir.h"

namespace {

// A UTF-16 name that cannot be opened is shown as Windows prints such a name
// into 8-bit text: in the ANSI code page.
TEST(WideNames, ShowInTheAnsiCodePage) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "the name is written for code page 1252, this system's is " << GetACP();
    }
    testing::internal::CaptureStderr();  // no message sink is installed
    EXPECT_EQ(LoadDibImageWide(u"missing-caf\u00E9.bmp"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Failed to open DIB file missing-caf\xE9.bmp.\n");
}

// The host's name of a Windows path, where the program runs under Wine.
std::optional<std::string> HostPath(const std::filesystem::path& path) {
    using HostName = char* (*)(const wchar_t*);
    const auto hostName = reinterpret_cast<HostName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    char* name = hostName != nullptr ? hostName(path.c_str()) : nullptr;
    if (name == nullptr) {
        return std::nullopt;
    }
    std::string host = name;
    HeapFree(GetProcessHeap(), 0, name);
    return host;
}

// Runs a program of the host, as Wine lets a Windows program do.
bool RunOnHost(std::string command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) ==
        0) {
        return false;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

TEST(LostPage, FileCutShortIsRefusedAndTheOtherLoads) {
    const TempDir dir;
    TestBitmap bitmap;  // 1000 x 1000 grey pixels: 3 MB, many pages
    bitmap.width = bitmap.height = 1000;
    bitmap.pixels.assign(std::size_t{3000} * 1000, 0x55);
    const std::optional<MappedFile> cut = MappedFile::Open(dir.Write("cut.bmp", bitmap.Build()));
    const std::optional<MappedFile> whole = MappedFile::Open(dir.Write("whole.bmp", bitmap.Build()));
    ASSERT_TRUE(cut && whole);
    const std::optional<std::string> host = HostPath(dir.path / "cut.bmp");
    if (!host) {
        GTEST_SKIP() << "not under Wine: nothing here can cut a mapped file short";
    }
    ASSERT_TRUE(RunOnHost("/usr/bin/truncate -s 100 " + *host));
    // Wine tells when a program of the host has started, not when it has ended.
    for (int tries = 0; std::filesystem::file_size(dir.path / "cut.bmp") != 100 && tries < 500; ++tries) {
        Sleep(10);
    }
    const DibDecodeResult refused = DecodeMappedFile(*cut);
    EXPECT_EQ(refused.error, DibError::kConversionError);
    EXPECT_TRUE(cut->Shrank());
    const DibDecodeResult loaded = DecodeMappedFile(*whole);
    ASSERT_NE(loaded.image, nullptr);
    EXPECT_EQ(Unpack(*loaded.image), Flat(1000, 1000, 0x555555));
}

}  // namespace
