// The English pane: Browse and the word look-up over the record form's search.

#include "capture.h"
#include "dbtools.h"
#include "workspacefixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using vantro::test::captureOutput;

static QStringList boxTexts(const ScriptedDialogs &dialogs)
{
    QStringList texts;
    for (const ScriptedDialogs::Shown &box : dialogs.shown)
        texts.append(box.kind + ": " + box.text);
    return texts;
}

class TestLookUp : public QObject
{
    Q_OBJECT

private slots:
    void lookUp_data();
    void lookUp();
    void browse_data();
    void browse();
};

// The English text marks the cursor with one '|', a selection with two. A word looked up that is
// not a key is named in the not-found box.
void TestLookUp::lookUp_data()
{
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("keyBefore");
    QTest::addColumn<QString>("keys"); // stored, comma-separated, each with its meaning "m-" + key
    QTest::addColumn<QString>("keyAfter");
    auto row = [](const char *name, const char *english, const char *keyBefore, const char *keys,
                  const char *keyAfter) {
        QTest::newRow(name) << QString(english) << QString(keyBefore) << QString(keys)
                            << QString(keyAfter);
    };
    row("cursor inside Running", "Run|ning fast", "", "run,sit", "run");
    row("cursor on the full stop after books: the word before it", "books|.", "boot", "book,boot",
        "book");
    row("no letter on either side: the key field", "walk | home", "WALL", "walk,wall", "wall");
    row("a word in a later paragraph", "first line\nthen |Walking", "", "walk,wall", "walk");
    row("a selected phrase", "See |The Old man| go", "", "the old man,zzz", "the old man");
    row("a key with capitals is never inside", "|unbook", "", "un,unbooK,zzz", "un");
    row("not found ends after one message", "|xyzzy", "", "abc", "xyzzy");
    row("no key inside the word: not found", "|well-being", "", "walk,wellness", "well");
    row("nothing at the cursor, empty key", "|  ", "", "walk", "");
}

void TestLookUp::lookUp()
{
    QFETCH(QString, english);
    QFETCH(QString, keyBefore);
    QFETCH(QString, keys);
    QFETCH(QString, keyAfter);
    QList<vantro::test::KeyData> pairs;
    for (const QString &key : keys.split(','))
        pairs.append({key.toLatin1(), "m-" + key.toLatin1()});
    WorkspaceFixture fx;
    QVERIFY(vantro::test::DbUtilities::load(fx.path("morvak.db"), pairs));
    MainForm &form = fx.open();
    const int anchor = int(english.indexOf('|'));
    const int position = int(english.lastIndexOf('|') - english.count('|') + 1);
    english.remove('|');
    form.english->setPlainText(english);
    selectRange(form.english, anchor, position);
    form.ledEng->setText(keyBefore);

    form.btnLookUp->click();

    QCOMPARE(form.ledEng->text(), keyAfter);
    const bool notFound = !keyAfter.isEmpty() && !keys.split(',').contains(keyAfter);
    QCOMPARE(boxTexts(fx.dialogs),
             notFound ? QStringList{"information: " + keyAfter + " not found"} : QStringList());
    QCOMPARE(form.tedITRANS->toPlainText(),
             notFound || keyAfter.isEmpty() ? QString() : "m-" + keyAfter);
    QCOMPARE(form.english->toPlainText(), english);
}

// Browse loads a file into the English pane and gives it the focus. A file it cannot read leaves
// the pane, its cursor and the focus as they were and says why. A path that does not exist
// stands for an unreadable file: root reads any existing one.
void TestLookUp::browse_data()
{
    QTest::addColumn<bool>("readable");
    QTest::newRow("readable") << true;
    QTest::newRow("unreadable") << false;
}

void TestLookUp::browse()
{
    QFETCH(bool, readable);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.english->setPlainText("kept text");
    selectRange(form.english, 5, 5);
    form.itrans->setFocus();
    const QByteArray content = "The <b>old</b> man\nand the sea";
    const QString path = readable ? fx.write("english.txt", content) : fx.path("missing.txt");
    fx.dialogs.setNextFileName(path);

    const auto captured = captureOutput([&] { form.btnBrowse->click(); });

    QCOMPARE(form.english->toPlainText(), readable ? QString(content) : "kept text");
    QCOMPARE(form.focusWidget(), readable ? form.english : form.itrans);
    QCOMPARE(captured.out, readable ? QByteArray() : "could not read " + path.toLocal8Bit() + "\n");
    QCOMPARE(boxTexts(fx.dialogs).mid(1), readable
                                              ? QStringList()
                                              : QStringList{"information: Could not read " + path +
                                                            "\nNo such file or directory"});
    if (!readable)
        QCOMPARE(form.english->textCursor().position(), 5);
}

QTEST_MAIN(TestLookUp)
#include "tst_lookup.moc"
