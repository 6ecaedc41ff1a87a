#include "capture.h"
#include "dbtools.h"
#include "dictdb.h"
#include "workspacefixture.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

using namespace vantro;
using namespace vantro::test;

namespace {

// VANTRO_STRESS_LONG=1 selects the long mode: the dictionary of a million records.
bool longMode()
{
    return qEnvironmentVariableIntValue("VANTRO_STRESS_LONG") != 0;
}

double millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return double(clock.nsecsElapsed()) / 1e6;
}

QByteArray englishText(qsizetype bytes)
{
    const QByteArray sentence = "The translator was walking along the river, reading the old "
                                "verses of the morning prayer aloud. ";
    QByteArray text;
    text.reserve(bytes + sentence.size());
    for (int line = 0; text.size() < bytes; ++line)
        text += sentence + (line % 8 == 7 ? "\n" : "");
    return text;
}

} // namespace

class TestLargeInputs : public QObject
{
    Q_OBJECT

private slots:
    void longEnglishTextLoadsAndLooksUp();
    void longKeyAndMeaningRoundTrip();
    void bigDictionaryOpens();
};

void TestLargeInputs::longEnglishTextLoadsAndLooksUp()
{
    WorkspaceFixture fx;
    const QByteArray text = englishText(20 * 1024 * 1024);
    const QString path = fx.write(QStringLiteral("long.txt"), text);
    QVERIFY(!path.isEmpty());
    MainForm &form = fx.open();
    cDictDB &db = *form.dictionary();
    for (const char *word : {"walk", "wall", "river", "translator", "verse"}) {
        db.setWord(QString::fromLatin1(word));
        db.setITRANS(QStringLiteral("artha"));
        db.setSynonym({});
        QCOMPARE(db.saveRecord(), 0);
    }
    fx.dialogs.setNextFileName(path);
    const double loadMs = millisecondsOf([&] { form.btnBrowse->click(); });
    QCOMPARE(form.english->document()->characterCount() - 1, text.size());

    QTextCursor cursor = form.english->textCursor();
    // The text is ASCII, so a byte offset is a position in the document.
    cursor.setPosition(int(text.indexOf("walking", text.size() / 2)) + 2);
    form.english->setTextCursor(cursor);
    const double lookUpMs = millisecondsOf([&] { form.btnLookUp->click(); });
    QCOMPARE(form.ledEng->text(), QStringLiteral("walk"));
    std::printf("20 MiB English text: loaded in %.0f ms, look-up of \"walking\" in the middle "
                "%.2f ms\n",
                loadMs, lookUpMs);
}

// A key far beyond a page is stored on overflow pages; both must come back byte for byte.
void TestLargeInputs::longKeyAndMeaningRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    QString word(100000, QLatin1Char('a'));
    for (int i = 0; i < word.size(); i += 7)
        word[i] = QLatin1Char('a' + i % 26);
    QString meaning(1 << 20, QLatin1Char('m'));
    for (int i = 0; i < meaning.size(); i += 11)
        meaning[i] = QLatin1Char('A' + i % 26);
    const QString synonyms = QStringLiteral("paryAyaH");
    {
        cDictDB db(path);
        QCOMPARE(db.openDB(), 0);
        db.setWord(word);
        db.setITRANS(meaning);
        db.setSynonym(synonyms);
        QCOMPARE(db.saveRecord(), 0);
        db.setWord(QStringLiteral("b"));
        QCOMPARE(db.saveRecord(), 0);
        QCOMPARE(db.closeDB(), 0);
    }
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    QCOMPARE(db.getCursorRec(cDictDB::First), 0);
    QCOMPARE(db.getWord(), word);
    QCOMPARE(db.getITRANS(), meaning);
    QCOMPARE(db.getSynonym(), synonyms);
    db.setWord(word.left(99999));
    QCOMPARE(db.getCursorRec(cDictDB::AtOrAfter), 0);
    QCOMPARE(db.getWord().size(), 100000);
    QCOMPARE(db.getCursorRec(cDictDB::Next), 0);
    QCOMPARE(db.getWord(), QStringLiteral("b"));
    QCOMPARE(db.closeDB(), 0);
    QVERIFY(DbUtilities::verify(path));
}

void TestLargeInputs::bigDictionaryOpens()
{
    const int records = longMode() ? 1000000 : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    {
        cDictDB db(path);
        QCOMPARE(db.openDB(), 0);
        db.setDeferredSync(true);
        const double buildMs = millisecondsOf([&] {
            for (int i = 0; i < records; ++i) {
                const QByteArray key = "w" + QByteArray::number(i).rightJustified(7, '0');
                QVERIFY(db.putStoredRecord(key, "artha " + key, false) == cDictDB::BulkPut::Added);
            }
            QCOMPARE(db.flush(), 0);
        });
        QCOMPARE(db.takeSnapshot(), QString());
        QCOMPARE(db.closeDB(), 0);
        std::printf("%d records: built in %.0f ms, %lld bytes\n", records, buildMs,
                    static_cast<long long>(QFileInfo(path).size()));
    }
    WorkspaceFixture fx;
    QVERIFY(QFile::rename(path, fx.path(QStringLiteral("morvak.db"))));
    QVERIFY(QFile::rename(path + QStringLiteral(".bak"), fx.path(QStringLiteral("morvak.db.bak"))));
    QVERIFY(QFile::rename(path + QStringLiteral("-journal"),
                          fx.path(QStringLiteral("morvak.db-journal"))));
    MainForm *form = nullptr;
    const double openMs = millisecondsOf([&] { form = &fx.open(); });
    QCOMPARE(form->lblKeys->text(), QStringLiteral("Keys: %1").arg(records));
    form->ledEng->setText(QStringLiteral("W0054321x"));
    const double searchMs = millisecondsOf([&] { form->btnSearch->click(); });
    QCOMPARE(form->ledEng->text(), QStringLiteral("w0054321"));
    std::printf("%d records: window opened in %.0f ms, a search took %.2f ms\n", records, openMs,
                searchMs);
}

QTEST_MAIN(TestLargeInputs)
#include "tst_largeinputs.moc"
