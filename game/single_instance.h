#pragma once
// Only one copy of the program runs per program folder: two copies would
// overwrite each other's club file.  A second start asks the first to show
// its window and then quits.
#include <QObject>
#include <QString>

class QLocalServer;

namespace vk {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // key: what makes two starts "the same program" (its folder).
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);

    // True when another copy answered (it has been asked to show itself);
    // false when this copy is the first and now listens for later starts.
    bool AnotherIsRunning();

    static QString ServerName(const QString& key);

signals:
    void raiseRequested();

private:
    QString name_;
    QLocalServer* server_ = nullptr;
};

} // namespace vk
