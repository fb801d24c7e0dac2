#include "imageio/reader_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Whether the reader ended by its own choice, with its own message.
bool Refused(int status, const std::string& errors) {
    return WIFEXITED(status) && WEXITSTATUS(status) != 127 && WEXITSTATUS(status) != 0 &&
           errors.find("bad_alloc") == std::string::npos &&
           errors.find("out of memory") == std::string::npos;
}

std::string Describe(int status, const std::string& errors, bool outOfTime, double seconds) {
    if (outOfTime) {
        char text[64];
        std::snprintf(text, sizeof text, "timed out after %g s", seconds);
        return text;
    }
    if (WIFSIGNALED(status)) {
        const int sig = WTERMSIG(status);
        if (sig == SIGXCPU) return "timed out";
        return "crashed with signal " + std::to_string(sig);
    }
    if (WIFEXITED(status)) {
        const int code = WEXITSTATUS(status);
        if (errors.find("bad_alloc") != std::string::npos ||
            errors.find("out of memory") != std::string::npos)
            return "ran out of memory";
        if (code == 127) return "the reader program could not be started";
        std::string message = errors;
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
            message.pop_back();
        return message.empty() ? "exit status " + std::to_string(code) : message;
    }
    return "stopped";
}

}  // namespace

rgReaderResult RunReader(const std::string& program, const std::vector<std::string>& arguments,
                         const rgReaderLimits& limits) {
    rgReaderResult result;
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        result.reason = "cannot start the reader";
        result.stopped = true;
        return result;
    }
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        result.reason = "cannot start the reader";
        result.stopped = true;
        return result;
    }
    // The reader limits itself before it reads anything: it is started
    // without a copy of the editor (a fork of a large editor costs tens of
    // milliseconds), so nothing can set its limits in between.
    const auto cpuSeconds = static_cast<unsigned long long>(std::ceil(limits.seconds)) + 1;
    std::vector<std::string> args{program, "--limits", std::to_string(cpuSeconds),
                                  std::to_string(limits.memoryBytes)};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    if (spawned != 0) {
        ::close(out[0]);
        ::close(err[0]);
        result.reason = "the reader program could not be started";
        result.stopped = true;
        return result;
    }

    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(limits.seconds));
    std::string errors;
    bool outOfTime = false, tooMuch = false;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    int open = 2;
    char buffer[65536];
    while (open > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            outOfTime = true;
            break;
        }
        if (::poll(fds, 2, static_cast<int>(left.count())) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
                continue;
            }
            std::string& sink = i == 0 ? result.output : errors;
            if (sink.size() + static_cast<size_t>(n) > limits.maxOutput) {
                tooMuch = true;
                open = 0;
                break;
            }
            sink.append(buffer, static_cast<size_t>(n));
        }
    }
    for (pollfd& f : fds)
        if (f.fd >= 0) ::close(f.fd);
    if (outOfTime || tooMuch) ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (tooMuch) {
        result.reason = "wrote more than it may";
        result.stopped = true;
        result.output.clear();
        return result;
    }
    result.ok = !outOfTime && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!result.ok) {
        result.reason = Describe(status, errors, outOfTime, limits.seconds);
        result.stopped = outOfTime || !Refused(status, errors);
        result.output.clear();
    }
    return result;
}

std::string ReaderProblem(const rgReaderResult& result) {
    return result.stopped ? "the reader stopped (" + result.reason + ")" : result.reason;
}
