#include "ui/kit/resource_store.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QMessageBox>
#include <QMutex>
#include <QSet>
#include <QtGlobal>

#include "ui/kit/text_codec.h"

namespace vk {
namespace {

QString Prefix(ResourceKind kind)
{
    switch (kind) {
    case ResourceKind::Raw: return QStringLiteral(":/raw");
    case ResourceKind::Gif: return QStringLiteral(":/gif");
    case ResourceKind::Jpeg: return QStringLiteral(":/jpeg");
    case ResourceKind::Any: return QStringLiteral(":/any");
    case ResourceKind::Flags: return QStringLiteral(":/flags");
    }
    return {};
}

// Upper-cased name -> resource path, one index per kind, built on first use.
// Built under a lock so that a lookup from any thread sees a whole index;
// once built it never changes.
const QHash<QString, QString>& Index(ResourceKind kind)
{
    static QMutex mutex;
    QMutexLocker lock(&mutex);
    static QHash<QString, QString> indexes[5];
    static bool built[5] = {};
    const int k = static_cast<int>(kind);
    if (!built[k]) {
        QDirIterator it(Prefix(kind), QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            indexes[k].insert(it.fileName().toUpper(), path);
        }
        built[k] = true;
    }
    return indexes[k];
}

std::optional<QString> FindPath(ResourceKind kind, const QString& name)
{
    const auto& index = Index(kind);
    const auto it = index.constFind(name.toUpper());
    if (it == index.constEnd())
        return std::nullopt;
    return *it;
}

void ShowMissingResourceBox(const QString& name)
{
    auto* box = new QMessageBox(QMessageBox::Critical, UiProductName(), UiText(Msg::MissingResource).arg(name),
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("MissingResourceBox"));
    box->show();
}

} // namespace

void ReportMissingResource(const QString& name)
{
    static QMutex mutex;
    static QSet<QString> reported;
    {
        QMutexLocker lock(&mutex);
        const QString key = name.toUpper();
        if (reported.contains(key))
            return;
        reported.insert(key);
    }
    qWarning("Missing program resource: %s", qUtf8Printable(name));
    // The box is shown from the event loop of the main thread, never from
    // inside the lookup: the caller may be painting, or on another thread.
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        QMetaObject::invokeMethod(
            app, [name] { ShowMissingResourceBox(name); }, Qt::QueuedConnection);
}

bool HasResource(ResourceKind kind, const QString& name) { return FindPath(kind, name).has_value(); }

std::optional<QString> ResourcePath(ResourceKind kind, const QString& name)
{
    auto path = FindPath(kind, name);
    if (!path)
        ReportMissingResource(name);
    return path;
}

std::optional<QByteArray> ResourceBytes(ResourceKind kind, const QString& name)
{
    const auto path = ResourcePath(kind, name);
    if (!path)
        return std::nullopt;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReportMissingResource(name);
        return std::nullopt;
    }
    return file.readAll();
}

} // namespace vk
