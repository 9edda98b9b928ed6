#include "programfixture.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

pid_t Spawn(const std::string& workDir, const std::string& tmp,
            const std::vector<std::string>& args, const std::string& errFile) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    if (chdir(workDir.c_str()) != 0) _exit(127);
    int fd = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) _exit(127);
    dup2(fd, STDERR_FILENO);
    dup2(fd, STDOUT_FILENO);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("TMPDIR", tmp.c_str(), 1);
    std::vector<char*> argv;
    std::string program = PINDLE_CAPTURE_PROGRAM;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

int Wait(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ReadAll(const std::string& path) {
    try {
        return ReadFileBytes(path);
    } catch (...) {
        return "";
    }
}

}  // namespace

ProgramSandbox::ProgramSandbox() {
    std::filesystem::create_directory(m_dir.File("tmp"));
    std::filesystem::create_directory(m_dir.File("work"));
    std::filesystem::copy_file(PINDLE_DEMODAT, m_dir.File("work/demodat"));
}

int ProgramSandbox::Run(const std::vector<std::string>& args, std::string* err) const {
    int code = Wait(Spawn(m_dir.File("work"), m_dir.File("tmp"), args, m_dir.File("stderr")));
    *err = ReadAll(m_dir.File("stderr"));
    return code;
}

int ProgramSandbox::RunAndInterrupt(const std::vector<std::string>& args, std::string* err) const {
    pid_t pid = Spawn(m_dir.File("work"), m_dir.File("tmp"), args, m_dir.File("stderr"));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (ReadAll(m_dir.File("stderr")).find("frame ") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(pid, SIGINT);
    int code = Wait(pid);
    *err = ReadAll(m_dir.File("stderr"));
    return code;
}
