#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

// The real viewer started in a fresh temporary folder, its standard output
// and error captured to files there. Killed (if still running) and the folder
// removed when the object goes.
class ViewerProcess {
public:
    ViewerProcess();
    ~ViewerProcess();
    ViewerProcess(const ViewerProcess&) = delete;
    ViewerProcess& operator=(const ViewerProcess&) = delete;

    const std::string& Folder() const { return folder_; }
    void WriteFile(const std::string& name, const std::string& bytes) const;

    // Starts the viewer with these arguments after the program name.
    void Start(const std::vector<std::string>& arguments = {});
    // The exit status once the process has ended, or nothing after timeoutSeconds.
    // A death by signal gives 128 + the signal.
    std::optional<int> WaitForExit(double timeoutSeconds = 5.0);
    bool Running();
    // Ends the process now if it still runs.
    void Kill();

    std::string Stdout() const;
    std::string Stderr() const;

private:
    std::string folder_;
    pid_t pid_ = -1;
    std::optional<int> status_;
};
