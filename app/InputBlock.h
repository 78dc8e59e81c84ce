#pragma once
// While an export run holds the thread, the operator's clicks and keys on the main window are dropped.
// Without it the system keeps them and hands them over once the run is done: a second "&Exportar", a
// close, or ticks that the run never saw.
#include <QObject>

class QWidget;

namespace lrf {

class InputBlock : public QObject {
public:
    explicit InputBlock(QWidget& window);
    // Input that arrived meanwhile and still waits is dropped before the window takes input again.
    ~InputBlock() override;
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
};

} // namespace lrf
