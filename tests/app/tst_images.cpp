// The pictures compiled into the program: the stored table, decoding, lookup by exact name and
// the precedence of files on the search path.

#include "imagecollection.h"
#include "mimesource.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <iterator>

using vantro::EmbeddedImage;

namespace {

struct Expected
{
    const char *name;
    int width;
    int height;
    bool alpha;
};

const Expected kTable[] = {
    {"filenew", 22, 22, true},
    {"fileopen", 22, 22, true},
    {"filesave", 22, 22, true},
    {"print", 22, 22, true},
    {"undo", 22, 22, true},
    {"redo", 22, 22, true},
    {"editcut", 22, 22, true},
    {"editcopy", 22, 22, true},
    {"editpaste", 22, 22, true},
    {"searchfind", 22, 22, true},
    {"Quorvela.png", 186, 215, false},
    {"tex6918.jpg", 317, 52, false},
};

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

// Restores the program-wide search path that a test replaces.
class SearchPathGuard
{
public:
    SearchPathGuard() : m_saved(MimeSourceFactory::defaultFactory()->filePath()) {}
    ~SearchPathGuard() { MimeSourceFactory::defaultFactory()->setFilePath(m_saved); }
    SearchPathGuard(const SearchPathGuard &) = delete;
    SearchPathGuard &operator=(const SearchPathGuard &) = delete;

private:
    QStringList m_saved;
};

} // namespace

class TestImages : public QObject
{
    Q_OBJECT

private slots:
    void registeredBeforeMain();
    void tableIsInStoredFormat();
    void everyNameDecodes_data();
    void everyNameDecodes();
    void iconsHaveOneBitTransparency();
    void secondRequestDoesNotInflateAgain();
    void nearMissNamesReturnNothing_data();
    void nearMissNamesReturnNothing();
    void fileOnSearchPathWins();
    void webAddressesOnSearchPathAreSkipped();
    void initialisingTwiceRegistersNothingNew();
};

void TestImages::registeredBeforeMain()
{
    // Nothing in this program calls qInitImages_trelvane before this point.
    QVERIFY(vantro::registeredImageFactory());
    QVERIFY(!pixmapFromMimeSource(QStringLiteral("filenew")).isNull());
}

void TestImages::tableIsInStoredFormat()
{
    int count = 0;
    for (const EmbeddedImage *entry = vantro::embeddedImages; entry->data; ++entry, ++count) {
        QVERIFY(count < int(std::size(kTable)));
        const Expected &expected = kTable[count];
        QCOMPARE(entry->name, expected.name);
        QCOMPARE(entry->width, expected.width);
        QCOMPARE(entry->height, expected.height);
        QCOMPARE(entry->depth, 32);
        QCOMPARE(entry->numColors, 0);
        QCOMPARE(entry->colorTable, nullptr);
        QCOMPARE(entry->alpha, expected.alpha);
        const quint32 unpacked = quint32(entry->width * entry->height * 4);
        QCOMPARE(qFromBigEndian<quint32>(entry->data), unpacked);
        QVERIFY2(entry->compressed < unpacked / 2, entry->name);
        QCOMPARE(qUncompress(entry->data, entry->compressed).size(), qsizetype(unpacked));
    }
    QCOMPARE(count, int(std::size(kTable)));
    const EmbeddedImage &end = vantro::embeddedImages[count];
    QCOMPARE(end.width + end.height + end.depth + end.numColors, 0);
    QCOMPARE(end.compressed, 0u);
    QCOMPARE(end.name, nullptr);
    QVERIFY(!end.alpha && !end.colorTable);
}

void TestImages::everyNameDecodes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("alpha");
    QTest::addColumn<QString>("source");
    for (const Expected &entry : kTable) {
        const QString name = QString::fromLatin1(entry.name);
        QTest::newRow(entry.name) << name << QSize(entry.width, entry.height) << entry.alpha
                                  << QFileInfo(name).completeBaseName() + QLatin1String(".png");
    }
}

void TestImages::everyNameDecodes()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, alpha);
    QFETCH(QString, source);
    const QImage image = requested(name);
    QCOMPARE(image.size(), size);
    QCOMPARE(image.depth(), 32);
    QCOMPARE(image.hasAlphaChannel(), alpha);
    QCOMPARE(image.format(), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    // Pixel for pixel the picture the table was generated from.
    const QImage original(QStringLiteral(VANTRO_IMAGES_DIR "/") + source);
    QVERIFY2(!original.isNull(), qPrintable(source));
    QCOMPARE(image, original.convertToFormat(image.format()));
}

void TestImages::iconsHaveOneBitTransparency()
{
    for (const Expected &entry : kTable) {
        if (!entry.alpha)
            continue;
        const QImage image = requested(QLatin1String(entry.name));
        int transparent = 0;
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int alpha = qAlpha(image.pixel(x, y));
                QVERIFY2(alpha == 0 || alpha == 255, entry.name);
                (alpha ? opaque : transparent)++;
            }
        }
        QVERIFY2(transparent > 0 && opaque > 0, entry.name);
    }
}

void TestImages::secondRequestDoesNotInflateAgain()
{
    // A factory of our own starts with nothing decoded, whatever earlier tests asked for.
    MimeSourceFactory_trelvane factory;
    const int before = vantro::embeddedImageInflations();
    const MimeSource first = factory.data(QStringLiteral("searchfind"));
    QCOMPARE(vantro::embeddedImageInflations(), before + 1);
    QVERIFY(factory.hasStored(QStringLiteral("searchfind")));
    const MimeSource second = factory.data(QStringLiteral("searchfind"));
    QCOMPARE(vantro::embeddedImageInflations(), before + 1);
    QCOMPARE(second.image, first.image);

    requested(QStringLiteral("undo"));
    const int afterFirst = vantro::embeddedImageInflations();
    QCOMPARE(requested(QStringLiteral("undo")).size(), QSize(22, 22));
    QVERIFY(!pixmapFromMimeSource(QStringLiteral("undo")).isNull());
    QCOMPARE(vantro::embeddedImageInflations(), afterFirst);
}

void TestImages::nearMissNamesReturnNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("other case") << QStringLiteral("FileNew");
    QTest::newRow("upper case") << QStringLiteral("FILENEW");
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
    QVERIFY(MimeSourceFactory::defaultFactory()->data(name).isNull());
    QVERIFY(pixmapFromMimeSource(name).isNull());
    QCOMPARE(vantro::embeddedImageInflations(), before);
}

void TestImages::fileOnSearchPathWins()
{
    SearchPathGuard guard;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(requested(QStringLiteral("tex6918.jpg")).size(), QSize(317, 52));

    // The stored format is ours alone; a file of the same name is read as whatever it holds.
    QVERIFY(writePng(dir.filePath(QStringLiteral("tex6918.jpg")), 5, 7));
    QVERIFY(writePng(dir.filePath(QStringLiteral("filenew")), 3, 4));
    MimeSourceFactory::defaultFactory()->setFilePath({dir.path()});
    QCOMPARE(requested(QStringLiteral("tex6918.jpg")).size(), QSize(5, 7));
    QCOMPARE(requested(QStringLiteral("filenew")).size(), QSize(3, 4));
    QCOMPARE(requested(QStringLiteral("redo")).size(), QSize(22, 22));

    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("tex6918.jpg"))));
    QCOMPARE(requested(QStringLiteral("tex6918.jpg")).size(), QSize(317, 52));
}

void TestImages::webAddressesOnSearchPathAreSkipped()
{
    SearchPathGuard guard;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A directory whose path looks like the web address must not be taken for it either.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("https:/example.org")));
    QVERIFY(writePng(dir.filePath(QStringLiteral("https:/example.org/filenew")), 2, 2));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    MimeSourceFactory::defaultFactory()->setFilePath({QStringLiteral("https://example.org/")});
    const QSize found = requested(QStringLiteral("filenew")).size();
    QDir::setCurrent(previous);
    QCOMPARE(found, QSize(22, 22));
}

void TestImages::initialisingTwiceRegistersNothingNew()
{
    const MimeSourceFactory_trelvane *registered = vantro::registeredImageFactory();
    QVERIFY(registered);
    requested(QStringLiteral("editcut"));
    const int before = vantro::embeddedImageInflations();
    qInitImages_trelvane();
    qInitImages_trelvane();
    QCOMPARE(vantro::registeredImageFactory(), registered);
    QCOMPARE(requested(QStringLiteral("editcut")).size(), QSize(22, 22));
    QCOMPARE(vantro::embeddedImageInflations(), before);
}

QTEST_MAIN(TestImages)
#include "tst_images.moc"
