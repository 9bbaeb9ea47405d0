// SPDX-License-Identifier: MIT
// A desktop program should not write files or talk to the network: the game
// runs under strace while it is played, and the trace shows every open and
// every socket it made.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <iostream>
#include <sstream>

#include "session.h"

namespace {
// What a trace shows that a game must not do.
struct TraceVerdict {
    int opens = 0;                     // open, openat and creat calls seen
    int connects = 0;                  // connect calls seen
    std::vector<std::string> writes;   // opens for writing outside `allowedFolder`
    std::vector<std::string> written;  // every path opened for writing
    std::vector<std::string> sockets;  // sockets or connections other than the X server's
};

// The first double-quoted string of a trace line (strace escapes quotes).
std::string quotedPath(const std::string& line, size_t& end) {
    const size_t start = line.find('"');
    end = start;
    if (start == std::string::npos) return "";
    std::string path;
    for (end = start + 1; end < line.size() && line[end] != '"'; ++end) {
        if (line[end] == '\\' && end + 1 < line.size()) ++end;
        path += line[end];
    }
    return path;
}

bool opensForWriting(const std::string& flags) {
    for (const char* flag : {"O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC"}) {
        if (flags.find(flag) != std::string::npos) return true;
    }
    return false;
}

// Judges the lines of `strace -f -e trace=open,openat,creat,socket,connect`.
// The only connection allowed is to the X server on display `number`; files
// may be opened for writing only below `allowedFolder` (none when empty).
TraceVerdict judgeTrace(const std::string& trace, int number, const std::string& allowedFolder) {
    TraceVerdict verdict;
    const std::string xSocket = "\"/tmp/.X11-unix/X" + std::to_string(number) + "\"";
    std::istringstream lines(trace);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t call = line.find_first_not_of("0123456789 ");
        if (call == std::string::npos || line.compare(call, 4, "<...") == 0) continue;
        const std::string rest = line.substr(call);
        size_t end = 0;
        if (rest.rfind("open(", 0) == 0 || rest.rfind("openat(", 0) == 0 || rest.rfind("creat(", 0) == 0) {
            ++verdict.opens;
            const std::string path = quotedPath(rest, end);
            const bool writing = rest.rfind("creat(", 0) == 0 || opensForWriting(rest.substr(end));
            if (!writing) continue;
            verdict.written.push_back(path);
            const bool allowed = !allowedFolder.empty() && path.rfind(allowedFolder + "/", 0) == 0;
            if (!allowed) verdict.writes.push_back(rest);
        } else if (rest.rfind("socket(", 0) == 0) {
            if (rest.rfind("socket(AF_UNIX,", 0) != 0) verdict.sockets.push_back(rest);
        } else if (rest.rfind("connect(", 0) == 0) {
            ++verdict.connects;
            const bool toX = rest.find("sa_family=AF_UNIX") != std::string::npos &&
                             (rest.find("sun_path=" + xSocket) != std::string::npos ||
                              rest.find("sun_path=@" + xSocket) != std::string::npos);
            if (!toX) verdict.sockets.push_back(rest);
        }
    }
    return verdict;
}

// Plays the game under strace for a few seconds and closes it; the trace.
std::string playUnderStrace(const std::string& name, const ChildEnvironment& environment) {
    const std::string trace = logPath(name + ".strace");
    GameRun game;
    launchGame(game, name,
               {ZARVEL_E2E_STRACE, "-f", "--seccomp-bpf", "-qq", "-s", "4096", "-e",
                "trace=open,openat,creat,socket,connect", "-o", trace},
               environment);
    Frame frame;
    OverlayText line;
    EXPECT_TRUE(waitForGameWindow(game, 60.0)) << readFile(game.outputPath);
    if (game.window != 0) {
        focusWindow(session().display, game.window);
        EXPECT_TRUE(waitForOverlay(game, 30.0, frame, line));
        for (const unsigned long key : {XK_f, XK_space, XK_Left, XK_c, XK_Up}) {
            sendKey(session().display, key, true);
            waitForNewFrames(game, 20, 5.0, frame);
            sendKey(session().display, key, false);
        }
        waitForNewFrames(game, 100, 10.0, frame);
    }
    finishGame(game);
    EXPECT_TRUE(game.process.finished && WIFEXITED(game.process.status) &&
                WEXITSTATUS(game.process.status) == 0)
        << "wait status " << game.process.status << "; output:\n" << readFile(game.outputPath);
    return readFile(trace);
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& entry : lines) text += entry + "\n";
    return text;
}

TEST(TraceJudge, FlagsWritesForeignSocketsAndConnections) {
    const std::string trace =
        "11 openat(AT_FDCWD, \"/etc/ld.so.cache\", O_RDONLY|O_CLOEXEC) = 3\n"
        "11 openat(AT_FDCWD, \"/tmp/x, y\", O_WRONLY|O_CREAT|O_TRUNC, 0666) = 4\n"
        "12 open(\"/dev/dri/card0\", O_RDWR|O_CLOEXEC <unfinished ...>\n"
        "12 <... open resumed>) = -1 ENOENT (No such file or directory)\n"
        "11 creat(\"/tmp/out\", 0644) = 5\n"
        "11 openat(AT_FDCWD, \"/c/mesa_shader_cache/index\", O_RDWR|O_CREAT|O_CLOEXEC, 0644) = 6\n"
        "11 socket(AF_UNIX, SOCK_STREAM|SOCK_CLOEXEC, 0) = 7\n"
        "11 connect(7, {sa_family=AF_UNIX, sun_path=@\"/tmp/.X11-unix/X5\"}, 20) = 0\n"
        "11 connect(7, {sa_family=AF_UNIX, sun_path=\"/tmp/.X11-unix/X5\"}, 110) = 0\n"
        "11 connect(7, {sa_family=AF_UNIX, sun_path=\"/tmp/.X11-unix/X6\"}, 110) = 0\n"
        "11 socket(AF_INET, SOCK_STREAM, IPPROTO_TCP) = 8\n"
        "11 connect(8, {sa_family=AF_INET, sin_port=htons(6000)}, 16) = 0\n";
    const TraceVerdict verdict = judgeTrace(trace, 5, "/c/mesa_shader_cache");
    EXPECT_EQ(verdict.opens, 5);
    EXPECT_EQ(verdict.connects, 4);
    ASSERT_EQ(verdict.writes.size(), 3u) << joined(verdict.writes);
    EXPECT_NE(verdict.writes[0].find("/tmp/x, y"), std::string::npos);
    EXPECT_NE(verdict.writes[1].find("/dev/dri/card0"), std::string::npos);
    EXPECT_NE(verdict.writes[2].find("creat("), std::string::npos);
    EXPECT_EQ(verdict.written.size(), 4u);
    ASSERT_EQ(verdict.sockets.size(), 3u) << joined(verdict.sockets);
    EXPECT_NE(verdict.sockets[0].find("X6"), std::string::npos);
    EXPECT_NE(verdict.sockets[1].find("AF_INET"), std::string::npos);
}

// Mesa keeps a shader cache on disk (by default in ~/.cache/mesa_shader_cache)
// and writes it from inside the OpenGL driver; MESA_SHADER_CACHE_DISABLE is
// Mesa's own switch for it, MESA_GLSL_CACHE_DISABLE that of older Mesa
// (Debian 11's 20.3, where the portable game is tested too). With it off,
// nothing at all may be written.
const std::vector<std::string> mesaCacheSwitches = {"MESA_SHADER_CACHE_DISABLE",
                                                    "MESA_GLSL_CACHE_DISABLE"};

TEST(Safety, PlayedGameOpensNoFileForWritingAndOnlyTheXServerSocket) {
    ASSERT_TRUE(session().error.empty()) << session().error;
    ChildEnvironment cacheOff;
    for (const std::string& name : mesaCacheSwitches) cacheOff.set.push_back(name + "=true");
    const std::string trace = playUnderStrace("Safety.cacheOff", cacheOff);
    const TraceVerdict verdict = judgeTrace(trace, session().server.number, "");
    std::cout << verdict.opens << " opens, " << verdict.connects << " connects traced\n";
    EXPECT_GT(verdict.opens, 0) << "strace saw nothing: " << trace.substr(0, 2000);
    EXPECT_GT(verdict.connects, 0) << "the connection to the X server was not traced";
    EXPECT_TRUE(verdict.writes.empty()) << joined(verdict.writes);
    EXPECT_TRUE(verdict.sockets.empty()) << joined(verdict.sockets);
}

// With Mesa's cache left on (pointed at a folder of the test's own through
// XDG_CACHE_HOME, which Mesa reads), every file written is Mesa's cache.
TEST(Safety, WithMesaCacheOnOnlyMesaCacheIsWritten) {
    ASSERT_TRUE(session().error.empty()) << session().error;
    const std::string cacheHome = logPath("Safety.cacheHome");
    const std::string trace = playUnderStrace(
        "Safety.cacheOn", {{"XDG_CACHE_HOME=" + cacheHome}, mesaCacheSwitches});
    const TraceVerdict verdict =
        judgeTrace(trace, session().server.number, cacheHome + "/mesa_shader_cache");
    std::cout << verdict.written.size() << " files opened for writing, all under " << cacheHome
              << "/mesa_shader_cache:\n" << joined(verdict.written);
    EXPECT_TRUE(verdict.writes.empty()) << joined(verdict.writes);
    EXPECT_TRUE(verdict.sockets.empty()) << joined(verdict.sockets);
}
}  // namespace
