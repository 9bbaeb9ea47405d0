// SPDX-License-Identifier: MIT
// Starting, watching and ending the driver's child processes.
#include "processes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

double nowSeconds() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
}

double slowFactor() {
    const char* text = std::getenv("ZARVEL_E2E_SLOW");
    const double factor = text != nullptr ? std::atof(text) : 1.0;
    return factor >= 1.0 ? factor : 1.0;
}

void sleepSeconds(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

namespace {
// The driver's environment with the child's changes applied, as NAME=value.
std::vector<std::string> childEnvironment(const ChildEnvironment& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool drop = false;
        for (const std::string& unset : changes.unset) drop = drop || unset == name;
        for (const std::string& set : changes.set) drop = drop || set.substr(0, set.find('=')) == name;
        if (!drop) entries.push_back(text);
    }
    for (const std::string& set : changes.set) entries.push_back(set);
    return entries;
}

// An absolute path for a program name, searched along PATH when it has no '/'.
std::string resolveProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) return name;
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return name;
}

// Pointers into the strings, ending with the null pointer execve expects.
std::vector<char*> pointerList(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}
}  // namespace

ChildProcess startProcess(const std::vector<std::string>& argv, const ChildEnvironment& environment,
                          const std::string& outputPath, int keepFd) {
    std::vector<std::string> arguments = argv;
    arguments.front() = resolveProgram(arguments.front());
    std::vector<std::string> entries = childEnvironment(environment);
    std::vector<char*> argumentPointers = pointerList(arguments);
    std::vector<char*> entryPointers = pointerList(entries);
    const int output = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ChildProcess child;
    child.pid = fork();
    if (child.pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int input = open("/dev/null", O_RDONLY);
        dup2(input, 0);
        dup2(output, 1);
        dup2(output, 2);
        if (keepFd != -1) fcntl(keepFd, F_SETFD, 0);
        execve(argumentPointers[0], argumentPointers.data(), entryPointers.data());
        _exit(127);
    }
    if (output != -1) close(output);
    return child;
}

bool waitForExit(ChildProcess& child, double seconds) {
    const double deadline = nowSeconds() + seconds;
    while (!child.finished && child.pid > 0) {
        int status = 0;
        const pid_t done = waitpid(child.pid, &status, WNOHANG);
        if (done == child.pid) {
            child.finished = true;
            child.status = status;
            break;
        }
        if (done == -1 && errno != EINTR) break;
        if (nowSeconds() > deadline) return false;
        sleepSeconds(0.005);
    }
    return child.finished;
}

void endProcess(ChildProcess& child) {
    if (child.pid <= 0 || child.finished) return;
    kill(child.pid, SIGTERM);
    if (!waitForExit(child, 3.0 * slowFactor())) {
        kill(child.pid, SIGKILL);
        waitForExit(child, 10.0);
    }
}

namespace {
// The whitespace-separated words of an environment variable; none when unset.
std::vector<std::string> wordsOf(const char* name) {
    std::vector<std::string> words;
    const char* text = std::getenv(name);
    if (text == nullptr) return words;
    std::istringstream stream(text);
    std::string word;
    while (stream >> word) words.push_back(word);
    return words;
}
}  // namespace

std::vector<std::string> systemWords() { return wordsOf("ZARVEL_E2E_SYSTEM"); }

std::vector<std::string> launcherWords() {
    std::vector<std::string> words = systemWords();
    const std::vector<std::string> wrapper = wordsOf("ZARVEL_E2E_WRAPPER");
    words.insert(words.end(), wrapper.begin(), wrapper.end());
    return words;
}

namespace {
// Reads the display number that Xvfb writes to the pipe; -1 on timeout.
int readDisplayNumber(int fd, double seconds) {
    std::string text;
    const double deadline = nowSeconds() + seconds;
    while (text.find('\n') == std::string::npos && nowSeconds() < deadline) {
        pollfd watched{fd, POLLIN, 0};
        if (poll(&watched, 1, 100) <= 0) continue;
        char buffer[32] = {};
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) break;
        text.append(buffer, static_cast<size_t>(got));
    }
    if (text.find('\n') == std::string::npos) return -1;
    return std::atoi(text.c_str());
}
}  // namespace

bool startXServer(XServer& server, const std::string& log, std::string& error) {
    int fds[2] = {-1, -1};
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    // -r: keys the tests hold do not repeat. freeglut tells a repeat from a
    // release by asking, as it reads the release, whether the key is still
    // down; on a loaded machine it reads late, after the real release, and
    // takes the repeat for a release, and F would flip the readout twice.
    server.process = startProcess({ZARVEL_E2E_XVFB, "-displayfd", std::to_string(fds[1]), "-screen",
                                   "0", "1024x768x24", "-nolisten", "tcp", "-noreset", "-r"},
                                  {}, log, fds[1]);
    close(fds[1]);
    server.number = readDisplayNumber(fds[0], 30.0 * slowFactor());
    close(fds[0]);
    if (server.number < 0) {
        error = "Xvfb gave no display number within 30 s; its log: " + readFile(log);
        endProcess(server.process);
        return false;
    }
    server.display = ":" + std::to_string(server.number);
    return true;
}

void stopXServer(XServer& server) { endProcess(server.process); }

int openFifoForWriting(const std::string& path, double seconds) {
    const double deadline = nowSeconds() + seconds * slowFactor();
    while (true) {
        const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd != -1 || errno != ENXIO || nowSeconds() > deadline) return fd;
        sleepSeconds(0.01);
    }
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

std::string logPath(const std::string& name) {
    mkdir(ZARVEL_E2E_LOG_DIR, 0755);
    return std::string(ZARVEL_E2E_LOG_DIR) + "/" + name;
}
