#include "process_runs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace convert_bench {

double now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

Measure run(const std::vector<std::string>& command, const std::string& in,
            const std::string& out) {
    Measure m;
    const double start = now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int input = open(in.c_str(), O_RDONLY);
        const int output = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(input, 0);
        dup2(output, 1);
        std::vector<char*> argv;
        argv.reserve(command.size() + 1);
        for (const std::string& arg : command)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    m.seconds = now() - start;
    m.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    m.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return m;
}

Measure median(std::vector<Measure> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Measure& a, const Measure& b) { return a.seconds < b.seconds; });
    Measure m = runs[runs.size() / 2];
    for (const Measure& r : runs)
        m.peakMb = std::max(m.peakMb, r.peakMb);
    return m;
}

bool sameFile(const std::string& a, const std::string& b) {
    return std::system(("cmp -s '" + a + "' '" + b + "'").c_str()) == 0;
}

void printRow(const char* what, const Measure& m, long items) {
    std::printf("  %-32s %7.3f s %8.2f M/s %8.1f MB   exit %d\n", what, m.seconds,
                static_cast<double>(items) / m.seconds / 1e6, m.peakMb, m.status);
}

} // namespace convert_bench
