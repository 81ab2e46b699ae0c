#pragma once
// A window waiting for the club: the busy cursor, and no clicks or keys
// that would start another step of the same flow until the answer is there.
// Painting, the timers that animate, Escape and the close box go on, so the
// player can still give the wait up by closing the window.
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace vk {

class WindowBusy : public QObject {
    Q_OBJECT
public:
    explicit WindowBusy(QWidget* window);
    ~WindowBusy() override;

    // Nested calls count: the window is free again at the last End.
    void Begin();
    void End();
    bool IsBusy() const { return depth_ > 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    int depth_ = 0;
};

} // namespace vk
