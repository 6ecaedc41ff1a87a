// The English pane: Browse and the word look-up over the record form's search.

#include "capture.h"
#include "dbtools.h"
#include "workspacefixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using vantro::test::captureOutput;

namespace {

QString meaningOf(const QString &key)
{
    return QStringLiteral("artha-") + key;
}

// Writes morvak.db into the working directory through the utilities, which store keys with
// capitals as they stand.
bool makeDictionary(const QStringList &keys)
{
    QList<vantro::test::KeyData> pairs;
    for (const QString &key : keys)
        pairs.append({key.toLatin1(), meaningOf(key).toLatin1()});
    return vantro::test::DbUtilities::load(QStringLiteral("morvak.db"), pairs);
}

void placeCursor(QPlainTextEdit *pane, int anchor, int position)
{
    QTextCursor cursor(pane->document());
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
}

QStringList informationTexts(const ScriptedDialogs &dialogs)
{
    QStringList texts;
    for (const ScriptedDialogs::Shown &box : dialogs.shown) {
        if (box.kind == QLatin1String("information"))
            texts.append(box.text);
    }
    return texts;
}

int questionCount(const ScriptedDialogs &dialogs)
{
    return int(std::count_if(dialogs.shown.begin(), dialogs.shown.end(), [](const auto &box) {
        return box.kind == QLatin1String("question");
    }));
}

} // namespace

class TestLookUp : public QObject
{
    Q_OBJECT

private slots:
    void lookUp_data();
    void lookUp();
    void unsavedRecordAnswers_data();
    void unsavedRecordAnswers();
    void browseLoadsFile();
    void browseUnreadableFile();
};

void TestLookUp::lookUp_data()
{
    QTest::addColumn<QString>("english");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position"); // equal to anchor: no selection
    QTest::addColumn<QString>("keyBefore");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("keyAfter");
    QTest::addColumn<QStringList>("notFound");

    const QStringList none;
    QTest::newRow("cursor inside Running")
        << "Running fast" << 3 << 3 << "" << QStringList{"run", "sit"} << "run" << none;
    QTest::newRow("cursor on the first letter")
        << "Running fast" << 0 << 0 << "" << QStringList{"run", "sit"} << "run" << none;
    QTest::newRow("cursor on the full stop after books: the word before it")
        << "books." << 5 << 5 << "boot" << QStringList{"book", "boot"} << "book" << none;
    QTest::newRow("cursor at the end of the paragraph")
        << "walk" << 4 << 4 << "Wall" << QStringList{"walk", "wall"} << "walk" << none;
    QTest::newRow("no letter on either side: the key field")
        << "walk  home" << 5 << 5 << "WALL" << QStringList{"walk", "wall"} << "wall" << none;
    QTest::newRow("a word in a later paragraph") << "first line\nthen Walking" << 16 << 16 << ""
                                                 << QStringList{"walk", "wall"} << "walk" << none;
    QTest::newRow("apostrophe ends the word")
        << "don't" << 0 << 0 << "" << QStringList{"zzz"} << "don" << QStringList{"don not found"};
    QTest::newRow("a selected phrase")
        << "See The Old man go" << 4 << 15 << "" << QStringList{"the old man", "zzz"}
        << "the old man" << none;
    QTest::newRow("books: the key inside the word")
        << "books" << 1 << 1 << "" << QStringList{"book", "boot"} << "book" << none;
    QTest::newRow("bookish: longer key rejected")
        << "bookish" << 2 << 2 << "" << QStringList{"book", "booking", "boot"} << "book" << none;
    QTest::newRow("a key with capitals is never inside")
        << "unbook" << 0 << 0 << "" << QStringList{"un", "unbooK", "zzz"} << "un" << none;
    QTest::newRow("not found ends after one message")
        << "xyzzy" << 0 << 0 << "" << QStringList{"abc"} << "xyzzy"
        << QStringList{"xyzzy not found"};
    QTest::newRow("no key inside the word: not found")
        << "well-being" << 0 << 0 << "" << QStringList{"walk", "wellness"} << "well"
        << QStringList{"well not found"};
    QTest::newRow("nothing at the cursor, empty key")
        << "  " << 0 << 0 << "" << QStringList{"walk"} << "" << none;
}

void TestLookUp::lookUp()
{
    QFETCH(QString, english);
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, keyBefore);
    QFETCH(QStringList, keys);
    QFETCH(QString, keyAfter);
    QFETCH(QStringList, notFound);
    WorkspaceFixture fx;
    QVERIFY(makeDictionary(keys));
    MainForm &form = fx.open();
    form.english->setPlainText(english);
    placeCursor(form.english, anchor, position);
    form.ledEng->setText(keyBefore);

    form.btnLookUp->click();

    QCOMPARE(form.ledEng->text(), keyAfter);
    QCOMPARE(informationTexts(fx.dialogs), notFound);
    QCOMPARE(questionCount(fx.dialogs), 0);
    const bool shown = notFound.isEmpty() && !keyAfter.isEmpty();
    QCOMPARE(form.tedITRANS->toPlainText(), shown ? meaningOf(keyAfter) : QString());
    QCOMPARE(form.english->toPlainText(), english);
    QCOMPARE(form.itrans->toPlainText(), QString());
}

// The question comes before the look-up touches any field: only No and a written record let
// it replace the form. Bookish needs four searches; only the first meets the edited record.
void TestLookUp::unsavedRecordAnswers_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("keyAfter");
    QTest::addColumn<QString>("meaningAfter");
    QTest::addColumn<QByteArray>("storedBig");
    const int yes = Dialogs::Yes, no = Dialogs::No, cancel = Dialogs::Cancel;
    QTest::newRow("No: edits given up") << QList<int>{no} << false << "book"
                                        << "artha-book" << QByteArray("artha-big");
    QTest::newRow("Cancel: form untouched") << QList<int>{cancel} << false << "big"
                                            << "edited" << QByteArray("artha-big");
    QTest::newRow("Yes, Save answered No: form untouched") << QList<int>{yes, no} << false << "big"
                                                           << "edited" << QByteArray("artha-big");
    QTest::newRow("Yes under Read Only: form untouched") << QList<int>{yes} << true << "big"
                                                         << "edited" << QByteArray("artha-big");
    QTest::newRow("Yes, saved under its own key") << QList<int>{yes, yes} << false << "book"
                                                  << "artha-book" << QByteArray("edited");
}

void TestLookUp::unsavedRecordAnswers()
{
    QFETCH(QList<int>, answers);
    QFETCH(bool, readOnly);
    WorkspaceFixture fx;
    QVERIFY(makeDictionary({"big", "book", "booking", "boot"}));
    MainForm &form = fx.open();
    form.chkReadOnly->setChecked(readOnly);
    form.ledEng->setText(QStringLiteral("big"));
    form.tedITRANS->setPlainText(QStringLiteral("edited"));
    form.tedITRANS->document()->setModified(true);
    form.english->setPlainText(QStringLiteral("Bookish"));
    placeCursor(form.english, 3, 3);
    for (int answer : answers)
        fx.dialogs.setNextAnswer(answer);

    form.btnLookUp->click();

    QCOMPARE(questionCount(fx.dialogs), answers.size());
    QCOMPARE(fx.dialogs.shown.first().title, QStringLiteral("Text Changed"));
    QTEST(form.ledEng->text(), "keyAfter");
    QTEST(form.tedITRANS->toPlainText(), "meaningAfter");
    QTEST(vantro::test::DbUtilities::dump(QStringLiteral("morvak.db")).constFirst().second,
          "storedBig");
    QCOMPARE(informationTexts(fx.dialogs),
             readOnly ? QStringList{"Read Only is ticked: nothing was saved."} : QStringList());
    QCOMPARE(fx.dialogs.unscripted, 0);
}

void TestLookUp::browseLoadsFile()
{
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.itrans->setFocus();
    const QByteArray content = "The <b>old</b> man\nand the sea";
    fx.dialogs.setNextFileName(fx.write(QStringLiteral("english.txt"), content));

    form.btnBrowse->click();

    QCOMPARE(form.english->toPlainText(), QString::fromLocal8Bit(content));
    QVERIFY(form.english->hasFocus());
    QCOMPARE(form.itrans->toPlainText(), QString());
    QVERIFY(!isModified(form.itrans));
}

// A path that does not exist stands for an unreadable file: root reads any existing one.
void TestLookUp::browseUnreadableFile()
{
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.english->setPlainText(QStringLiteral("kept text"));
    placeCursor(form.english, 5, 5);
    form.itrans->setFocus();
    const QString path = fx.path(QStringLiteral("missing.txt"));
    fx.dialogs.setNextFileName(path);

    const auto captured = captureOutput([&] { form.btnBrowse->click(); });

    QCOMPARE(captured.out, "could not read " + path.toLocal8Bit() + "\n");
    QCOMPARE(form.english->toPlainText(), QStringLiteral("kept text"));
    QCOMPARE(form.english->textCursor().position(), 5);
    QVERIFY(form.itrans->hasFocus());
    QCOMPARE(informationTexts(fx.dialogs),
             QStringList{"Could not read " + path + "\nNo such file or directory"});
}

QTEST_MAIN(TestLookUp)
#include "tst_lookup.moc"
