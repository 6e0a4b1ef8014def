#pragma once
// The program's hot key Ctrl+Alt+H. On X11 it is grabbed on the root window,
// so it works while another program has the focus. Elsewhere (Wayland, the
// offscreen platform, a grab refused) it is a shortcut of the program's own
// windows instead, without an error.
#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

class QWidget;

class GlobalHotKey : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // `window` carries the shortcut when no global grab is available.
    explicit GlobalHotKey(QWidget* window);
    ~GlobalHotKey() override;

    // True when the key is grabbed for the whole display.
    bool IsGlobal() const { return keycode_ != 0; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void activated();

private:
    bool GrabOnX11();
    void Ungrab();

    uint8_t keycode_ = 0;  // the grabbed key; 0 when not grabbed
    uint32_t root_ = 0;
};
