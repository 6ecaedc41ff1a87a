// SPDX-License-Identifier: GPL-3.0-or-later
#include "mimesource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

MimeSourceFactory::~MimeSourceFactory() = default;

MimeSourceFactory *MimeSourceFactory::defaultFactory()
{
    // Never destroyed: factories registered before main and removed after it outlive any
    // function-local static that could be torn down first.
    static MimeSourceFactory *const factory = new MimeSourceFactory;
    return factory;
}

MimeSource MimeSourceFactory::data(const QString &name) const
{
    if (name.isEmpty())
        return {};
    MimeSource source = stored(name);
    if (source.isNull())
        source = fromFilePath(name);
    for (const MimeSourceFactory *factory : m_factories) {
        if (!source.isNull())
            break;
        source = factory->data(name);
    }
    return source;
}

MimeSource MimeSourceFactory::fromFilePath(const QString &name) const
{
    for (const QString &entry : m_filePath) {
        if (entry.contains(QLatin1String("://")))
            continue;
        const QString path = QFileInfo(name).isAbsolute() ? name : QDir(entry).filePath(name);
        QFile file(path);
        if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
            continue;
        MimeSource source;
        source.fileName = path;
        source.bytes = file.readAll();
        if (!QImageReader::imageFormat(path).isEmpty())
            source.image = QImage::fromData(source.bytes);
        return source;
    }
    return {};
}

void MimeSourceFactory::setImage(const QString &name, const QImage &image)
{
    MimeSource source;
    source.image = image;
    m_stored.insert(name, source);
}

void MimeSourceFactory::setData(const QString &name, const QByteArray &bytes)
{
    MimeSource source;
    source.bytes = bytes;
    source.fileName = name;
    m_stored.insert(name, source);
}

void MimeSourceFactory::addFactory(MimeSourceFactory *factory)
{
    if (factory && !m_factories.contains(factory))
        m_factories.append(factory);
}

void MimeSourceFactory::removeFactory(MimeSourceFactory *factory)
{
    m_factories.removeAll(factory);
}

QPixmap pixmapFromMimeSource(const QString &name)
{
    const MimeSource source = MimeSourceFactory::defaultFactory()->data(name);
    return source.isImage() ? QPixmap::fromImage(source.image) : QPixmap();
}
