#include "cut_short.h"

#include <windows.h>

#include <optional>
#include <string>

namespace {

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

}  // namespace

// Under Wine, by a program of the host; Windows itself will not shorten a
// mapped file.
bool CutShort(const std::filesystem::path& file, std::uintmax_t size) {
    const std::optional<std::string> host = HostPath(file);
    if (!host || !RunOnHost("/usr/bin/truncate -s " + std::to_string(size) + " " + *host)) {
        return false;
    }
    // Wine tells when a program of the host has started, not when it has ended.
    for (int tries = 0; std::filesystem::file_size(file) != size && tries < 500; ++tries) {
        Sleep(10);
    }
    return std::filesystem::file_size(file) == size;
}
