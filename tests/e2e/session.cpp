// SPDX-License-Identifier: MIT
// The shared X session (a gtest environment) and runs of the game on it.
// gtest comes before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "session.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "sanitizer.h"

Session& session() {
    static Session shared;
    return shared;
}

namespace {
// Starts the driver's Xvfb and reference window before the first test and
// stops the server after the last.
class XSessionEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Session& s = session();
        if (!startXServer(s.server, logPath("xvfb.log"), s.error)) return;
        s.display = openDisplay(s.server.display);
        if (s.display == nullptr) {
            s.error = "cannot connect to the driver's Xvfb " + s.server.display;
            return;
        }
        if (!hasXTest(s.display)) {
            s.error = "the X server has no XTest extension";
            return;
        }
        openReferenceWindow(s.server.display);
        s.glPreload = pinGlDriver();
    }
    void TearDown() override {
        Session& s = session();
        closeReferenceWindow();
        if (s.display != nullptr) XCloseDisplay(s.display);
        s.display = nullptr;
        stopXServer(s.server);
    }
};

const ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new XSessionEnvironment);
}  // namespace

namespace {
// Puts `first` at the head of the LD_PRELOAD entry of `set` (adding the entry
// when there is none), so the sanitizer's runtime comes first and the
// caller's own libraries (the fake joystick) stay preloaded after it.
void keepPreloadsAfter(std::vector<std::string>& set, const std::string& first) {
    const std::string name = "LD_PRELOAD=";
    for (std::string& entry : set) {
        if (entry.rfind(name, 0) == 0) {
            entry = name + first + " " + entry.substr(name.size());
            return;
        }
    }
    set.push_back(name + first);
}
}  // namespace

void launchGame(GameRun& run, const std::string& name, const std::vector<std::string>& prefix,
                const ChildEnvironment& environment) {
    std::vector<std::string> argv = prefix.empty() ? launcherWords() : systemWords();
    argv.insert(argv.end(), prefix.begin(), prefix.end());
    argv.push_back(ZARVEL_E2E_GAME);
    ChildEnvironment changes = environment;
    changes.set.push_back("DISPLAY=" + session().server.display);
    if (!session().glPreload.empty() && prefix.empty()) {
        keepPreloadsAfter(changes.set, session().glPreload);
    } else if (!session().glPreload.empty()) {
        const char* options = std::getenv("ASAN_OPTIONS");
        changes.set.push_back("ASAN_OPTIONS=" + std::string(options != nullptr ? options : "") +
                              ":detect_leaks=0");
    }
    run.outputPath = logPath(name + ".out");
    run.startedAt = nowSeconds();
    run.process = startProcess(argv, changes, run.outputPath);
}

bool waitForGameWindow(GameRun& run, double seconds) {
    const double deadline = nowSeconds() + seconds * slowFactor();
    while (nowSeconds() < deadline) {
        run.window = findWindowByTitle(session().display, "Zarvel");
        if (run.window != 0) return true;
        if (waitForExit(run.process, 0.0)) return false;
        sleepSeconds(0.02);
    }
    return false;
}

bool waitForOverlay(GameRun& run, double seconds, Frame& frame, OverlayText& line) {
    const double deadline = nowSeconds() + seconds * slowFactor();
    while (nowSeconds() < deadline) {
        if (grabFrame(session().display, run.window, frame)) {
            line = readOverlay(frame);
            if (line.read) return true;
        }
        sleepSeconds(0.01);
    }
    if (frame.width > 0) saveFrame(frame, logPath("unreadable-line.ppm"));
    return false;
}

OverlayText readLineNow(GameRun& run) {
    Frame top;
    if (!grabFrame(session().display, run.window, top, 60)) return OverlayText{};
    return readOverlay(top);
}

bool waitForLine(GameRun& run, double seconds, const std::string& wanted, Frame& frame) {
    const double deadline = nowSeconds() + seconds * slowFactor();
    while (nowSeconds() < deadline) {
        if (grabFrame(session().display, run.window, frame) && overlayShows(frame, wanted)) {
            return true;
        }
        sleepSeconds(0.01);
    }
    return false;
}

bool waitForNewFrames(GameRun& run, int count, double seconds, Frame& frame) {
    const double deadline = nowSeconds() + seconds * slowFactor();
    Frame previous;
    if (!grabFrame(session().display, run.window, previous)) return false;
    int changes = 0;
    while (changes < count && nowSeconds() < deadline) {
        sleepSeconds(0.005);
        if (!grabFrame(session().display, run.window, frame)) return false;
        bool differs = false;
        for (size_t i = 0; i < frame.pixels.size() && !differs; ++i) {
            const Rgb& a = frame.pixels[i];
            const Rgb& b = previous.pixels[i];
            differs = a.r != b.r || a.g != b.g || a.b != b.b;
        }
        if (differs) ++changes;
        previous = frame;
    }
    return changes >= count;
}

std::pair<double, int> waitForShotsLeft(GameRun& run, int most, double seconds, RateRange* rates) {
    const double deadline = nowSeconds() + seconds * slowFactor();
    while (nowSeconds() < deadline) {
        const OverlayText now = readLineNow(run);
        if (now.read && now.fpsShown && rates != nullptr) {
            rates->slowest = std::min(rates->slowest, now.fps);
            rates->fastest = std::max(rates->fastest, now.fps);
        }
        if (now.read && now.shotsLeft <= most) return {nowSeconds(), now.shotsLeft};
        sleepSeconds(0.005);
    }
    return {nowSeconds(), -1};
}

int settledShotsLeft(GameRun& run, double seconds) {
    const double deadline = nowSeconds() + seconds * slowFactor();
    int shown = -1;
    double since = nowSeconds();
    while (nowSeconds() < deadline) {
        const OverlayText now = readLineNow(run);
        if (now.read && now.shotsLeft != shown) {
            shown = now.shotsLeft;
            since = nowSeconds();
        }
        if (shown != -1 && nowSeconds() - since >= 0.5) return shown;
        sleepSeconds(0.01);
    }
    return -1;
}

void finishGame(GameRun& run) {
    if (run.process.pid <= 0 || run.process.finished) return;
    if (run.window != 0) sendCloseRequest(session().display, run.window);
    if (!waitForExit(run.process, 10.0 * slowFactor())) endProcess(run.process);
}

std::string findingsIn(const std::string& output) {
    std::istringstream lines(output);
    std::string line;
    std::string findings;
    for (const char* marker :
         {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:", "Invalid read",
          "Invalid write", "uninitialised", "definitely lost in"}) {
        lines.clear();
        lines.seekg(0);
        while (std::getline(lines, line)) {
            if (line.find(marker) != std::string::npos) findings += line + "\n";
        }
    }
    return findings;
}
