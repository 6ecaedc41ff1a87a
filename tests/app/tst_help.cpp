// Help > Contents, Index and About: the help window, its viewer and the about text.

#include "dlghw.h"
#include "helpbrowser.h"
#include "mimesource.h"
#include "version.h"
#include "workspacefixture.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

namespace {

const QByteArray kStartPage = "<html><body><h1>Start page</h1>"
                              "<img src=\"tex6918.jpg\"><img src=\"https://www.qt.io/logo.png\">"
                              "<a href=\"second.html\">second</a></body></html>";

bool writePng(const QString &path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return image.save(path, "PNG");
}

// The program's directory, holding html/ with a start page, beside a main window that works
// in a directory of its own.
class HelpFixture : public WorkspaceFixture
{
public:
    HelpFixture()
    {
        QDir(appDir.path()).mkpath(QStringLiteral("html"));
        writePage(QStringLiteral("nuvelto.html"), kStartPage);
        writePage(QStringLiteral("second.html"), "<html><body><p>Second page</p></body></html>");
        open().setAppDirPath(appDir.path() + QLatin1Char('/'));
    }
    ~HelpFixture() { MimeSourceFactory::defaultFactory()->setFilePath({}); }

    QString helpPath(const QString &name) const
    {
        return appDir.filePath(QLatin1String("html/") + name);
    }

    void writePage(const QString &name, const QByteArray &bytes) const
    {
        QFile file(helpPath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    dlgHW *contents()
    {
        form->helpContentsAction->trigger();
        return form->helpWindow();
    }

    QTemporaryDir appDir;
};

QString visibleText(dlgHW *window)
{
    return window->textBrowser->document()->toPlainText();
}

QImage viewerImage(dlgHW *window, const QString &name)
{
    return window->textBrowser->loadResource(QTextDocument::ImageResource, QUrl(name))
        .value<QImage>();
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void contentsTwiceLeavesOneWindowAtTheStartPage();
    void helpWindowIsBuiltAsDescribed();
    void metaObjectDeclaresTwoSlots();
    void closeButtonOnlyHides();
    void searchPathIsTheHelpDirectoryThenWebAddresses_data();
    void searchPathIsTheHelpDirectoryThenWebAddresses();
    void viewerShowsEmbeddedPictureWhenHelpLacksIt();
    void fileInHelpDirectoryWinsOverEmbeddedPicture();
    void webAddressesAreNeverFetched();
    void missingStartPageStillOpensTheWindow();
    void indexDoesNothing();
    void aboutTextLines();
    void realAboutBoxShowsTheTextAndCloses();
};

void TestHelp::contentsTwiceLeavesOneWindowAtTheStartPage()
{
    HelpFixture fx;
    QVERIFY(!fx.form->helpWindow());
    QPointer<dlgHW> first = fx.contents();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QVERIFY(!first->isModal());
    QCOMPARE(first->parentWidget(), fx.form.get());
    first->textBrowser->setSource(QUrl(QStringLiteral("second.html")));
    QVERIFY(visibleText(first).contains(QLatin1String("Second page")));
    first->textBrowser->backward();
    QVERIFY(visibleText(first).contains(QLatin1String("Start page")));

    dlgHW *second = fx.contents();
    QVERIFY(!first);
    QCOMPARE(fx.form->findChildren<dlgHW *>().size(), 1);
    QCOMPARE(fx.form->helpWindow(), second);
    QVERIFY(second->isVisible());
    QCOMPARE(second->textBrowser->source(), QUrl(QStringLiteral("nuvelto.html")));
    QVERIFY(visibleText(second).contains(QLatin1String("Start page")));
    QVERIFY(fx.dialogs.shown.isEmpty());
}

void TestHelp::helpWindowIsBuiltAsDescribed()
{
    HelpFixture fx;
    dlgHW *window = fx.contents();
    QCOMPARE(window->objectName(), QStringLiteral("dlgHW"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Dorvimal"));
    QCOMPARE(window->size(), QSize(882, 651).expandedTo(window->minimumSizeHint()));
    QVERIFY(!window->layout());

    QCOMPARE(window->btnClose->objectName(), QStringLiteral("btnClose"));
    QCOMPARE(window->btnClose->geometry(), QRect(10, 10, 61, 30));
    QCOMPARE(window->btnClose->text(), QStringLiteral("&Close"));
    QCOMPARE(window->btnClose->shortcut(), QKeySequence(QStringLiteral("Alt+C")));

    QTextBrowser *viewer = window->textBrowser;
    QCOMPARE(viewer->objectName(), QStringLiteral("textBrowser"));
    QCOMPARE(viewer->geometry(), QRect(10, 60, 860, 590));
    QCOMPARE(viewer->sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);
    QCOMPARE(viewer->sizePolicy().verticalPolicy(), QSizePolicy::Maximum);
    QCOMPARE(viewer->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(viewer->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(viewer->autoFormatting(), QTextEdit::AutoAll);

    // Widgets keep their places when the window grows.
    window->resize(1200, 900);
    QCOMPARE(viewer->geometry(), QRect(10, 60, 860, 590));

    dlgHW named(nullptr, "helper", true);
    QCOMPARE(named.objectName(), QStringLiteral("helper"));
    QVERIFY(named.isModal());
}

void TestHelp::metaObjectDeclaresTwoSlots()
{
    const QMetaObject &meta = dlgHW::staticMetaObject;
    QCOMPARE(meta.superClass(), &QDialog::staticMetaObject);
    QCOMPARE(meta.methodCount() - meta.methodOffset(), 2);
    const QMetaMethod first = meta.method(meta.methodOffset());
    const QMetaMethod second = meta.method(meta.methodOffset() + 1);
    QCOMPARE(first.methodSignature(), QByteArray("setAppDirPath(QString)"));
    QCOMPARE(first.access(), QMetaMethod::Public);
    QCOMPARE(second.methodSignature(), QByteArray("languageChange()"));
    QCOMPARE(second.access(), QMetaMethod::Protected);
    QVERIFY(first.methodType() == QMetaMethod::Slot && second.methodType() == QMetaMethod::Slot);
}

void TestHelp::closeButtonOnlyHides()
{
    HelpFixture fx;
    QPointer<dlgHW> window = fx.contents();
    window->textBrowser->setSource(QUrl(QStringLiteral("second.html")));
    QTest::mouseClick(window->btnClose, Qt::LeftButton);
    QVERIFY(window);
    QVERIFY(!window->isVisible());
    QCOMPARE(fx.form->helpWindow(), window.data());
    QVERIFY(visibleText(window).contains(QLatin1String("Second page")));
}

// Directories are relative to the fixture's; its own html/ holds a start page in every row.
void TestHelp::searchPathIsTheHelpDirectoryThenWebAddresses_data()
{
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<QStringList>("moreStartPages");
    QTest::addColumn<QString>("helpDir");
    const QString installed = QStringLiteral("share/vantro/html/");
    QTest::newRow("beside the program") << QString() << QStringList() << QString("html/");
    QTest::newRow("installed: bin/../share")
        << QString("bin/") << QStringList{installed} << installed;
    QTest::newRow("beside wins") << QString("bin/") << QStringList{"bin/html/", installed}
                                 << QString("bin/html/");
}

void TestHelp::searchPathIsTheHelpDirectoryThenWebAddresses()
{
    QFETCH(QString, programDir);
    QFETCH(QStringList, moreStartPages);
    QFETCH(QString, helpDir);
    HelpFixture fx;
    const QString top = fx.appDir.path() + QLatin1Char('/');
    for (const QString &dir : moreStartPages)
        QVERIFY(QDir().mkpath(top + dir) && QFile::copy(fx.helpPath(QStringLiteral("nuvelto.html")),
                                                        top + dir + "nuvelto.html"));
    fx.form->setAppDirPath(top + programDir);
    fx.contents();
    const QStringList path = MimeSourceFactory::defaultFactory()->filePath();
    QCOMPARE(path.size(), 4);
    QCOMPARE(path.first(), top + helpDir);
    for (const QString &entry : path.mid(1))
        QVERIFY2(vantro::HelpBrowser::isWebAddress(QUrl(entry)), qPrintable(entry));
}

void TestHelp::viewerShowsEmbeddedPictureWhenHelpLacksIt()
{
    HelpFixture fx;
    dlgHW *window = fx.contents();
    QCOMPARE(viewerImage(window, QStringLiteral("Quorvela.png")).size(), QSize(186, 215));
    const QVariant shown = window->textBrowser->document()->resource(
        QTextDocument::ImageResource, QUrl(QStringLiteral("tex6918.jpg")));
    QCOMPARE(shown.value<QImage>().size(), QSize(317, 52));
}

void TestHelp::fileInHelpDirectoryWinsOverEmbeddedPicture()
{
    HelpFixture fx;
    QVERIFY(writePng(fx.helpPath(QStringLiteral("tex6918.jpg")), 9, 4));
    dlgHW *window = fx.contents();
    QCOMPARE(viewerImage(window, QStringLiteral("tex6918.jpg")).size(), QSize(9, 4));
}

void TestHelp::webAddressesAreNeverFetched()
{
    HelpFixture fx;
    dlgHW *window = fx.contents();
    const QVariant picture = window->textBrowser->loadResource(
        QTextDocument::ImageResource, QUrl(QStringLiteral("https://www.qt.io/logo.png")));
    QVERIFY(picture.value<QImage>().isNull());
    QVERIFY(picture.toByteArray().isEmpty());
    for (const QString &entry : MimeSourceFactory::defaultFactory()->filePath().mid(1))
        QVERIFY(MimeSourceFactory::defaultFactory()->data(entry).isNull());

    // Following a link to the web leaves the viewer on its page.
    window->textBrowser->setSource(QUrl(QStringLiteral("https://www.qt.io/")));
    QCOMPARE(window->textBrowser->source(), QUrl(QStringLiteral("nuvelto.html")));
    QVERIFY(visibleText(window).contains(QLatin1String("Start page")));
}

void TestHelp::missingStartPageStillOpensTheWindow()
{
    HelpFixture fx;
    // A start page in the working directory must not be picked up instead.
    fx.write(QStringLiteral("nuvelto.html"), "<p>Not the help</p>");
    fx.form->setAppDirPath(fx.dir.filePath(QStringLiteral("nowhere")) + QLatin1Char('/'));
    dlgHW *window = fx.contents();
    QVERIFY(window->isVisible());
    QVERIFY(visibleText(window).trimmed().isEmpty());
    QVERIFY(fx.dialogs.shown.isEmpty());

    // Nor is a picture that neither the help directory nor the program has.
    QVERIFY(writePng(fx.path(QStringLiteral("extra.png")), 2, 2));
    const QVariant picture = window->textBrowser->document()->resource(
        QTextDocument::ImageResource, QUrl(QStringLiteral("extra.png")));
    QVERIFY(picture.value<QImage>().isNull());
    QVERIFY(picture.toByteArray().isEmpty());
}

void TestHelp::indexDoesNothing()
{
    HelpFixture fx;
    const QWidgetList before = QApplication::topLevelWidgets();
    fx.form->helpIndexAction->trigger();
    QVERIFY(fx.form->findChildren<QDialog *>().isEmpty());
    QCOMPARE(QApplication::topLevelWidgets().size(), before.size());
    QVERIFY(fx.dialogs.shown.isEmpty());
    QCOMPARE(fx.dialogs.unscripted, 0);
}

void TestHelp::aboutTextLines()
{
    HelpFixture fx;
    fx.form->helpAboutAction->trigger();
    QCOMPARE(fx.dialogs.shown.size(), 1);
    const ScriptedDialogs::Shown &box = fx.dialogs.shown.first();
    QCOMPARE(box.kind, QStringLiteral("about"));
    QCOMPARE(box.title, QStringLiteral("Dorvimal"));
    QCOMPARE(box.parent, fx.form.get());

    const QStringList lines = box.text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines.at(0), QStringLiteral("VANTRO is a Linux-based "));
    QVERIFY(lines.at(1).endsWith(QLatin1Char(',')) &&
            lines.at(1).contains(QLatin1String("Sanskrit")));
    QCOMPARE(lines.at(2), QStringLiteral("designed and developed using"));
    // The toolkit and the database library are those the program is really built with.
    QVERIFY(lines.at(3).startsWith(QLatin1String("Qt " QT_VERSION_STR " ")));
    QVERIFY(lines.at(3).endsWith(QLatin1String("Berkeley DB ") + vantro::databaseLibraryVersion()));
    QVERIFY(lines.at(4).startsWith(QLatin1String("of ")) && lines.at(4).endsWith(QLatin1Char(',')));
    QCOMPARE(lines.at(5), QString(24, QLatin1Char(' ')) + QLatin1String("by"));
    QVERIFY(
        QRegularExpression(QStringLiteral("^\\S.* \\(.+@.+\\)$")).match(lines.at(6)).hasMatch());
    QCOMPARE(lines.at(7), QStringLiteral("- for the benefit of those who wish to re-vitalize"));
    QCOMPARE(lines.at(8), QStringLiteral("saMskR^itaM by translating texts from English into it,"));
    QCOMPARE(lines.at(9), QStringLiteral("using ITRANS as a fluent and flexible medium."));
}

void TestHelp::realAboutBoxShowsTheTextAndCloses()
{
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    Dialogs::setCurrent(nullptr); // the real boxes, for this test only
    QString title;
    QString text;
    int buttons = -1;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        buttons = int(box->buttons().size());
        box->buttons().first()->click();
    });
    closer.start(20);
    form.helpAbout();
    Dialogs::setCurrent(&fx.dialogs);
    QCOMPARE(title, QStringLiteral("Dorvimal"));
    QCOMPARE(buttons, 1);
    QCOMPARE(text.count(QLatin1Char('\n')), 9);
    QVERIFY(text.startsWith(QLatin1String("VANTRO is a Linux-based \n")));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
