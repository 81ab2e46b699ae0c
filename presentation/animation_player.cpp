#include "presentation/animation_player.h"

#include <QPainter>

#include "presentation/resource_store.h"

namespace vk {

AnimationPlayer::AnimationPlayer(QWidget* parent) : QWidget(parent) {}

bool AnimationPlayer::LoadGif(const QString& name)
{
    Clear();
    const auto bytes = ResourceBytes(ResourceKind::Gif, name);
    if (!bytes)
        return false;
    data_ = *bytes;
    buffer_ = std::make_unique<QBuffer>(&data_);
    buffer_->open(QIODevice::ReadOnly);
    movie_ = std::make_unique<QMovie>(buffer_.get(), QByteArray("gif"));
    if (!movie_->isValid()) {
        Clear();
        return false;
    }
    movie_->setCacheMode(QMovie::CacheAll);
    connect(movie_.get(), &QMovie::frameChanged, this, [this](int frame) {
        update();
        emit frameChanged(frame);
    });
    // A GIF without a loop count plays once in QMovie, one with a count
    // plays that often; the player loops regardless.
    connect(
        movie_.get(), &QMovie::finished, this,
        [this] {
            if (loop_ && movie_)
                movie_->start();
        },
        Qt::QueuedConnection);
    movie_->jumpToFrame(0);
    resize(movie_->currentImage().size());
    movie_->start();
    return true;
}

void AnimationPlayer::Clear()
{
    if (movie_) {
        movie_->stop();
        movie_->disconnect(this);
    }
    movie_.reset();
    buffer_.reset();
    data_.clear();
    update();
}

int AnimationPlayer::FrameCount() const
{
    return movie_ ? movie_->frameCount() : 0;
}

void AnimationPlayer::paintEvent(QPaintEvent*)
{
    if (!movie_)
        return;
    QPainter p(this);
    p.drawImage(0, 0, movie_->currentImage());
}

} // namespace vk
