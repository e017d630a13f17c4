#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

// Calls done every 20 ms until it holds or timeoutSeconds pass; says whether it held.
inline bool Poll(const auto& done, double timeoutSeconds = 5.0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    bool held = false;
    while (!(held = done()) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return held;
}

// A program run through the shell, killed if it still runs when it goes.
class Process {
public:
    Process() = default;
    explicit Process(const std::string& command) { Start(command); }
    ~Process() { Kill(SIGKILL); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Once the last run has exited, starts another.
    void Start(const std::string& command) {
        status_.reset();
        // A group of its own, killed whole with whatever it started; set on
        // both sides, so that it is there before either goes on.
        if ((pid_ = fork()) == 0) {
            setpgid(0, 0);
            execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
            _exit(127);
        }
        setpgid(pid_, pid_);
    }

    // Once the last run has exited, runs body in a child process, which exits with what it returns.
    void Fork(const std::function<int()>& body) {
        status_.reset();
        if ((pid_ = fork()) == 0) {
            _exit(body());
        }
    }

    // The exit status (128 + signal after a signal), or nothing while it runs.
    std::optional<int> WaitForExit(double timeoutSeconds = 5.0) {
        Poll([&] {
            int status = 0;
            if (!status_ && waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            return status_.has_value();
        }, timeoutSeconds);
        return status_;
    }

    void Kill(int signal) {
        if (pid_ > 0 && !WaitForExit(0)) {
            kill(-pid_, signal);
            WaitForExit(60);
        }
    }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// command with its output thrown away, as window managers are run.
inline std::string Quietly(const std::string& command) { return "exec " + command + " >/dev/null 2>&1"; }
