#include "ui/kit/request_runner.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

#include <mutex>
#include <map>

#include "net/http_client.h"

namespace vk {
namespace {

// Lives on the window thread for the whole program: the worker threads
// hand their answers to it, and it passes them on to the windows still
// there.
class Dispatcher : public QObject {
public:
    Dispatcher()
    {
        pool_.setMaxThreadCount(6);
        // An idle worker stays a while, so that a flow of several requests
        // does not start a thread for each.
        pool_.setExpiryTimeout(30000);
    }
    ~Dispatcher() override { StopAll(); }

    void StopAll()
    {
        {
            std::lock_guard lock(mutex_);
            for (const auto& entry : running_)
                entry.first->store(true);
        }
        pool_.waitForDone();
    }

    void Track(const std::shared_ptr<std::atomic<bool>>& flag, const QObject* owner)
    {
        std::lock_guard lock(mutex_);
        running_.emplace(flag, owner);
    }
    void AbandonOf(const QObject* owner)
    {
        std::lock_guard lock(mutex_);
        for (const auto& [flag, who] : running_)
            if (who == owner)
                flag->store(true);
    }
    void Forget(const std::shared_ptr<std::atomic<bool>>& flag)
    {
        std::lock_guard lock(mutex_);
        running_.erase(flag);
    }
    int InFlight()
    {
        std::lock_guard lock(mutex_);
        return static_cast<int>(running_.size());
    }

    QThreadPool pool_;

private:
    std::mutex mutex_;
    std::map<std::shared_ptr<std::atomic<bool>>, const QObject*> running_;
};

Dispatcher* TheDispatcher()
{
    static QPointer<Dispatcher> dispatcher;
    if (!dispatcher) {
        dispatcher = new Dispatcher;
        if (QCoreApplication* app = QCoreApplication::instance()) {
            dispatcher->moveToThread(app->thread());
            dispatcher->setParent(app);
        }
    }
    return dispatcher;
}

} // namespace

namespace detail {

void StartRequest(QObject* owner, std::shared_ptr<std::atomic<bool>> abandoned, std::function<void()> work,
                  std::function<void()> deliver, std::shared_ptr<std::atomic<bool>> done)
{
    Dispatcher* dispatcher = TheDispatcher();
    dispatcher->Track(abandoned, owner);
    QPointer<QObject> alive(owner);
    // The owner going away gives its transfer up at once.
    auto watch = std::make_shared<QMetaObject::Connection>(
        QObject::connect(owner, &QObject::destroyed, dispatcher, [abandoned] { abandoned->store(true); }));
    auto finish = [dispatcher, alive, abandoned, deliver = std::move(deliver), done, watch]() mutable {
        QObject::disconnect(*watch);
        dispatcher->Forget(abandoned);
        done->store(true);
        if (alive && !abandoned->load())
            deliver();
    };
    dispatcher->pool_.start([dispatcher, abandoned, work = std::move(work), finish = std::move(finish)]() mutable {
        SetAbandonFlag(abandoned.get());
        if (!abandoned->load())
            work();
        SetAbandonFlag(nullptr);
        QMetaObject::invokeMethod(dispatcher, std::move(finish), Qt::QueuedConnection);
    });
}

} // namespace detail

void StopAllRequests() { TheDispatcher()->StopAll(); }

void AbandonRequests(const QObject* owner) { TheDispatcher()->AbandonOf(owner); }

int RequestsInFlight() { return TheDispatcher()->InFlight(); }

} // namespace vk
