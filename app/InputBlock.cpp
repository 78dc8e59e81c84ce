#include "app/InputBlock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace lrf {

namespace {

bool IsOperatorInput(const QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::Close:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

InputBlock::InputBlock(QWidget& window) : window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputBlock::~InputBlock() {
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(this);
}

bool InputBlock::eventFilter(QObject* watched, QEvent* event) {
    // Only what comes from the system: the program's own changes to its controls go on, and so does
    // any message box the run opens, which is a window of its own.
    if (!event->spontaneous() || !IsOperatorInput(*event))
        return false;
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget == nullptr || widget->window() != &window_)
        return false;
    event->ignore();
    return true;
}

} // namespace lrf
