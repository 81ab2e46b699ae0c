#pragma once
// The resource list as the program's build reads it: "prefix/alias" -> file.
#include <QFile>
#include <QMap>
#include <QString>
#include <QXmlStreamReader>

namespace resource_files {

inline const QString kResourceDir = QStringLiteral(VOKABRON_RESOURCE_DIR);

inline const QMap<QString, QString>& QrcEntries()
{
    static const QMap<QString, QString> entries = [] {
        QMap<QString, QString> map;
        QFile f(kResourceDir + QStringLiteral("/resources.qrc"));
        if (!f.open(QIODevice::ReadOnly))
            return map;
        QXmlStreamReader xml(&f);
        QString prefix;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("qresource")) {
                prefix = xml.attributes().value(QLatin1String("prefix")).toString();
            } else if (xml.name() == QLatin1String("file")) {
                const QString alias = xml.attributes().value(QLatin1String("alias")).toString();
                map.insert(prefix + '/' + alias, xml.readElementText());
            }
        }
        return map;
    }();
    return entries;
}

// The file behind ":PREFIX/NAME", or an empty string when the list lacks it.
inline QString ResourceFilePath(const QString& prefix, const QString& name)
{
    const QString rel = QrcEntries().value(prefix + '/' + name);
    return rel.isEmpty() ? QString() : kResourceDir + '/' + rel;
}

} // namespace resource_files
