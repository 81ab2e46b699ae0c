#include "presentation/resource_store.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>

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
const QHash<QString, QString>& Index(ResourceKind kind)
{
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

} // namespace

std::optional<QString> ResourcePath(ResourceKind kind, const QString& name)
{
    const auto& index = Index(kind);
    const auto it = index.constFind(name.toUpper());
    if (it == index.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<QByteArray> ResourceBytes(ResourceKind kind, const QString& name)
{
    const auto path = ResourcePath(kind, name);
    if (!path)
        return std::nullopt;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace vk
