#pragma once
// The status bar's busy animation, 16 pixels wide: frames 1 to 21 repeat
// while a stock synchronises; it rests on frame 1 (done) or 0 (failed).
#include <QTimer>
#include <QWidget>

class BusyAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrames = 21;

    explicit BusyAnimation(QWidget* parent = nullptr);

    void Start();
    void Stop(int frame);
    bool IsRunning() const { return timer_.isActive(); }
    int Frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer timer_;
    int frame_ = 1;
};
