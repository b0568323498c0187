#include "game/X11GameWindows.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iterator>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "game/Keysym1252.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace stallmark {

namespace {

using SteadyClock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// Characters typed in one go while a send runs; the rest wait for the next
// pause or the end of the send.
constexpr std::size_t kChunk = 64;
// How long the window manager gets to hand the focus to the game window.
constexpr int kFocusWaitMs = 1000;
// What the game gets, after its last key, before the focus moves on ...
constexpr int kSettleMs = 50;
// ... or before keyboard map entries that its queued keys may still need go away.
constexpr int kSettleKeymapMs = 100;
// The pace at which a game is assumed to take keys from its queue.
constexpr double kPerKeyMs = 0.1;

constexpr long kIconicState = 3;

// X errors on the backend's own connection (a window that went away between
// two calls, focus on an unmapped window) are expected and dropped; errors on
// any other connection of the process go to the handler that was there before.
std::mutex g_errorMutex;
std::vector<Display*> g_ownDisplays;
XErrorHandler g_previousHandler = nullptr;

int DropOwnErrors(Display* display, XErrorEvent* event) {
    XErrorHandler previous = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_errorMutex);
        if (std::find(g_ownDisplays.begin(), g_ownDisplays.end(), display) != g_ownDisplays.end()) return 0;
        previous = g_previousHandler;
    }
    return previous != nullptr ? previous(display, event) : 0;
}

void RegisterDisplay(Display* display) {
    std::lock_guard<std::mutex> lock(g_errorMutex);
    if (g_ownDisplays.empty()) g_previousHandler = XSetErrorHandler(DropOwnErrors);
    g_ownDisplays.push_back(display);
}

void UnregisterDisplay(Display* display) {
    std::lock_guard<std::mutex> lock(g_errorMutex);
    g_ownDisplays.erase(std::remove(g_ownDisplays.begin(), g_ownDisplays.end(), display), g_ownDisplays.end());
    if (g_ownDisplays.empty()) {
        XErrorHandler current = XSetErrorHandler(g_previousHandler);
        if (current != DropOwnErrors) XSetErrorHandler(current);  // someone installed theirs since: keep it
        g_previousHandler = nullptr;
    }
}

bool SameIgnoringAsciiCase(const char* a, const std::string& b) {
    if (a == nullptr || std::strlen(a) != b.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

struct Stroke {
    KeyCode keycode;
    bool shift;
};

// The core keyboard map as the server holds it, for finding a key that types a
// keysym and a spare key to lend one to.
class KeyboardMap {
public:
    explicit KeyboardMap(Display* display) {
        XDisplayKeycodes(display, &min_, &max_);
        KeySym* syms = XGetKeyboardMapping(display, static_cast<KeyCode>(min_), max_ - min_ + 1, &per_);
        if (syms != nullptr) {
            syms_.assign(syms, syms + static_cast<std::size_t>((max_ - min_ + 1) * per_));
            XFree(syms);
        } else {
            per_ = 0;
        }
        if (XModifierKeymap* mods = XGetModifierMapping(display)) {
            for (int i = 0; i < 8 * mods->max_keypermod; ++i) {
                const KeyCode kc = mods->modifiermap[i];
                if (kc == 0) continue;
                modifiers_.push_back(kc);
                if (i / mods->max_keypermod == ShiftMapIndex && shift_ == 0) shift_ = kc;
            }
            XFreeModifiermap(mods);
        }
    }

    int PerKeycode() const { return per_; }

    KeySym Sym(int keycode, int column) const {
        if (column >= per_ || keycode < min_ || keycode > max_) return NoSymbol;
        return syms_[static_cast<std::size_t>((keycode - min_) * per_ + column)];
    }

    // The lowest key that types the keysym, with Shift when it sits on the
    // shifted level (and there is a Shift key).
    bool Find(KeySym keysym, Stroke& stroke) const {
        if (keysym == NoSymbol) return false;
        for (int kc = min_; kc <= max_; ++kc) {
            KeySym unshifted = Sym(kc, 0);
            KeySym shifted = Sym(kc, 1);
            if (shifted == NoSymbol) {
                // One keysym on the key: a letter types its lower case plainly
                // and its upper case with Shift; anything else types itself.
                KeySym lower = NoSymbol;
                KeySym upper = NoSymbol;
                XConvertCase(unshifted, &lower, &upper);
                unshifted = lower;
                shifted = upper;
            }
            if (unshifted == keysym) {
                stroke = {static_cast<KeyCode>(kc), false};
                return true;
            }
            if (shifted == keysym && shift_ != 0) {
                stroke = {static_cast<KeyCode>(kc), true};
                return true;
            }
        }
        return false;
    }

    // A key with no keysym at all that is no modifier, from the top; 0 when none.
    KeyCode TakeSpare() {
        for (int kc = max_; kc >= min_; --kc) {
            bool empty = true;
            for (int c = 0; c < per_ && empty; ++c) empty = Sym(kc, c) == NoSymbol;
            if (!empty) continue;
            if (std::find(modifiers_.begin(), modifiers_.end(), kc) != modifiers_.end()) continue;
            Assign(static_cast<KeyCode>(kc), 0xffffff);  // taken (a placeholder until Assign)
            return static_cast<KeyCode>(kc);
        }
        return 0;
    }

    void Set(KeyCode keycode, const std::vector<KeySym>& syms) {
        const std::size_t base = static_cast<std::size_t>((keycode - min_) * per_);
        for (int c = 0; c < per_; ++c) {
            syms_[base + static_cast<std::size_t>(c)] = static_cast<std::size_t>(c) < syms.size() ? syms[c] : NoSymbol;
        }
    }

    // Sends these keys to the server as this map holds them: one change per run
    // of consecutive keys (each change is a MappingNotify for every client).
    // Keys in between are never rewritten: through the core protocol that
    // would not give the server's keyboard description back unchanged.
    void WriteKeys(Display* display, std::vector<KeyCode> keys) {
        if (per_ == 0 || keys.empty()) return;
        std::sort(keys.begin(), keys.end());
        std::size_t start = 0;
        for (std::size_t i = 1; i <= keys.size(); ++i) {
            if (i < keys.size() && keys[i] == keys[i - 1] + 1) continue;
            const KeyCode low = keys[start];
            XChangeKeyboardMapping(display, low, per_, &syms_[static_cast<std::size_t>((low - min_) * per_)],
                                   static_cast<int>(i - start));
            start = i;
        }
    }

    void Assign(KeyCode keycode, KeySym keysym) {
        if (per_ == 0) return;
        const std::size_t base = static_cast<std::size_t>((keycode - min_) * per_);
        for (int c = 0; c < per_; ++c) syms_[base + static_cast<std::size_t>(c)] = c < 2 ? keysym : NoSymbol;
    }

    KeyCode ShiftKey() const { return shift_; }

private:
    int min_ = 0;
    int max_ = -1;
    int per_ = 0;
    std::vector<KeySym> syms_;
    std::vector<KeyCode> modifiers_;
    KeyCode shift_ = 0;
};

}  // namespace

struct X11GameWindows::Impl {
    Display* display = nullptr;
    Window root = 0;
    bool xtest = false;

    Atom wmState = 0;
    Atom netWmName = 0;
    Atom utf8String = 0;
    Atom compoundText = 0;
    Atom netWmWindowType = 0;
    Atom netWmState = 0;
    Atom netWmStateHidden = 0;
    Atom netActiveWindow = 0;
    Atom netSupported = 0;
    Atom netSupportingWmCheck = 0;
    std::vector<Atom> toolTypes;
    std::vector<Atom> plainTypes;

    Window program = 0;

    // A send in progress.
    struct Pending {
        Window window;
        std::uint8_t code;
    };
    std::vector<Pending> pending;
    Window foregroundTarget = 0;  // the window the sender made the foreground window
    SteadyClock::time_point foregroundAt{};
    SteadyClock::time_point clientDone{};  // when the game should have taken every key typed
    bool typedThisSend = false;
    std::map<KeyCode, std::vector<KeySym>> lentKeys;  // keycode -> its own keysyms, while lent
    bool focusBorrowed = false;
    Window focusBefore = 0;
    int revertBefore = RevertToParent;

    ~Impl() {
        if (display != nullptr) {
            UnregisterDisplay(display);
            XCloseDisplay(display);
        }
    }

    // Items of a format-32 property (atoms, windows, cardinals).
    std::vector<unsigned long> Property32(Window window, Atom property, Atom type) const {
        std::vector<unsigned long> items;
        Atom actualType = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, window, property, 0, 1024, False, type, &actualType, &format, &count, &after,
                               &data) == Success &&
            data != nullptr) {
            if (format == 32) {
                const unsigned long* values = reinterpret_cast<const unsigned long*>(data);
                items.assign(values, values + count);
            }
        }
        if (data != nullptr) XFree(data);
        return items;
    }

    // The bytes of a format-8 property and its type (0 when it is not there).
    std::string PropertyBytes(Window window, Atom property, Atom& type) const {
        std::string bytes;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        type = 0;
        if (XGetWindowProperty(display, window, property, 0, 4096, False, AnyPropertyType, &type, &format, &count,
                               &after, &data) == Success &&
            data != nullptr && format == 8) {
            bytes.assign(reinterpret_cast<const char*>(data), count);
        }
        if (data != nullptr) XFree(data);
        return bytes;
    }

    bool HasProperty(Window window, Atom property) const {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        const bool ok = XGetWindowProperty(display, window, property, 0, 0, False, AnyPropertyType, &type, &format,
                                           &count, &after, &data) == Success;
        if (data != nullptr) XFree(data);
        return ok && type != 0;
    }

    std::vector<Window> Children(Window window) const {
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        std::vector<Window> out;
        if (XQueryTree(display, window, &rootReturn, &parent, &children, &count) != 0 && children != nullptr) {
            out.assign(children, children + count);  // bottom to top
        }
        if (children != nullptr) XFree(children);
        return out;
    }

    Window Parent(Window window) const {
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, window, &rootReturn, &parent, &children, &count) == 0) parent = 0;
        if (children != nullptr) XFree(children);
        return parent;
    }

    // The client window a top-level window stands for: itself when a window
    // manager manages it (WM_STATE), the managed window inside it when it is a
    // frame, or, for a window no manager handles, itself when it names a class.
    Window ClientOf(Window topLevel) const {
        if (HasProperty(topLevel, wmState)) return topLevel;
        std::vector<Window> level{topLevel};
        for (int depth = 0; depth < 3 && !level.empty(); ++depth) {
            std::vector<Window> next;
            for (const Window w : level) {
                std::vector<Window> children = Children(w);
                for (auto it = children.rbegin(); it != children.rend(); ++it) {
                    if (HasProperty(*it, wmState)) return *it;
                    next.push_back(*it);
                }
            }
            level = std::move(next);
        }
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, topLevel, &attributes) == 0) return 0;
        if (attributes.override_redirect || attributes.c_class == InputOnly) return 0;
        return HasProperty(topLevel, XA_WM_CLASS) ? topLevel : 0;
    }

    std::vector<Window> Clients() const {
        std::vector<Window> clients;
        const std::vector<Window> tops = Children(root);
        for (auto it = tops.rbegin(); it != tops.rend(); ++it) {  // topmost first
            const Window client = ClientOf(*it);
            if (client != 0) clients.push_back(client);
        }
        return clients;
    }

    // Whether a running window manager (one that answers the supporting-WM
    // check) announces this hint.
    bool WmSupports(Atom hint) const {
        const std::vector<unsigned long> check = Property32(root, netSupportingWmCheck, XA_WINDOW);
        if (check.empty()) return false;
        const std::vector<unsigned long> self =
            Property32(static_cast<Window>(check[0]), netSupportingWmCheck, XA_WINDOW);
        if (self.empty() || self[0] != check[0]) return false;
        const std::vector<unsigned long> supported = Property32(root, netSupported, XA_ATOM);
        return std::find(supported.begin(), supported.end(), hint) != supported.end();
    }

    void Activate(Window window) const {
        XEvent event;
        std::memset(&event, 0, sizeof event);
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = netActiveWindow;
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2;  // on the user's behalf, like a pager
        event.xclient.data.l[1] = CurrentTime;
        event.xclient.data.l[2] = 0;
        XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XSync(display, False);
    }

    bool Viewable(Window window) const {
        XWindowAttributes attributes;
        return XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable;
    }

    void FocusDirectly(Window window) const {
        if (!Viewable(window)) return;
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XSync(display, False);
    }

    // The focus is on the window or on a window inside it.
    bool FocusIsOn(Window window) const {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        for (int depth = 0; depth < 16 && focus != None && focus != PointerRoot && focus != root; ++depth) {
            if (focus == window) return true;
            focus = Parent(focus);
        }
        return false;
    }

    // Gives the window the focus for typing: waits for the window manager when
    // the window was just made the foreground window, takes the focus directly
    // otherwise (remembering where it was, to give it back at the end).
    bool EnsureFocus(Window window) {
        if (FocusIsOn(window)) return true;
        if (window == foregroundTarget) {
            const auto deadline = foregroundAt + std::chrono::milliseconds(kFocusWaitMs);
            while (SteadyClock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                if (FocusIsOn(window)) return true;
            }
        } else if (!focusBorrowed) {
            XGetInputFocus(display, &focusBefore, &revertBefore);
            focusBorrowed = true;
        }
        FocusDirectly(window);
        return FocusIsOn(window);
    }

    void WaitForGame(int extraMs) const {
        std::this_thread::sleep_until(clientDone + std::chrono::milliseconds(extraMs));
    }

    // Gives every key lent keysyms (NoSymbol: none) in a single change of the
    // server's keyboard description, so that clients see one notification for
    // the batch (a window manager may take a noticeable time over each).
    // False when the keyboard extension cannot do it.
    bool WriteKeysAtOnce(const std::vector<std::pair<KeyCode, KeySym>>& keys) const {
        if (keys.empty()) return true;
        XkbDescPtr xkb = XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
        if (xkb == nullptr) return false;
        XkbMapChangesRec changes;
        std::memset(&changes, 0, sizeof changes);
        bool ok = true;
        for (const auto& [keycode, keysym] : keys) {
            if (keysym == NoSymbol) {
                ok = XkbChangeTypesOfKey(xkb, keycode, 0, XkbGroup1Mask, nullptr, &changes) == Success && ok;
                continue;
            }
            // Two levels with the same keysym: typed without Shift, and read as
            // that keysym by clients that look at the core map too.
            int types[XkbNumKbdGroups] = {XkbTwoLevelIndex, XkbTwoLevelIndex, XkbTwoLevelIndex, XkbTwoLevelIndex};
            if (XkbChangeTypesOfKey(xkb, keycode, 1, XkbGroup1Mask, types, &changes) != Success) {
                ok = false;
                continue;
            }
            KeySym* syms = XkbKeySymsPtr(xkb, keycode);
            syms[0] = keysym;
            syms[1] = keysym;
        }
        KeyCode low = keys.front().first;
        KeyCode high = low;
        for (const auto& [keycode, keysym] : keys) {
            (void)keysym;
            low = std::min(low, keycode);
            high = std::max(high, keycode);
        }
        changes.changed |= XkbKeySymsMask;
        changes.first_key_sym = low;
        changes.num_key_syms = static_cast<unsigned char>(high - low + 1);
        ok = ok && XkbChangeMap(display, xkb, &changes) == True;
        XkbFreeKeyboard(xkb, 0, True);
        return ok;
    }

    void GiveBackKeys() {
        if (lentKeys.empty()) return;
        std::vector<std::pair<KeyCode, KeySym>> keys;
        for (const auto& [keycode, syms] : lentKeys) {
            (void)syms;
            keys.emplace_back(keycode, NoSymbol);  // only keys without any keysym are lent
        }
        XGrabServer(display);
        if (!WriteKeysAtOnce(keys)) {
            KeyboardMap map(display);
            std::vector<KeyCode> codes;
            for (const auto& [keycode, syms] : lentKeys) {
                map.Set(keycode, syms);
                codes.push_back(keycode);
            }
            map.WriteKeys(display, codes);
        }
        XUngrabServer(display);
        lentKeys.clear();
        XSync(display, False);
    }

    void GiveBackFocus() {
        if (!focusBorrowed) return;
        focusBorrowed = false;
        if (focusBefore == None || focusBefore == PointerRoot || Viewable(focusBefore)) {
            XSetInputFocus(display, focusBefore, revertBefore, CurrentTime);
            XSync(display, False);
        }
    }

    // Types the codes into the window. Keysyms the keyboard lacks are lent
    // spare keys before any key of the batch is pressed, and a key once lent
    // keeps its keysym until the send ends, so queued keys always read the map
    // they were typed with. Keys go in under a server grab, with the focus
    // checked inside it, so nothing can take the focus between check and keys.
    void Type(Window window, const std::vector<std::uint8_t>& codes) {
        std::size_t done = 0;
        int attempts = 0;
        while (done < codes.size()) {
            if (!EnsureFocus(window)) return;  // gone or unmappable: its keys are lost, as posts would be
            XGrabServer(display);
            if (!FocusIsOn(window)) {
                XUngrabServer(display);
                XSync(display, False);
                if (++attempts > 3) return;
                continue;
            }
            KeyboardMap map(display);  // keys lent earlier in this send are in it and are used again
            std::vector<Stroke> strokes;
            std::vector<std::pair<KeyCode, KeySym>> lend;
            bool outOfKeys = false;
            for (std::size_t i = done; i < codes.size(); ++i) {
                const KeySym keysym = KeysymFor1252(codes[i]);
                Stroke stroke{0, false};
                if (!map.Find(keysym, stroke)) {
                    const KeyCode spare = map.PerKeycode() > 0 ? map.TakeSpare() : 0;
                    if (spare == 0) {
                        outOfKeys = true;
                        break;
                    }
                    map.Assign(spare, keysym);
                    lend.emplace_back(spare, keysym);
                    stroke = {spare, false};
                }
                strokes.push_back(stroke);
            }
            std::vector<KeyCode> lentNow;
            for (const auto& [keycode, keysym] : lend) {
                (void)keysym;
                lentKeys.emplace(keycode, std::vector<KeySym>(static_cast<std::size_t>(map.PerKeycode()), NoSymbol));
                lentNow.push_back(keycode);
            }
            if (!WriteKeysAtOnce(lend)) map.WriteKeys(display, lentNow);

            // Caps Lock and a second layout group would change what the keys type.
            XkbStateRec state;
            std::memset(&state, 0, sizeof state);
            const bool haveState = XkbGetState(display, XkbUseCoreKbd, &state) == Success;
            const bool capsLocked = haveState && (state.locked_mods & LockMask) != 0;
            const bool otherGroup = haveState && state.group != 0;
            if (capsLocked) XkbLockModifiers(display, XkbUseCoreKbd, LockMask, 0);
            if (otherGroup) XkbLockGroup(display, XkbUseCoreKbd, 0);

            const KeyCode shift = map.ShiftKey();
            for (const Stroke& s : strokes) {
                if (s.shift) XTestFakeKeyEvent(display, shift, True, CurrentTime);
                XTestFakeKeyEvent(display, s.keycode, True, CurrentTime);
                XTestFakeKeyEvent(display, s.keycode, False, CurrentTime);
                if (s.shift) XTestFakeKeyEvent(display, shift, False, CurrentTime);
            }

            if (capsLocked) XkbLockModifiers(display, XkbUseCoreKbd, LockMask, LockMask);
            if (otherGroup) XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned int>(state.locked_group));
            XUngrabServer(display);
            XSync(display, False);

            if (!strokes.empty()) {
                const auto now = SteadyClock::now();
                clientDone = std::max(clientDone, now) + std::chrono::duration_cast<SteadyClock::duration>(Milliseconds(
                                                             kPerKeyMs * static_cast<double>(strokes.size())));
                typedThisSend = true;
            }
            done += strokes.size();
            if (outOfKeys) {
                if (lentKeys.empty()) {
                    ++done;  // no key can type this character at all: it is skipped
                } else {
                    // Every spare key is lent: let the game take what it has, then
                    // lend the keys afresh for the rest.
                    WaitForGame(kSettleKeymapMs);
                    GiveBackKeys();
                }
            }
        }
    }

    void Flush() {
        while (!pending.empty()) {
            const Window window = pending.front().window;
            std::size_t n = 0;
            while (n < pending.size() && pending[n].window == window) ++n;
            std::vector<std::uint8_t> codes;
            codes.reserve(n);
            for (std::size_t i = 0; i < n; ++i) codes.push_back(pending[i].code);
            pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(n));
            Type(window, codes);
        }
    }
};

std::unique_ptr<X11GameWindows> X11GameWindows::Open(const std::string& displayName) {
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->display = display;
    RegisterDisplay(display);
    impl->root = DefaultRootWindow(display);
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    impl->xtest = XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) != 0;
    if (impl->xtest) XTestGrabControl(display, True);  // type even while another client grabs the server

    // Every atom in one request: a round trip each would hold up the program's start.
    const char* const kToolTypes[] = {"_NET_WM_WINDOW_TYPE_UTILITY", "_NET_WM_WINDOW_TYPE_TOOLBAR",
                                      "_NET_WM_WINDOW_TYPE_MENU", "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU",
                                      "_NET_WM_WINDOW_TYPE_POPUP_MENU", "_NET_WM_WINDOW_TYPE_TOOLTIP",
                                      "_NET_WM_WINDOW_TYPE_NOTIFICATION", "_NET_WM_WINDOW_TYPE_COMBO",
                                      "_NET_WM_WINDOW_TYPE_DND", "_NET_WM_WINDOW_TYPE_DOCK"};
    const char* const kPlainTypes[] = {"_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_WINDOW_TYPE_DIALOG",
                                       "_NET_WM_WINDOW_TYPE_SPLASH", "_NET_WM_WINDOW_TYPE_DESKTOP"};
    struct Named {
        const char* name;
        Atom* atom;
    };
    std::vector<Named> named = {{"WM_STATE", &impl->wmState},
                                {"_NET_WM_NAME", &impl->netWmName},
                                {"UTF8_STRING", &impl->utf8String},
                                {"COMPOUND_TEXT", &impl->compoundText},
                                {"_NET_WM_WINDOW_TYPE", &impl->netWmWindowType},
                                {"_NET_WM_STATE", &impl->netWmState},
                                {"_NET_WM_STATE_HIDDEN", &impl->netWmStateHidden},
                                {"_NET_ACTIVE_WINDOW", &impl->netActiveWindow},
                                {"_NET_SUPPORTED", &impl->netSupported},
                                {"_NET_SUPPORTING_WM_CHECK", &impl->netSupportingWmCheck}};
    impl->toolTypes.resize(std::size(kToolTypes));
    for (std::size_t i = 0; i < std::size(kToolTypes); ++i) named.push_back({kToolTypes[i], &impl->toolTypes[i]});
    impl->plainTypes.resize(std::size(kPlainTypes));
    for (std::size_t i = 0; i < std::size(kPlainTypes); ++i) named.push_back({kPlainTypes[i], &impl->plainTypes[i]});
    std::vector<char*> names;
    for (const Named& n : named) names.push_back(const_cast<char*>(n.name));
    std::vector<Atom> atoms(named.size(), None);
    XInternAtoms(display, names.data(), static_cast<int>(names.size()), False, atoms.data());
    for (std::size_t i = 0; i < named.size(); ++i) *named[i].atom = atoms[i];
    return std::unique_ptr<X11GameWindows>(new X11GameWindows(std::move(impl)));
}

X11GameWindows::X11GameWindows(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

X11GameWindows::~X11GameWindows() { FinishSend(); }

bool X11GameWindows::CanType() const { return impl_->xtest; }

WindowHandle X11GameWindows::FindByClass(const std::string& windowClass) {
    for (const Window client : impl_->Clients()) {
        XClassHint hint{nullptr, nullptr};
        if (XGetClassHint(impl_->display, client, &hint) == 0) continue;
        const bool match =
            SameIgnoringAsciiCase(hint.res_class, windowClass) || SameIgnoringAsciiCase(hint.res_name, windowClass);
        if (hint.res_name != nullptr) XFree(hint.res_name);
        if (hint.res_class != nullptr) XFree(hint.res_class);
        if (match) return client;
    }
    return 0;
}

std::vector<WindowHandle> X11GameWindows::TopLevelWindows() {
    std::vector<WindowHandle> out;
    for (const Window client : impl_->Clients()) out.push_back(client);
    return out;
}

std::string X11GameWindows::Title(WindowHandle window) {
    const Window w = static_cast<Window>(window);
    Atom type = 0;
    std::string title;
    std::string bytes = impl_->PropertyBytes(w, impl_->netWmName, type);
    if (type == impl_->utf8String && !bytes.empty()) {
        title = Utf8To1252(bytes);
    } else {
        bytes = impl_->PropertyBytes(w, XA_WM_NAME, type);
        if (type == impl_->utf8String) {
            title = Utf8To1252(bytes);
        } else if (type == impl_->compoundText && bytes.find('\x1b') != std::string::npos) {
            XTextProperty property;
            property.value = reinterpret_cast<unsigned char*>(bytes.data());
            property.encoding = type;
            property.format = 8;
            property.nitems = bytes.size();
            char** list = nullptr;
            int count = 0;
            if (Xutf8TextPropertyToTextList(impl_->display, &property, &list, &count) == Success && list != nullptr) {
                for (int i = 0; i < count; ++i) title += Utf8To1252(list[i]);
            }
            if (list != nullptr) XFreeStringList(list);
        } else {
            title = bytes;  // STRING (Latin-1) or plain compound text
        }
    }
    const std::size_t end = title.find('\0');
    if (end != std::string::npos) title.resize(end);
    if (title.size() > 260) title.resize(260);
    return title;
}

bool X11GameWindows::IsVisible(WindowHandle window) { return impl_->Viewable(static_cast<Window>(window)); }

bool X11GameWindows::HasOwner(WindowHandle window) {
    Window owner = 0;
    return XGetTransientForHint(impl_->display, static_cast<Window>(window), &owner) != 0 && owner != 0;
}

bool X11GameWindows::HasParent(WindowHandle /*window*/) {
    return false;  // clients are top-level windows; their parent is the manager's frame or the root
}

bool X11GameWindows::IsToolWindow(WindowHandle window) {
    // The first type in the list that is known decides.
    for (const unsigned long type : impl_->Property32(static_cast<Window>(window), impl_->netWmWindowType, XA_ATOM)) {
        const Atom atom = static_cast<Atom>(type);
        if (std::find(impl_->toolTypes.begin(), impl_->toolTypes.end(), atom) != impl_->toolTypes.end()) return true;
        if (std::find(impl_->plainTypes.begin(), impl_->plainTypes.end(), atom) != impl_->plainTypes.end()) {
            return false;
        }
    }
    return false;
}

bool X11GameWindows::IsMinimised(WindowHandle window) {
    const Window w = static_cast<Window>(window);
    const std::vector<unsigned long> state = impl_->Property32(w, impl_->wmState, impl_->wmState);
    if (!state.empty() && static_cast<long>(state[0]) == kIconicState) return true;
    const std::vector<unsigned long> netState = impl_->Property32(w, impl_->netWmState, XA_ATOM);
    return std::find(netState.begin(), netState.end(), impl_->netWmStateHidden) != netState.end();
}

void X11GameWindows::Restore(WindowHandle window) {
    const Window w = static_cast<Window>(window);
    if (impl_->WmSupports(impl_->netActiveWindow)) {
        impl_->Activate(w);
        return;
    }
    XMapRaised(impl_->display, w);
    XSync(impl_->display, False);
    impl_->FocusDirectly(w);
}

void X11GameWindows::BringToTop(WindowHandle window) {
    const Window w = static_cast<Window>(window);
    if (impl_->WmSupports(impl_->netActiveWindow)) {
        impl_->Activate(w);
        return;
    }
    XRaiseWindow(impl_->display, w);
    XSync(impl_->display, False);
    impl_->FocusDirectly(w);
}

void X11GameWindows::SetForeground(WindowHandle window) {
    const Window w = static_cast<Window>(window);
    impl_->Flush();  // keys posted before belong to the window that had the focus then
    impl_->foregroundTarget = w;
    impl_->foregroundAt = SteadyClock::now();
    impl_->focusBorrowed = false;  // the sender moves the focus on purpose now: nothing to give back
    if (impl_->WmSupports(impl_->netActiveWindow)) {
        impl_->Activate(w);
        return;
    }
    // Without a manager to ask, a minimised window has to be mapped again
    // before it can take the focus (and the keys).
    if (IsMinimised(window) && !impl_->Viewable(w)) {
        XMapRaised(impl_->display, w);
    } else {
        XRaiseWindow(impl_->display, w);
    }
    XSync(impl_->display, False);
    impl_->FocusDirectly(w);
}

void X11GameWindows::PostChar(WindowHandle window, std::uint8_t code) {
    if (!impl_->xtest) return;
    const Window w = static_cast<Window>(window);
    if (!impl_->pending.empty() && impl_->pending.back().window != w) impl_->Flush();
    impl_->pending.push_back({w, code});
    if (impl_->pending.size() >= kChunk) impl_->Flush();
}

void X11GameWindows::Flush() { impl_->Flush(); }

int X11GameWindows::SettleMs() {
    if (!impl_->typedThisSend && impl_->lentKeys.empty()) return 0;
    const auto until =
        impl_->clientDone + std::chrono::milliseconds(impl_->lentKeys.empty() ? kSettleMs : kSettleKeymapMs);
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - SteadyClock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

void X11GameWindows::FinishSend() {
    impl_->Flush();
    if (impl_->typedThisSend || !impl_->lentKeys.empty()) {
        impl_->WaitForGame(impl_->lentKeys.empty() ? kSettleMs : kSettleKeymapMs);
    }
    if (!impl_->lentKeys.empty()) impl_->GiveBackKeys();
    impl_->GiveBackFocus();
    impl_->typedThisSend = false;
}

void X11GameWindows::BringProgramForward() {
    impl_->Flush();
    impl_->foregroundTarget = 0;
    const Window program = impl_->program;
    if (program == 0) return;
    if (impl_->WmSupports(impl_->netActiveWindow)) {
        impl_->Activate(program);
    } else {
        XRaiseWindow(impl_->display, program);
        XSync(impl_->display, False);
        impl_->FocusDirectly(program);
    }
}

void X11GameWindows::SetProgramWindow(WindowHandle window) { impl_->program = static_cast<Window>(window); }

}  // namespace stallmark
