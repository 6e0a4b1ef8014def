#include "app/platform/hot_key.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#ifdef KORVEL_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace {

#ifdef KORVEL_HAVE_XCB
constexpr uint16_t kModifiers = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;  // Ctrl+Alt
// Num Lock (Mod2) and Caps Lock must not stop the key: grab every mix.
constexpr uint16_t kIgnoredLocks[] = {0, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2 | XCB_MOD_MASK_LOCK};
constexpr uint32_t kKeysymH = 0x68;  // XK_h

xcb_connection_t* X11Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

// The key code that types "h" without modifiers; 0 when there is none.
uint8_t KeycodeOfH(xcb_connection_t* c) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const uint8_t first = setup->min_keycode;
    const int count = setup->max_keycode - first + 1;
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> mapping(
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, first, static_cast<uint8_t>(count)), nullptr),
        &std::free);
    if (!mapping) return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perCode = mapping->keysyms_per_keycode;
    for (int i = 0; i < count; ++i)
        if (perCode > 0 && syms[i * perCode] == kKeysymH) return static_cast<uint8_t>(first + i);
    return 0;
}
#endif

}  // namespace

GlobalHotKey::GlobalHotKey(QWidget* window) : QObject(window) {
    if (GrabOnX11()) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        return;
    }
    auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+H")), window);
    shortcut->setContext(Qt::ApplicationShortcut);
    connect(shortcut, &QShortcut::activated, this, &GlobalHotKey::activated);
}

GlobalHotKey::~GlobalHotKey() { Ungrab(); }

bool GlobalHotKey::GrabOnX11() {
#ifdef KORVEL_HAVE_XCB
    xcb_connection_t* c = X11Connection();
    if (c == nullptr) return false;
    const uint8_t keycode = KeycodeOfH(c);
    if (keycode == 0) return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    for (const uint16_t locks : kIgnoredLocks) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(c, 1, root, kModifiers | locks, keycode,
                                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            std::free(error);  // another program holds the key
            if (locks == 0) return false;
        }
    }
    keycode_ = keycode;
    root_ = root;
    return true;
#else
    return false;
#endif
}

void GlobalHotKey::Ungrab() {
#ifdef KORVEL_HAVE_XCB
    if (keycode_ == 0) return;
    if (xcb_connection_t* c = X11Connection()) {
        for (const uint16_t locks : kIgnoredLocks) xcb_ungrab_key(c, keycode_, root_, kModifiers | locks);
        xcb_flush(c);
    }
    keycode_ = 0;
#endif
}

bool GlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
#ifdef KORVEL_HAVE_XCB
    if (keycode_ == 0 || eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS) return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if (key->detail != keycode_ || (key->state & kModifiers) != kModifiers) return false;
    emit activated();
    return true;
#else
    (void)eventType;
    (void)message;
    return false;
#endif
}
