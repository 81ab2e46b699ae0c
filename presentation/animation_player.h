#pragma once
// Plays a GIF animation from the resources in a loop, taking the size of the
// animation, and reports every frame it shows.
#include <QBuffer>
#include <QMovie>
#include <QWidget>
#include <memory>

namespace vk {

class AnimationPlayer : public QWidget {
    Q_OBJECT
public:
    explicit AnimationPlayer(QWidget* parent = nullptr);

    // Loads the named "GIF" resource and starts it; false when the resource
    // is missing or cannot be decoded (the player then shows nothing).
    bool LoadGif(const QString& name);
    void Clear();
    bool HasAnimation() const { return movie_ != nullptr; }
    int FrameCount() const;

    // Whether the animation starts over after its last frame, whatever loop
    // count the GIF itself carries; on unless switched off.
    bool Loop() const { return loop_; }
    void SetLoop(bool loop) { loop_ = loop; }

signals:
    void frameChanged(int frameIndex);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QMovie> movie_;
    QByteArray data_;
    bool loop_ = true;
};

} // namespace vk
