#pragma once
// A picture control: a widget with a canvas of its own.  What is drawn on the
// canvas stays until it is drawn over; repaint() shows it at once.  One
// given the focus (an icon) shows a focus ring while it has it.
#include <QImage>
#include <QWidget>

namespace vk {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The canvas follows the widget's size; growing keeps what was drawn.
    QImage& Canvas() { return canvas_; }
    void ResizeCanvas(int width, int height);
    // Lets the canvas go, for a control whose work is done; the next
    // ResizeCanvas (or resize) makes it again.
    void ReleaseCanvas() { canvas_ = QImage(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A picture that takes the focus is clicked by Return, Enter or Space.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage canvas_;
};

} // namespace vk
