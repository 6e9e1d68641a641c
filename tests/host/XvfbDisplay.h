#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace zorlet::test {

// A private X server (Xvfb) for window tests; DISPLAY points at it while it runs.
class XvfbDisplay {
public:
    static std::string program() {
        for (const char* candidate : {"/usr/bin/Xvfb", "/usr/local/bin/Xvfb"}) {
            if (std::filesystem::exists(candidate)) {
                return candidate;
            }
        }
        return {};
    }

    // False when Xvfb is missing or does not come up within a few seconds.
    bool start() {
        std::string xvfb = program();
        if (xvfb.empty()) {
            return false;
        }
        for (int attempt = 0; attempt < 20 && pid_ <= 0; ++attempt) {
            int number = 200 + (::getpid() + attempt * 7) % 700;
            std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
            if (std::filesystem::exists(socket) || std::filesystem::exists(lock)) {
                continue;
            }
            std::string display = ":" + std::to_string(number);
            pid_t child = ::fork();
            if (child == 0) {
                ::execl(xvfb.c_str(), "Xvfb", display.c_str(), "-screen", "0", "800x1000x24", "-nolisten",
                        "tcp", static_cast<char*>(nullptr));
                ::_exit(127);
            }
            if (child < 0) {
                return false;
            }
            auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (std::chrono::steady_clock::now() < deadline && !std::filesystem::exists(socket)) {
                int status = 0;
                if (::waitpid(child, &status, WNOHANG) == child) {
                    child = -1;  // it gave up (display taken); try another number
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            if (child > 0 && std::filesystem::exists(socket)) {
                pid_ = child;
                if (const char* old = std::getenv("DISPLAY")) {
                    previous_ = old;
                }
                ::setenv("DISPLAY", display.c_str(), 1);
            } else if (child > 0) {
                ::kill(child, SIGKILL);
                ::waitpid(child, nullptr, 0);
            }
        }
        return pid_ > 0;
    }

    void stop() {
        if (pid_ <= 0) {
            return;
        }
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        if (previous_.empty()) {
            ::unsetenv("DISPLAY");
        } else {
            ::setenv("DISPLAY", previous_.c_str(), 1);
        }
    }

    ~XvfbDisplay() { stop(); }

private:
    pid_t pid_ = -1;
    std::string previous_;
};

}  // namespace zorlet::test
