// SPDX-License-Identifier: MIT
// The overlay reader: candidate texts drawn with freeglut's Helvetica 18 at
// the game's raster position, compared pixel for pixel with the game's line.
#include "overlay.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {
constexpr int AREA = 600;              // the game's drawing area, pixels on a side
constexpr int REFERENCE_HEIGHT = 100;  // the driver's window: the area's top 100 rows
constexpr int LINE_ROWS = 60;          // rows from the top that hold the line
constexpr int TAIL_COLUMNS = 3;        // a glyph's last columns, which the next may touch

using TextMask = std::vector<uint8_t>;  // LINE_ROWS x AREA, 1 where the pixel is yellow

// A candidate text as drawn by the driver.
struct Rendered {
    TextMask mask;     // its yellow pixels
    int endX = 0;  // raster x after its last character, pixels from the left
};

std::map<std::string, Rendered> renderedTexts;  // candidates drawn so far
std::map<TextMask, OverlayText> readLines;          // game masks read so far

bool isYellow(const Rgb& pixel) { return pixel.r >= 200 && pixel.g >= 200 && pixel.b <= 100; }

// Draws the text as the game's overlay does and reads back its pixels.
Rendered drawText(const std::string& text) {
    glViewport(0, REFERENCE_HEIGHT - AREA, AREA, AREA);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 0.0f);
    glRasterPos3f(-0.95f, 0.9f, 0.5f);
    for (const char c : text) glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, c);
    GLfloat raster[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    std::vector<uint8_t> rgb(static_cast<size_t>(AREA) * LINE_ROWS * 3, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, REFERENCE_HEIGHT - LINE_ROWS, AREA, LINE_ROWS, GL_RGB, GL_UNSIGNED_BYTE,
                 rgb.data());
    Rendered result;
    result.endX = static_cast<int>(raster[0]);
    result.mask.assign(static_cast<size_t>(AREA) * LINE_ROWS, 0);
    for (int row = 0; row < LINE_ROWS; ++row) {
        const int top = LINE_ROWS - 1 - row;  // glReadPixels rows run upward
        for (int x = 0; x < AREA; ++x) {
            const size_t at = (static_cast<size_t>(row) * AREA + static_cast<size_t>(x)) * 3;
            const Rgb pixel{rgb[at], rgb[at + 1], rgb[at + 2]};
            result.mask[static_cast<size_t>(top) * AREA + static_cast<size_t>(x)] = isYellow(pixel);
        }
    }
    return result;
}

const Rendered& rendered(const std::string& text) {
    auto found = renderedTexts.find(text);
    if (found == renderedTexts.end()) found = renderedTexts.emplace(text, drawText(text)).first;
    return found->second;
}

// True when the masks agree in the columns fromX..toX-1.
bool columnsEqual(const TextMask& a, const TextMask& b, int fromX, int toX) {
    for (int row = 0; row < LINE_ROWS; ++row) {
        for (int x = std::max(fromX, 0); x < std::min(toX, AREA); ++x) {
            const size_t at = static_cast<size_t>(row) * AREA + static_cast<size_t>(x);
            if (a[at] != b[at]) return false;
        }
    }
    return true;
}

TextMask frameMask(const Frame& frame) {
    TextMask mask(static_cast<size_t>(AREA) * LINE_ROWS, 0);
    for (int y = 0; y < LINE_ROWS; ++y) {
        for (int x = 0; x < AREA; ++x) {
            mask[static_cast<size_t>(y) * AREA + static_cast<size_t>(x)] =
                isYellow(pixelAt(frame, x, y));
        }
    }
    return mask;
}

// Extends `text` along `pattern` ('d' any digit, other characters as they
// stand), keeping only characters whose columns match; true with the whole
// text in `found` when a complete candidate matches every column.
bool search(const TextMask& game, const std::string& text, const std::string& pattern,
            std::string& found) {
    const size_t position = text.size();
    if (position == pattern.size()) {
        if (!columnsEqual(game, rendered(text).mask, 0, AREA)) return false;
        found = text;
        return true;
    }
    const std::string choices = pattern[position] == 'd' ? "0123456789" : pattern.substr(position, 1);
    for (const char choice : choices) {
        const std::string longer = text + choice;
        const Rendered& drawn = rendered(longer);
        if (columnsEqual(game, drawn.mask, 0, drawn.endX - TAIL_COLUMNS) &&
            search(game, longer, pattern, found)) {
            return true;
        }
    }
    return false;
}

// Splits a matched line into its numbers.
OverlayText parseLine(const std::string& text) {
    OverlayText line;
    line.read = true;
    line.text = text;
    line.hits = std::stoi(text.substr(0, 3));
    line.shotsLeft = std::stoi(text.substr(4, 5));
    line.fpsShown = text.size() > 9;
    line.fps = line.fpsShown ? std::stoi(text.substr(14)) : 0;
    return line;
}

void ignoreDisplay() {}
}  // namespace

void openReferenceWindow(const std::string& display) {
    std::string program = "zarvel_e2e";
    std::string option = "-display";
    std::string name = display;
    char* argv[] = {program.data(), option.data(), name.data(), nullptr};
    int argc = 3;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE);
    glutInitWindowSize(AREA, REFERENCE_HEIGHT);
    glutInitWindowPosition(0, 768 - REFERENCE_HEIGHT);
    glutCreateWindow(REFERENCE_WINDOW_TITLE);
    glutDisplayFunc(ignoreDisplay);
}

void closeReferenceWindow() {
    if (glutGet(GLUT_INIT_STATE) != 0) glutExit();
}

OverlayText readOverlay(const Frame& frame) {
    if (frame.width != AREA || frame.height < LINE_ROWS) return OverlayText{};
    const TextMask game = frameMask(frame);
    const auto known = readLines.find(game);
    if (known != readLines.end()) return known->second;
    OverlayText line;
    for (const char* pattern :
         {"ddd/ddddd", "ddd/ddddd FPS:d", "ddd/ddddd FPS:dd", "ddd/ddddd FPS:ddd"}) {
        std::string found;
        if (search(game, "", pattern, found)) {
            line = parseLine(found);
            break;
        }
    }
    readLines.emplace(game, line);
    return line;
}

std::string overlayLine(int hits, int shotsLeft, bool fpsShown, int fps) {
    char text[32] = {};
    std::snprintf(text, sizeof text, "%03d/%05d", hits, shotsLeft);
    std::string line = text;
    if (fpsShown) line += " FPS:" + std::to_string(fps);
    return line;
}

bool overlayShows(const Frame& frame, const std::string& text) {
    if (frame.width != AREA || frame.height < LINE_ROWS) return false;
    return columnsEqual(frameMask(frame), rendered(text).mask, 0, AREA);
}
