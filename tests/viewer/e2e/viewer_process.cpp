#include "viewer_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#ifndef IMAGE_BORDER_PROGRAM
#error "IMAGE_BORDER_PROGRAM must name the viewer binary"
#endif

namespace {

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

ViewerProcess::ViewerProcess() {
    std::string pattern = (std::filesystem::temp_directory_path() / "image-border-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    folder_ = pattern;
}

ViewerProcess::~ViewerProcess() {
    Kill();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void ViewerProcess::WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream file(folder_ + "/" + name, std::ios::binary);
    file << bytes;
}

void ViewerProcess::Start(const std::vector<std::string>& arguments) {
    const std::string out = folder_ + "/.stdout";
    const std::string err = folder_ + "/.stderr";
    std::vector<char*> argv{const_cast<char*>(IMAGE_BORDER_PROGRAM)};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || outFd < 0 || errFd < 0 || chdir(folder_.c_str()) != 0) {
            _exit(126);
        }
        dup2(in, 0);
        dup2(outFd, 1);
        dup2(errFd, 2);
        execv(IMAGE_BORDER_PROGRAM, argv.data());
        _exit(127);
    }
}

std::optional<int> ViewerProcess::WaitForExit(double timeoutSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!status_) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status_;
}

void ViewerProcess::Kill() {
    if (pid_ > 0 && !status_) {
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        status_ = 128 + SIGKILL;
    }
}

bool ViewerProcess::Running() {
    return pid_ > 0 && !WaitForExit(0).has_value();
}

std::string ViewerProcess::Stdout() const {
    return ReadWhole(folder_ + "/.stdout");
}

std::string ViewerProcess::Stderr() const {
    return ReadWhole(folder_ + "/.stderr");
}
