#pragma once
// Plays a GIF animation from the resources in a loop, taking the size of the
// animation, and reports every frame it shows.
#include <QPointer>
#include <QWidget>

class QMovie;

namespace vk {

class AnimationPlayer : public QWidget {
    Q_OBJECT
public:
    explicit AnimationPlayer(QWidget* parent = nullptr);
    ~AnimationPlayer() override;

    // Loads the named "GIF" resource and starts it; false when the resource
    // is missing or cannot be decoded (the player then shows nothing).
    bool LoadGif(const QString& name);
    // Stops the animation where it is; it stays loaded.
    void Stop();
    // Drops the animation.  Safe from any signal, the player's own
    // frameChanged included: the movie is released once control is back in
    // the event loop, never under its own feet.
    void Clear();
    bool HasAnimation() const;
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
    // The movie owns the buffer it reads from, so both go together.
    QPointer<QMovie> movie_;
    bool loop_ = true;
};

} // namespace vk
