// A stand-in for the game client in the X11 end-to-end tests: one top-level
// window (WM_CLASS and title from the command line) that appends the
// Windows-1252 byte of every key it receives to a log file.
//
//   x11_receiver --log FILE --ready FILE [--class NAME] [--title UTF8] [--legacy-title] [--iconic]
//
// --ready FILE receives the window id (decimal) once the window is up: mapped
// and, under a window manager, managed; with --iconic, once it is minimised.
// --legacy-title sets only WM_NAME (Latin-1), not _NET_WM_NAME.
// Keys are read the way a toolkit reads them: through an input context
// (Xutf8LookupString), then Unicode to Windows-1252 by the receiver's own table.
// With STALLMARK_RECEIVER_DEBUG set, every event is traced on stderr.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char32_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == cp) return 0x80 + i;
    }
    return -1;
}

std::string Utf8ToBytes(const char* s, int n) {
    std::string out;
    for (int i = 0; i < n;) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp = c;
        int len = 1;
        if (c >= 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else if (c >= 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if (c >= 0xC0) {
            cp = c & 0x1F;
            len = 2;
        }
        for (int k = 1; k < len && i + k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        i += len;
        const int b = ByteOf(cp);
        out.push_back(b >= 0 ? static_cast<char>(b) : '?');
    }
    return out;
}

std::string Latin1(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            out.push_back(static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F)));
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

bool WindowManagerRuns(Display* display) {
    XWindowAttributes attributes;
    XGetWindowAttributes(display, DefaultRootWindow(display), &attributes);
    return (attributes.all_event_masks & SubstructureRedirectMask) != 0;
}

long WmState(Display* display, Window window, Atom wmState) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long state = -1;
    if (XGetWindowProperty(display, window, wmState, 0, 2, False, wmState, &type, &format, &count, &after, &data) ==
            Success &&
        data != nullptr && count > 0 && format == 32) {
        state = reinterpret_cast<long*>(data)[0];
    }
    if (data != nullptr) XFree(data);
    return state;
}

void SetWmState(Display* display, Window window, Atom wmState, long state) {
    long value[2] = {state, 0};
    XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace, reinterpret_cast<unsigned char*>(value), 2);
}

}  // namespace

int main(int argc, char** argv) {
    std::string logPath;
    std::string readyPath;
    std::string windowClass = "X11Receiver";
    std::string title = "x11 receiver";
    bool legacyTitle = false;
    bool iconic = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        if (arg == "--log")
            logPath = next();
        else if (arg == "--ready")
            readyPath = next();
        else if (arg == "--class")
            windowClass = next();
        else if (arg == "--title")
            title = next();
        else if (arg == "--legacy-title")
            legacyTitle = true;
        else if (arg == "--iconic")
            iconic = true;
    }
    if (logPath.empty() || readyPath.empty()) {
        std::fprintf(stderr, "usage: x11_receiver --log FILE --ready FILE [--class NAME] [--title TEXT] [--iconic]\n");
        return 2;
    }

    std::setlocale(LC_ALL, "C.UTF-8");
    XSetLocaleModifiers("@im=none");
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11_receiver: cannot open the display\n");
        return 1;
    }
    FILE* log = std::fopen(logPath.c_str(), "wb");
    if (log == nullptr) return 1;

    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const bool managed = WindowManagerRuns(display);

    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 20, 20, 300, 120, 1,
                                              BlackPixel(display, 0), WhitePixel(display, 0));
    XSelectInput(display, window, KeyPressMask | StructureNotifyMask | PropertyChangeMask | FocusChangeMask);

    XClassHint classHint;
    classHint.res_name = windowClass.data();
    classHint.res_class = windowClass.data();
    XSetClassHint(display, window, &classHint);
    const std::string latin1 = Latin1(title);
    XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(latin1.data()), static_cast<int>(latin1.size()));
    if (!legacyTitle) {
        XChangeProperty(display, window, netWmName, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
    }
    XWMHints hints;
    std::memset(&hints, 0, sizeof hints);
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state = iconic ? IconicState : NormalState;
    XSetWMHints(display, window, &hints);

    XIM im = XOpenIM(display, nullptr, nullptr, nullptr);
    XIC ic = im != nullptr ? XCreateIC(im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, window,
                                       XNFocusWindow, window, nullptr)
                           : nullptr;

    bool selfIconic = false;
    if (iconic && !managed) {
        // No window manager to minimise it: do what one would, stay unmapped
        // and say so in WM_STATE.
        SetWmState(display, window, wmState, IconicState);
        selfIconic = true;
    } else {
        XMapWindow(display, window);
    }
    XFlush(display);

    const bool debug = std::getenv("STALLMARK_RECEIVER_DEBUG") != nullptr;
    bool mapped = false;
    bool ready = false;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (debug)
            std::fprintf(stderr, "receiver %s: event %d state %ld\n", title.c_str(), event.type,
                         WmState(display, window, wmState));
        if (XFilterEvent(&event, None)) continue;
        switch (event.type) {
            case KeyPress: {
                char buffer[64];
                KeySym keysym = NoSymbol;
                std::string bytes;
                if (ic != nullptr) {
                    Status status = 0;
                    const int n = Xutf8LookupString(ic, &event.xkey, buffer, sizeof buffer, &keysym, &status);
                    if (status == XLookupChars || status == XLookupBoth) bytes = Utf8ToBytes(buffer, n);
                } else {
                    const int n = XLookupString(&event.xkey, buffer, sizeof buffer, &keysym, nullptr);
                    bytes.assign(buffer, static_cast<std::size_t>(n));
                }
                if (!bytes.empty()) {
                    std::fwrite(bytes.data(), 1, bytes.size(), log);
                    std::fflush(log);
                }
                break;
            }
            case MappingNotify: XRefreshKeyboardMapping(&event.xmapping); break;
            case MapNotify:
                mapped = true;
                if (selfIconic) {
                    SetWmState(display, window, wmState, NormalState);
                    selfIconic = false;
                }
                break;
            case UnmapNotify: mapped = false; break;
            default: break;
        }
        if (!ready) {
            const long state = WmState(display, window, wmState);
            const bool up = iconic ? state == IconicState : mapped && (!managed || state == NormalState);
            if (up) {
                ready = true;
                const std::string temporary = readyPath + ".part";
                if (FILE* f = std::fopen(temporary.c_str(), "w")) {
                    std::fprintf(f, "%lu\n", static_cast<unsigned long>(window));
                    std::fclose(f);
                    std::rename(temporary.c_str(), readyPath.c_str());
                }
            }
        }
    }
}
