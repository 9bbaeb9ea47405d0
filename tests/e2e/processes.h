// SPDX-License-Identifier: MIT
// Child processes of the end-to-end driver: the X server, the game, strace.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// One started child and, once it has ended, how it ended.
struct ChildProcess {
    pid_t pid = -1;         // -1 before start and after it has been reaped
    bool finished = false;  // true once waitpid has returned its status
    int status = 0;         // waitpid status, valid when finished
};

// An Xvfb of the driver's own, on the display number it chose itself.
struct XServer {
    ChildProcess process;
    int number = -1;      // display number written by -displayfd
    std::string display;  // ":N"
};

// Changes to the driver's environment for one child.
struct ChildEnvironment {
    std::vector<std::string> set;    // "NAME=value" entries, added or replacing
    std::vector<std::string> unset;  // names removed
};

// Seconds of steady time since an arbitrary fixed start.
double nowSeconds();

// Multiplier for every timeout, from ZARVEL_E2E_SLOW (1 when unset), so a
// run under valgrind can be given more time without changing the checks.
double slowFactor();

// Sleeps for the given number of seconds (fractions allowed).
void sleepSeconds(double seconds);

// Starts argv[0] (a path, or a name looked up along PATH) with its arguments and the changed
// environment; its stdout and stderr go to outputPath. keepFd, when not -1,
// stays open in the child. The child ends when the driver dies.
ChildProcess startProcess(const std::vector<std::string>& argv, const ChildEnvironment& environment,
                          const std::string& outputPath, int keepFd = -1);

// Waits up to `seconds` for the child to end; true when it has.
bool waitForExit(ChildProcess& child, double seconds);

// Ends a child that is still running: SIGTERM, then SIGKILL after 3 s.
void endProcess(ChildProcess& child);

// Words that run a program in another system, from ZARVEL_E2E_SYSTEM, e.g.
// "scripts/portable-root run DIR" for the Debian 11 root: the game runs in
// it, and so does a prefix such as strace. Empty when unset.
std::vector<std::string> systemWords();

// Words of a launcher prefix, e.g. "valgrind --error-exitcode=99", from
// ZARVEL_E2E_WRAPPER, after systemWords(); empty when both are unset.
std::vector<std::string> launcherWords();

// Starts Xvfb 1024x768x24 without TCP on a free display number; false with
// a message in `error` when it does not come up within 30 s.
bool startXServer(XServer& server, const std::string& logPath, std::string& error);

// Stops the server started by startXServer.
void stopXServer(XServer& server);

// Opens the writing end of a FIFO without blocking, retrying while no
// reader has it open yet (ENXIO) for up to `seconds`; the descriptor, or -1.
int openFifoForWriting(const std::string& path, double seconds);

// Whole contents of a file, empty when it cannot be read.
std::string readFile(const std::string& path);

// Path of a log file for this run, in the build tree's e2e-logs folder.
std::string logPath(const std::string& name);
