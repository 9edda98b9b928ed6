// Runs the built pindle-capture on the built demodat, the way a user would: in a working folder
// of its own, with TMPDIR in the same sandbox and no display in the environment.
#pragma once

#include <string>
#include <vector>

#include "support/tempdir.h"

class ProgramSandbox {
public:
    ProgramSandbox();
    std::string File(const std::string& name) const { return m_dir.File(name); }
    // Where the capture unpacks the show's data.
    std::string DataFolder() const { return m_dir.File("tmp/korvane_data_orbendale/"); }

    // Runs the program to the end; returns its exit code, standard error in *err.
    int Run(const std::vector<std::string>& args, std::string* err) const;
    // Starts it, sends SIGINT once its first progress line is out, and waits for it.
    int RunAndInterrupt(const std::vector<std::string>& args, std::string* err) const;

private:
    TempDir m_dir;
};
