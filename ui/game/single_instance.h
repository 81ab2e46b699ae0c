#pragma once
// Only one copy of the program runs per program folder: two copies would
// overwrite each other's club file.  A second start asks the first to show
// its window and then quits.
#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

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

// What a second start asks of the first: its main window comes back (out
// of the task bar, keeping a maximised window maximised) and in front; when a
// modal window is open, the topmost one is raised over it and takes the
// keyboard, since only it answers the player.
void BringProgramToFront(QWidget& mainWindow);

} // namespace vk
