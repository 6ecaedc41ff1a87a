// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagecollection.h"

#include <QImage>
#include <QtEndian>

namespace {

MimeSourceFactory_trelvane *g_factory = nullptr;
int g_inflations = 0;

const vantro::EmbeddedImage *findEntry(const QString &name)
{
    for (const vantro::EmbeddedImage *entry = vantro::embeddedImages; entry->data; ++entry) {
        if (QString::fromUtf8(entry->name) == name)
            return entry;
    }
    return nullptr;
}

// The stored pixels are 0xAARRGGBB values in little-endian byte order, row after row.
QImage inflate(const vantro::EmbeddedImage &entry)
{
    ++g_inflations;
    const QByteArray pixels = qUncompress(entry.data, qsizetype(entry.compressed));
    if (entry.depth != 32 || pixels.size() != qsizetype(entry.width) * entry.height * 4)
        return {};
    QImage image(entry.width, entry.height,
                 entry.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const uchar *in = reinterpret_cast<const uchar *>(pixels.constData());
    for (int y = 0; y < entry.height; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < entry.width; ++x, in += 4)
            line[x] = qFromLittleEndian<quint32>(in);
    }
    return image;
}

void cleanupImages()
{
    if (!g_factory)
        return;
    MimeSourceFactory::defaultFactory()->removeFactory(g_factory);
    delete g_factory;
    g_factory = nullptr;
}

// Registers the pictures during static initialisation and takes them away again after main
// has returned, so every window built in between finds its icons.
struct StaticImages
{
    StaticImages() { qInitImages_trelvane(); }
    ~StaticImages() { cleanupImages(); }
    StaticImages(const StaticImages &) = delete;
    StaticImages &operator=(const StaticImages &) = delete;
};

const StaticImages staticImages;

} // namespace

int vantro::embeddedImageInflations()
{
    return g_inflations;
}

const MimeSourceFactory_trelvane *vantro::registeredImageFactory()
{
    return g_factory;
}

MimeSourceFactory_trelvane::~MimeSourceFactory_trelvane() = default;

MimeSource MimeSourceFactory_trelvane::data(const QString &name) const
{
    // The default factory has already looked at its own stored sources and its search path
    // before it asks this one, so a file in the help directory wins over the embedded picture.
    MimeSource source = MimeSourceFactory::data(name);
    if (!source.isNull() || name.isNull())
        return source;
    const vantro::EmbeddedImage *entry = findEntry(name);
    const QImage image = entry ? inflate(*entry) : QImage();
    if (!image.isNull())
        const_cast<MimeSourceFactory_trelvane *>(this)->setImage(name, image);
    return MimeSourceFactory::data(name);
}

void qInitImages_trelvane()
{
    if (g_factory)
        return;
    g_factory = new MimeSourceFactory_trelvane;
    MimeSourceFactory::defaultFactory()->addFactory(g_factory);
}
