// The pictures compiled into the program: the stored table, decoding once per name, lookup by
// exact name only, and files on the search path taking precedence.

#include "imagecollection.h"
#include "mimesource.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

QImage requested(const QString &name)
{
    return MimeSourceFactory::defaultFactory()->data(name).image;
}

bool writePng(const QString &path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image.save(path, "PNG");
}

} // namespace

class TestImages : public QObject
{
    Q_OBJECT

private slots:
    void storedAndDecoded_data();
    void storedAndDecoded();
    void decodedOnceAndRegisteredOnce();
    void nearMissNamesReturnNothing_data();
    void nearMissNamesReturnNothing();
    void searchPathComesFirst();
};

void TestImages::storedAndDecoded_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("alpha");
    const auto row = [](int index, const char *name, QSize size, bool alpha) {
        QTest::newRow(name) << index << QString::fromLatin1(name) << size << alpha;
    };
    int index = 0;
    for (const char *icon : {"filenew", "fileopen", "filesave", "print", "undo", "redo", "editcut",
                             "editcopy", "editpaste", "searchfind"})
        row(index++, icon, {22, 22}, true);
    row(index++, "Quorvela.png", {186, 215}, false);
    row(index, "tex6918.jpg", {317, 52}, false);
}

void TestImages::storedAndDecoded()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, alpha);
    const vantro::EmbeddedImage &entry = vantro::embeddedImages[index];
    QCOMPARE(QString::fromUtf8(entry.name), name);
    QCOMPARE(QSize(entry.width, entry.height), size);
    QCOMPARE(entry.depth, 32);
    QCOMPARE(entry.numColors, 0);
    QCOMPARE(entry.colorTable, nullptr);
    QCOMPARE(entry.alpha, alpha);
    // The toolkit's compressed form: the unpacked length big-endian, then the zlib stream.
    const quint32 unpacked = quint32(size.width() * size.height() * 4);
    QCOMPARE(qFromBigEndian<quint32>(entry.data), unpacked);
    QVERIFY(entry.compressed < unpacked / 2);

    const QImage image = requested(name);
    QCOMPARE(image.format(), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    // Pixel for pixel the picture the table was generated from, never a JPEG or PNG decoding.
    const QImage original(
        QStringLiteral(VANTRO_IMAGES_DIR "/%1.png").arg(QFileInfo(name).completeBaseName()));
    QVERIFY(!original.isNull());
    QCOMPARE(image, original.convertToFormat(image.format()));
    for (int y = 0; alpha && y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            QVERIFY(qAlpha(image.pixel(x, y)) % 255 == 0);
    }
}

void TestImages::decodedOnceAndRegisteredOnce()
{
    // Registered before main: nothing in this program calls qInitImages_trelvane before here.
    const MimeSourceFactory_trelvane *registered = vantro::registeredImageFactory();
    QVERIFY(registered);
    QVERIFY(!pixmapFromMimeSource(QStringLiteral("filenew")).isNull());
    qInitImages_trelvane();
    QCOMPARE(vantro::registeredImageFactory(), registered);

    // A factory of our own starts with nothing decoded, whatever was asked for before.
    MimeSourceFactory_trelvane factory;
    const int before = vantro::embeddedImageInflations();
    const QImage first = factory.data(QStringLiteral("searchfind")).image;
    QVERIFY(factory.hasStored(QStringLiteral("searchfind")));
    QCOMPARE(factory.data(QStringLiteral("searchfind")).image, first);
    QCOMPARE(vantro::embeddedImageInflations(), before + 1);
    requested(QStringLiteral("undo"));
    const int settled = vantro::embeddedImageInflations();
    QCOMPARE(requested(QStringLiteral("undo")).size(), QSize(22, 22));
    QCOMPARE(vantro::embeddedImageInflations(), settled);

    const vantro::EmbeddedImage &end = vantro::embeddedImages[12];
    QVERIFY(!end.width && !end.height && !end.depth && !end.data && !end.compressed &&
            !end.numColors && !end.colorTable && !end.alpha && !end.name);
}

void TestImages::nearMissNamesReturnNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("other case") << QStringLiteral("FileNew");
    QTest::newRow("extension added") << QStringLiteral("filenew.png");
    QTest::newRow("extension dropped") << QStringLiteral("tex6918");
    QTest::newRow("other extension") << QStringLiteral("tex6918.png");
    QTest::newRow("leading blank") << QStringLiteral(" filenew");
    QTest::newRow("prefix") << QStringLiteral("file");
    QTest::newRow("directory") << QStringLiteral("images/filenew");
    QTest::newRow("empty") << QString(QLatin1String(""));
    QTest::newRow("null") << QString();
}

void TestImages::nearMissNamesReturnNothing()
{
    QFETCH(QString, name);
    MimeSourceFactory_trelvane factory;
    const int before = vantro::embeddedImageInflations();
    QVERIFY(factory.data(name).isNull());
    QVERIFY(pixmapFromMimeSource(name).isNull());
    QCOMPARE(vantro::embeddedImageInflations(), before);
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
    // The stored format is ours alone; a file of the same name is read as whatever it holds.
    QVERIFY(writePng(dir.filePath(QStringLiteral("tex6918.jpg")), 5, 7));
    QVERIFY(writePng(dir.filePath(QStringLiteral("filenew")), 3, 4));
    // Web addresses on the path are skipped, even where a local directory has the same name.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("https:/example.org")));
    QVERIFY(writePng(dir.filePath(QStringLiteral("https:/example.org/redo")), 2, 2));
    QVERIFY(QDir::setCurrent(dir.path()));
    defaults->setFilePath({QStringLiteral("https://example.org/"), dir.path()});

    QCOMPARE(requested(QStringLiteral("tex6918.jpg")).size(), QSize(5, 7));
    QCOMPARE(requested(QStringLiteral("filenew")).size(), QSize(3, 4));
    QCOMPARE(requested(QStringLiteral("redo")).size(), QSize(22, 22));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("tex6918.jpg"))));
    QCOMPARE(requested(QStringLiteral("tex6918.jpg")).size(), QSize(317, 52));
}

QTEST_MAIN(TestImages)
#include "tst_images.moc"
