#include "ui/kit/animation_player.h"

#include <QBuffer>
#include <QMovie>
#include <QPainter>

#include "ui/kit/resource_store.h"

namespace vk {

AnimationPlayer::AnimationPlayer(QWidget* parent) : QWidget(parent) {}

AnimationPlayer::~AnimationPlayer()
{
    // Destroyed with the window: no signal of the movie is running then.
    delete movie_.data();
}

bool AnimationPlayer::LoadGif(const QString& name)
{
    Clear();
    const auto bytes = ResourceBytes(ResourceKind::Gif, name);
    if (!bytes)
        return false;
    auto* movie = new QMovie;
    auto* buffer = new QBuffer(movie);
    buffer->setData(*bytes);
    buffer->open(QIODevice::ReadOnly);
    movie->setDevice(buffer);
    movie->setFormat(QByteArray("gif"));
    if (!movie->isValid()) {
        delete movie;
        return false;
    }
    movie_ = movie;
    // Frames are decoded as they come: caching them all would hold tens of
    // megabytes for the intro's and the menu's animations.
    movie->setCacheMode(QMovie::CacheNone);
    connect(movie, &QMovie::frameChanged, this, [this](int frame) {
        update();
        emit frameChanged(frame);
    });
    // A GIF without a loop count plays once in QMovie, one with a count
    // plays that often; the player loops regardless.
    connect(
        movie, &QMovie::finished, this,
        [this, movie] {
            if (loop_ && movie_ == movie)
                movie->start();
        },
        Qt::QueuedConnection);
    movie->jumpToFrame(0);
    resize(movie->currentImage().size());
    movie->start();
    return true;
}

void AnimationPlayer::Stop()
{
    if (movie_)
        movie_->stop();
}

void AnimationPlayer::Clear()
{
    if (QMovie* movie = movie_.data()) {
        movie_ = nullptr;
        movie->stop();
        movie->disconnect(this);
        movie->deleteLater();
    }
    update();
}

bool AnimationPlayer::HasAnimation() const { return !movie_.isNull(); }

int AnimationPlayer::FrameCount() const { return movie_ ? movie_->frameCount() : 0; }

void AnimationPlayer::paintEvent(QPaintEvent*)
{
    if (!movie_)
        return;
    QPainter p(this);
    p.drawImage(0, 0, movie_->currentImage());
}

} // namespace vk
