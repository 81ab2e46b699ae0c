#include "ui/game/folders.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <unistd.h>

namespace vk {
namespace {

QString WithSeparator(const QString& dir) { return dir.endsWith('/') ? dir : dir + '/'; }

// Ours alone: owned by this user and closed to everybody else.
bool MakePrivateDir(const QString& dir)
{
    if (!QDir().mkpath(dir))
        return false;
    const QFileInfo info(dir);
    if (!info.isDir() || info.isSymLink() || info.ownerId() != static_cast<uint>(::getuid()))
        return false;
    return QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace

QString FindProgramDir()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(exeDir).isWritable())
        return WithSeparator(exeDir);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/vokabron";
    QDir().mkpath(data);
    return WithSeparator(data);
}

QString FindTempDir(const QString& programDir)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        const QByteArray key = QCryptographicHash::hash(programDir.toUtf8(), QCryptographicHash::Sha1).toHex();
        const QString dir = runtime + "/vokabron-" + QString::fromLatin1(key.left(12));
        if (MakePrivateDir(dir))
            return WithSeparator(dir);
    }
    // No runtime folder of our own: a private folder that goes with the run.
    static QTemporaryDir fallback(QDir::tempPath() + "/vokabron-XXXXXX");
    return fallback.isValid() ? WithSeparator(fallback.path()) : QString();
}

} // namespace vk
