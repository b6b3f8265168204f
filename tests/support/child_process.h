#pragma once
// A real child process for tests: started with its standard output on a pipe, read line by line,
// killed and waited for.
#include <chrono>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace saldora::testing {

class ChildProcess {
public:
    // With mergeErrors, standard error goes to the same pipe.
    explicit ChildProcess(const std::vector<std::string>& argv, bool mergeErrors = false) {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDOUT_FILENO);
            if (mergeErrors) dup2(fds[1], STDERR_FILENO);
            close(fds[0]);
            close(fds[1]);
            std::vector<char*> args;
            for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
        close(fds[1]);
        out_ = fds[0];
    }
    ~ChildProcess() {
        kill(SIGKILL);
        wait();
        if (out_ >= 0) close(out_);
    }

    bool started() const { return pid_ > 0; }

    // The next line of output, or false at its end or after the timeout.
    bool readLine(std::string& line, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            auto nl = pending_.find('\n');
            if (nl != std::string::npos) {
                line = pending_.substr(0, nl);
                pending_.erase(0, nl + 1);
                return true;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
            char buf[4096];
            ssize_t n = read(out_, buf, sizeof buf);
            if (n <= 0) return false;
            pending_.append(buf, static_cast<size_t>(n));
        }
    }

    // Whatever complete lines are already in the pipe, without waiting.
    std::vector<std::string> drainLines() {
        std::vector<std::string> lines;
        std::string line;
        while (readLine(line, std::chrono::milliseconds(0))) lines.push_back(line);
        for (;;) { // the pipe may still hold output written just before the process ended
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, 0) <= 0) break;
            char buf[4096];
            ssize_t n = read(out_, buf, sizeof buf);
            if (n <= 0) break;
            pending_.append(buf, static_cast<size_t>(n));
            while (readLine(line, std::chrono::milliseconds(0))) lines.push_back(line);
        }
        return lines;
    }

    void kill(int signal) {
        if (pid_ > 0 && !reaped_) ::kill(pid_, signal);
    }

    // Runs to the end: exit code (-1 when killed) and everything it printed.
    static std::pair<int, std::string> run(const std::vector<std::string>& argv) {
        ChildProcess p(argv, true);
        std::string out, line;
        while (p.readLine(line, std::chrono::seconds(60))) out += line + "\n";
        int status = p.wait();
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
    }

    // Exit status as from waitpid.
    int wait() {
        if (pid_ <= 0 || reaped_) return status_;
        waitpid(pid_, &status_, 0);
        reaped_ = true;
        return status_;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string pending_;
    bool reaped_ = false;
    int status_ = 0;
};

} // namespace saldora::testing
