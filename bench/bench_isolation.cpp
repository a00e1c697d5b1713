#include "bench_isolation.h"

#include <QApplication>

#include <cstdio>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace tallyvane::bench {

namespace {

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

[[noreturn]] void runChild(int fd, const std::function<void(Figures&)>& measure) {
    int argc = 1;
    char name[] = "tallyvane_bench";
    char* argv[] = {name, nullptr};
    Figures figures;
    {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Tallyvane"));
        measure(figures);
    }
    std::ostringstream out;
    out.precision(17);
    for (const auto& [key, value] : figures)
        out << key << ' ' << value << '\n';
    writeAll(fd, out.str());
    std::fflush(stdout);
    std::fflush(stderr);
    // A forked child must not run the parent's exit handlers a second time.
    ::_exit(0);
}

} // namespace

Figures runIsolated(const std::function<void(Figures&)>& measure) {
    std::fflush(stdout);
    std::fflush(stderr);
    int fds[2];
    if (::pipe(fds) != 0)
        return {{"failed", 1}};
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return {{"failed", 1}};
    }
    if (pid == 0) {
        ::close(fds[0]);
        runChild(fds[1], measure);
    }
    ::close(fds[1]);
    const std::string text = readAll(fds[0]);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    Figures figures;
    std::istringstream in(text);
    std::string key;
    double value;
    while (in >> key >> value)
        figures[key] = value;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        figures["failed"] = 1;
    return figures;
}

} // namespace tallyvane::bench
