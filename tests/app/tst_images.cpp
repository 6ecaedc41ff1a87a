// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures compiled into the program: the stored table, decoding once per name, lookup by
// exact name only, and files on the search path taking precedence.

#include "imagecollection.h"
#include "mimesource.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

class TestImages : public QObject
{
    Q_OBJECT

private slots:
    void lookUp_data();
    void lookUp();
    void registeredOnce();
    void searchPathComesFirst();
};

void TestImages::lookUp_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("stored");
    for (const char *name : {"filenew", "fileopen", "filesave", "print", "undo", "redo", "editcut",
                             "editcopy", "editpaste", "searchfind", "Quorvela.png", "tex6918.jpg"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
    // Another case, an extension added, dropped or changed, a blank, a prefix, a directory.
    for (const char *name : {"FileNew", "filenew.png", "tex6918", "tex6918.png", " filenew", "file",
                             "images/filenew", ""})
        QTest::addRow("\"%s\"", name) << QString::fromLatin1(name) << false;
    QTest::newRow("null") << QString() << false;
}

// A stored name gives pixel for pixel the picture the table was generated from (never a JPEG or
// PNG decoding), decoded once per factory; a near miss gives nothing and decodes nothing.
void TestImages::lookUp()
{
    QFETCH(QString, name);
    QFETCH(bool, stored);
    MimeSourceFactory_trelvane factory;
    const int before = vantro::embeddedImageInflations();
    const QImage image = factory.data(name).image;
    QCOMPARE(factory.data(name).image, image);
    QCOMPARE(vantro::embeddedImageInflations(), before + int(stored));
    QCOMPARE(pixmapFromMimeSource(name).isNull(), !stored);
    const int settled = vantro::embeddedImageInflations();
    QCOMPARE(MimeSourceFactory::defaultFactory()->data(name).image, image);
    QCOMPARE(vantro::embeddedImageInflations(), settled);
    const QImage original = stored ? QImage(QStringLiteral(VANTRO_IMAGES_DIR "/%1.png")
                                                .arg(QFileInfo(name).completeBaseName()))
                                   : QImage();
    QCOMPARE(image.hasAlphaChannel(), original.hasAlphaChannel());
    QCOMPARE(image, original.convertToFormat(image.format()));
}

// Registered before main: nothing in this program calls qInitImages_trelvane before here.
void TestImages::registeredOnce()
{
    const MimeSourceFactory_trelvane *registered = vantro::registeredImageFactory();
    QVERIFY(registered);
    qInitImages_trelvane();
    QCOMPARE(vantro::registeredImageFactory(), registered);
}

void TestImages::searchPathComesFirst()
{
    MimeSourceFactory *defaults = MimeSourceFactory::defaultFactory();
    const QStringList savedPath = defaults->filePath();
    const QString savedCurrent = QDir::currentPath();
    const auto restore = qScopeGuard([&] {
        defaults->setFilePath(savedPath);
        QDir::setCurrent(savedCurrent);
    });
    QTemporaryDir dir;
    const auto requested = [&](const char *name) {
        return defaults->data(QString::fromLatin1(name)).image.size();
    };
    const auto writePng = [&](const char *name, int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::red);
        return image.save(dir.filePath(QString::fromLatin1(name)), "PNG");
    };
    // The stored format is ours alone; a file of the same name is read as whatever it holds.
    QVERIFY(writePng("tex6918.jpg", 5, 7));
    QVERIFY(writePng("filenew", 3, 4));
    // Web addresses on the path are skipped, even where a local directory has the same name.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("https:/example.org")));
    QVERIFY(writePng("https:/example.org/redo", 2, 2));
    QVERIFY(QDir::setCurrent(dir.path()));
    defaults->setFilePath({QStringLiteral("https://example.org/"), dir.path()});

    QCOMPARE(requested("tex6918.jpg"), QSize(5, 7));
    QCOMPARE(requested("filenew"), QSize(3, 4));
    QCOMPARE(requested("redo"), QSize(22, 22));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("tex6918.jpg"))));
    QCOMPARE(requested("tex6918.jpg"), QSize(317, 52));
}

QTEST_MAIN(TestImages)
#include "tst_images.moc"
