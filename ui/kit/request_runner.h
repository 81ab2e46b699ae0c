#pragma once
// Every club request of the program runs here, off the window thread: the
// window that asked keeps painting and animating, and hears the answer as a
// call on its own thread once it is there.  A window that is gone by then
// hears nothing, and its transfer is given up as soon as it goes.
//
//   RunRequest(this, [addr] { return HttpGet(addr); },
//              [this](std::optional<std::string> page) { ... });
//
// A flow is written as steps: each answer starts the next request or ends
// the flow.  Nothing here waits in place.
#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace vk {

// One request on its way.  Dropping the handle does not give it up.
class RequestHandle {
public:
    RequestHandle() = default;
    explicit RequestHandle(std::shared_ptr<std::atomic<bool>> abandoned, std::shared_ptr<std::atomic<bool>> done)
        : abandoned_(std::move(abandoned)), done_(std::move(done))
    {
    }
    // Whether the answer is still to come (and has not been given up).
    bool Running() const { return done_ && !done_->load() && !abandoned_->load(); }
    // The answer will not be delivered; the transfer stops at its next poll.
    void Abandon() const
    {
        if (abandoned_)
            abandoned_->store(true);
    }

private:
    std::shared_ptr<std::atomic<bool>> abandoned_;
    std::shared_ptr<std::atomic<bool>> done_;
};

namespace detail {
// Queues Work on the worker threads; Deliver then runs on the window
// thread unless the request was given up.
void StartRequest(QObject* owner, std::shared_ptr<std::atomic<bool>> abandoned, std::function<void()> work,
                  std::function<void()> deliver, std::shared_ptr<std::atomic<bool>> done);
} // namespace detail

// Runs work() on a worker thread and then done(result) on the thread of
// `owner`, only while `owner` lives and the request has not been given up.
template <typename Work, typename Done>
RequestHandle RunRequest(QObject* owner, Work work, Done done)
{
    using Result = std::decay_t<std::invoke_result_t<Work&>>;
    auto abandoned = std::make_shared<std::atomic<bool>>(false);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    auto result = std::make_shared<std::optional<Result>>();
    detail::StartRequest(
        owner, abandoned, [work = std::move(work), result]() mutable { result->emplace(work()); },
        [done = std::move(done), result]() mutable { done(std::move(**result)); }, finished);
    return RequestHandle(abandoned, finished);
}

// Gives up every request that `owner` asked for (a window closing).
void AbandonRequests(const QObject* owner);

// The worker threads' part at the end of the program: every request still
// running is given up, and the threads are waited for (each stops within
// a fraction of a second once given up).
void StopAllRequests();

// Tests: requests queued or running.
int RequestsInFlight();

} // namespace vk
