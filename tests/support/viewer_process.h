#pragma once

#include <optional>
#include <string>

#include "child_process.h"
#include "temp_dir.h"

// The real viewer (IMAGE_BORDER_PROGRAM), in a fresh temporary folder that
// takes its standard output and error. Killed if still running, and then the
// folder removed, when it goes.
class ViewerProcess : public Process {
public:
    ~ViewerProcess() { Kill(SIGKILL); }

    void WriteFile(const std::string& name, const Bytes& bytes) const { folder_.Write(name, bytes); }

    // Writes bitmap, if any, as "B.bmp" first; arguments, and program, the
    // command that starts it, go through the shell.
    void Start(const std::optional<Bytes>& bitmap = std::nullopt, const std::string& arguments = "",
               const std::string& program = "'" IMAGE_BORDER_PROGRAM "'") {
        if (bitmap) {
            WriteFile("B.bmp", *bitmap);
        }
        Process::Start("cd '" + folder_.path.string() + "' && exec " + program + " " + arguments +
                       " </dev/null >.stdout 2>.stderr");
    }

    // The path of name in its folder.
    std::string Path(const std::string& name) const { return folder_ / name; }

    // What it wrote to "stdout" or "stderr".
    std::string Output(const std::string& stream) const { return folder_.Read("." + stream); }

private:
    TempDir folder_;
};
