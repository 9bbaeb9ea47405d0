// SPDX-License-Identifier: MIT
// Xlib and XTest calls of the end-to-end driver.
#include "xwindow.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstring>
#include <fstream>

namespace {
// Records an X error instead of ending the process (the game's window can
// vanish between finding it and reading it).
int ignoreError(Display*, XErrorEvent*) { return 0; }

// The class name of a window's WM_CLASS; empty when it has none.
std::string windowClass(Display* display, Window window) {
    XClassHint hint{};
    if (XGetClassHint(display, window, &hint) == 0) return "";
    const std::string name = hint.res_class != nullptr ? hint.res_class : "";
    if (hint.res_name != nullptr) XFree(hint.res_name);
    if (hint.res_class != nullptr) XFree(hint.res_class);
    return name;
}

// Depth-first search below `parent` for a viewable window with the title
// (or with the class name, when byClass).
Window searchTree(Display* display, Window parent, const std::string& name, bool byClass) {
    Window root = 0;
    Window parentOfParent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, parent, &root, &parentOfParent, &children, &count) == 0) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        XWindowAttributes attributes{};
        const bool viewable = XGetWindowAttributes(display, children[i], &attributes) != 0 &&
                              attributes.map_state == IsViewable;
        const std::string named =
            byClass ? windowClass(display, children[i]) : windowTitle(display, children[i]);
        if (viewable && named == name) found = children[i];
        if (found == 0) found = searchTree(display, children[i], name, byClass);
    }
    if (children != nullptr) XFree(children);
    return found;
}

// The number of items of a window's property of `type`, reading at most
// `length` 32-bit units; 0 when it has none of that type. Its bytes go to
// `bytes` when given.
unsigned long propertyItems(Display* display, Window window, Atom property, Atom type, long length,
                            std::string* bytes) {
    Atom actualType = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, length, False, type, &actualType, &format,
                           &items, &after, &data) != Success) {
        return 0;
    }
    if (data != nullptr && bytes != nullptr) bytes->assign(reinterpret_cast<char*>(data), items);
    if (data != nullptr) XFree(data);
    return actualType == type ? items : 0;
}

// LSBFirst or MSBFirst: the byte order of this machine's words.
int hostByteOrder() {
    const uint32_t one = 1;
    unsigned char first = 0;
    std::memcpy(&first, &one, 1);
    return first == 1 ? LSBFirst : MSBFirst;
}

// Sends a window manager's WM_PROTOCOLS message with `protocol`.
void sendProtocolMessage(Display* display, Window window, Atom protocol) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(protocol);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
}

// Position of one colour channel in a pixel value, from its mask.
int maskShift(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1ul) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}
}  // namespace

Display* openDisplay(const std::string& name) {
    XSetErrorHandler(ignoreError);
    return XOpenDisplay(name.c_str());
}

std::string windowTitle(Display* display, Window window) {
    char* name = nullptr;
    std::string title;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        title = name;
        XFree(name);
        return title;
    }
    propertyItems(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                  XInternAtom(display, "UTF8_STRING", False), 256, &title);
    return title;
}

Window findWindowByTitle(Display* display, const std::string& title) {
    return searchTree(display, DefaultRootWindow(display), title, false);
}

Window findWindowByClass(Display* display, const std::string& name) {
    return searchTree(display, DefaultRootWindow(display), name, true);
}

bool windowSize(Display* display, Window window, int& width, int& height) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0) return false;
    width = attributes.width;
    height = attributes.height;
    return true;
}

bool grabFrame(Display* display, Window window, Frame& frame, int rows) {
    int width = 0;
    int height = 0;
    if (!windowSize(display, window, width, height)) return false;
    if (rows > 0 && rows < height) height = rows;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned int>(width),
                              static_cast<unsigned int>(height), AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    const int redShift = maskShift(image->red_mask);
    const int greenShift = maskShift(image->green_mask);
    const int blueShift = maskShift(image->blue_mask);
    frame.width = width;
    frame.height = height;
    frame.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), Rgb{});
    // 32-bit pixels in this machine's byte order are read straight from the
    // image, which is much quicker than a call per pixel (the tests grab
    // frames as fast as they can while a key is held).
    const bool direct = image->bits_per_pixel == 32 && image->byte_order == hostByteOrder();
    for (int y = 0; y < height; ++y) {
        const char* row = image->data + static_cast<ptrdiff_t>(y) * image->bytes_per_line;
        for (int x = 0; x < width; ++x) {
            uint32_t word = 0;
            if (direct) std::memcpy(&word, row + 4 * x, sizeof word);
            const unsigned long value = direct ? word : XGetPixel(image, x, y);
            Rgb& pixel = frame.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) +
                                      static_cast<size_t>(x)];
            pixel.r = static_cast<uint8_t>((value & image->red_mask) >> redShift);
            pixel.g = static_cast<uint8_t>((value & image->green_mask) >> greenShift);
            pixel.b = static_cast<uint8_t>((value & image->blue_mask) >> blueShift);
        }
    }
    XDestroyImage(image);
    return true;
}

void focusWindow(Display* display, Window window) {
    int width = 0;
    int height = 0;
    windowSize(display, window, width, height);
    XMoveWindow(display, window, 0, 0);
    XSync(display, False);
    XWarpPointer(display, None, window, 0, 0, 0, 0, width / 2, height / 2);
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    // A window that asks to be told (Wine's do) gets WM_TAKE_FOCUS too.
    Atom* protocols = nullptr;
    int count = 0;
    const Atom takeFocus = XInternAtom(display, "WM_TAKE_FOCUS", False);
    bool asks = false;
    if (XGetWMProtocols(display, window, &protocols, &count) != 0) {
        for (int i = 0; i < count; ++i) asks = asks || protocols[i] == takeFocus;
        XFree(protocols);
    }
    if (asks) sendProtocolMessage(display, window, takeFocus);
    XSync(display, False);
}

void sendKey(Display* display, unsigned long keysym, bool down) {
    const KeyCode code = XKeysymToKeycode(display, keysym);
    XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
    XSync(display, False);
}

void sendCloseRequest(Display* display, Window window) {
    sendProtocolMessage(display, window, XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSync(display, False);
}

Window topLevelAncestor(Display* display, Window window) {
    Window current = window;
    for (;;) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, current, &root, &parent, &children, &count) == 0) return current;
        if (children != nullptr) XFree(children);
        if (parent == root || parent == 0) return current;
        current = parent;
    }
}

bool windowManagerRunning(Display* display) {
    return propertyItems(display, DefaultRootWindow(display),
                         XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False), XA_WINDOW, 1,
                         nullptr) == 1;
}

bool hasXTest(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    return XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) != 0;
}

void saveFrame(const Frame& frame, const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << frame.width << " " << frame.height << "\n255\n";
    for (const Rgb& pixel : frame.pixels) {
        file.put(static_cast<char>(pixel.r)).put(static_cast<char>(pixel.g));
        file.put(static_cast<char>(pixel.b));
    }
}
