// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QString>
#include <QStringList>

// A named piece of data served by a MimeSourceFactory: a picture, or the bytes of a file
// together with the file's name.
struct MimeSource
{
    QImage image;
    QByteArray bytes;
    QString fileName;

    bool isNull() const { return image.isNull() && bytes.isNull(); }
    bool isImage() const { return !image.isNull(); }
};

// Hands out pictures and pages by name. A factory first answers from the sources stored in it,
// then from files found on its search path; the application's default factory finally asks
// the additional factories registered with it, in the order they were added. Entries of the
// search path that are web addresses are never fetched: only local directories are searched.
class MimeSourceFactory
{
public:
    MimeSourceFactory() = default;
    virtual ~MimeSourceFactory();
    MimeSourceFactory(const MimeSourceFactory &) = delete;
    MimeSourceFactory &operator=(const MimeSourceFactory &) = delete;

    static MimeSourceFactory *defaultFactory();

    virtual MimeSource data(const QString &name) const;

    void setImage(const QString &name, const QImage &image);
    void setData(const QString &name, const QByteArray &bytes);
    bool hasStored(const QString &name) const { return m_stored.contains(name); }

    void setFilePath(const QStringList &path) { m_filePath = path; }
    void addFilePath(const QString &entry) { m_filePath.append(entry); }
    QStringList filePath() const { return m_filePath; }

    void addFactory(MimeSourceFactory *factory);
    void removeFactory(MimeSourceFactory *factory);

protected:
    MimeSource stored(const QString &name) const { return m_stored.value(name); }
    MimeSource fromFilePath(const QString &name) const;

private:
    QMap<QString, MimeSource> m_stored;
    QStringList m_filePath;
    QList<MimeSourceFactory *> m_factories;
};

// The picture that the default factory serves under name, or a null pixmap.
QPixmap pixmapFromMimeSource(const QString &name);
