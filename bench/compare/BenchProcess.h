#pragma once
// Runs a program in a child process of its own and reports its wall time,
// processor time and peak resident size (from wait4, so they belong to that
// run alone) and what it printed on standard output.

#include <chrono>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct ProcessRun {
    double seconds = 0;
    double cpuSeconds = 0;  // user + system: far less disturbed by a busy machine
    long peakKb = 0;
    int exitCode = -1;
    std::string out;
};

// With an output path, standard output goes to that file instead and
// `out` stays empty (for outputs too large to hold).
inline ProcessRun RunProcess(const std::vector<std::string>& args, const std::string& outPath = {})
{
    ProcessRun run;
    int fds[2];
    if (pipe(fds) != 0)
        return run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        dup2(outPath.empty() ? fds[1] : open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 2);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    char buffer[4096];
    for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;)
        run.out.append(buffer, static_cast<std::size_t>(got));
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                     + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.peakKb = usage.ru_maxrss;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The number printed after "key " in a child's output, or -1.
inline double ValueAfter(const std::string& out, const std::string& key)
{
    const auto at = out.find(key + ' ');
    return at == std::string::npos ? -1 : std::stod(out.substr(at + key.size() + 1));
}

inline long FileSize(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : 0;
}
