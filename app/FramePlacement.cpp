#include "app/FramePlacement.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace lrf {

namespace {

// How long after showing a frame may still arrive; later moves are the operator's.
constexpr int kFrameWaitMs = 2000;

QMargins FrameOf(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

void Place(QWidget& window, const std::optional<QSize>& outerSize, const QMargins& frame) {
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    if (outerSize)
        window.resize(*outerSize - frameSize);
    const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect outer(QPoint(), window.size() + frameSize);
    outer.moveCenter(screen->availableGeometry().center());
    window.move(outer.topLeft()); // a top-level window's position is its frame's
}

class FrameWatch : public QObject {
public:
    FrameWatch(QWidget& window, std::optional<QSize> outerSize)
        : QObject(&window), window_(window), outerSize_(outerSize) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
            shown_.start();
            for (int ms : {0, 100, 500})
                QTimer::singleShot(ms, this, [this] { Check(); });
            break;
        case QEvent::Move:
        case QEvent::Resize:
            if (shown_.isValid())
                Check();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Check() {
        if (!shown_.isValid() || shown_.elapsed() > kFrameWaitMs)
            return;
        const QMargins frame = FrameOf(window_);
        if (frame == placedWith_)
            return;
        placedWith_ = frame;
        Place(window_, outerSize_, frame);
    }

    QWidget& window_;
    std::optional<QSize> outerSize_;
    QMargins placedWith_;
    QElapsedTimer shown_;
};

} // namespace

void PlaceByFrame(QWidget& window, std::optional<QSize> outerSize) {
    Place(window, outerSize, QMargins());
    new FrameWatch(window, outerSize);
}

} // namespace lrf
