// SPDX-License-Identifier: GPL-3.0-or-later
// Help > Contents, Index and About: the help window, its viewer and the about text.

#include "dlghw.h"
#include "mimesource.h"
#include "version.h"
#include "workspacefixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

namespace {

// The program's directory, holding html/ with a start page, beside a main window that works
// in a directory of its own, where a start page that is not the help lies as a decoy.
class HelpFixture : public WorkspaceFixture
{
public:
    HelpFixture()
    {
        QDir(appDir.path()).mkpath(QStringLiteral("html"));
        QFile::copy(write("nuvelto.html", "<h1>Start page</h1><img src=\"tex6918.jpg\"><img "
                                          "src=\"https://www.qt.io/logo.png\">"),
                    helpPath("nuvelto.html"));
        write("nuvelto.html", "<p>Not the help</p>");
        QFile::copy(write("second.html", "<p>Second page</p>"), helpPath("second.html"));
        open().setAppDirPath(appDir.path() + QLatin1Char('/'));
    }
    ~HelpFixture() { MimeSourceFactory::defaultFactory()->setFilePath({}); }

    QString helpPath(const QString &name) const { return appDir.filePath("html/" + name); }
    dlgHW *contents()
    {
        form->helpContentsAction->trigger();
        return form->helpWindow();
    }
    QString shownText() const { return form->helpWindow()->textBrowser->toPlainText(); }

    QTemporaryDir appDir;
};

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void contentsOpensOneWindowAtTheStartPage();
    void helpDirectory_data();
    void helpDirectory();
    void viewerPictures_data();
    void viewerPictures();
    void indexAndTheRealAboutBox();
    void keyboardSummaryAndIndexCoverEveryCommand();
};

// Close only hides the window; a second Contents replaces it by a fresh one at the start page.
void TestHelp::contentsOpensOneWindowAtTheStartPage()
{
    HelpFixture fx;
    QPointer<dlgHW> first = fx.contents();
    QVERIFY(first->isVisible() && !first->isModal() && first->parentWidget() == fx.form.get());
    first->textBrowser->setSource(QUrl("second.html"));
    // A link to the web is never followed: the viewer stays on its page.
    first->textBrowser->setSource(QUrl("https://www.qt.io/"));
    QTest::mouseClick(first->btnClose, Qt::LeftButton);
    QVERIFY(first && !first->isVisible() && fx.form->helpWindow() == first);
    QCOMPARE(fx.shownText(), "Second page");

    dlgHW *second = fx.contents();
    QVERIFY(!first && second->isVisible());
    QCOMPARE(fx.form->findChildren<dlgHW *>().size(), 1);
    QCOMPARE(second->textBrowser->source(), QUrl("nuvelto.html"));
    QVERIFY(fx.shownText().startsWith("Start page"));
}

// Directories are relative to the fixture's program directory, whose html/ holds a start page
// in every row, so the program's own html/ is always
// found there when the program lies at the top. The help directory comes first on the search path.
void TestHelp::helpDirectory_data()
{
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<QStringList>("moreStartPages");
    QTest::addColumn<QString>("helpDir");
    const QString installed = QStringLiteral("share/vantro/html/");
    QTest::newRow("installed") << QString("bin/") << QStringList{installed} << installed;
    QTest::newRow("beside wins") << QString("bin/") << QStringList{"bin/html/", installed}
                                 << "bin/html/";
    QTest::newRow("no start page") << QString("nowhere/") << QStringList() << "nowhere/html/";
}

void TestHelp::helpDirectory()
{
    QFETCH(QString, programDir);
    QFETCH(QStringList, moreStartPages);
    QFETCH(QString, helpDir);
    HelpFixture fx;
    const QString top = fx.appDir.path() + QLatin1Char('/');
    for (const QString &dir : moreStartPages)
        QVERIFY(QDir().mkpath(top + dir) &&
                QFile::copy(fx.helpPath("nuvelto.html"), top + dir + "nuvelto.html"));
    fx.form->setAppDirPath(top + programDir);
    QVERIFY(fx.contents()->isVisible());
    const QStringList path = MimeSourceFactory::defaultFactory()->filePath();
    QCOMPARE(path.first(), top + helpDir);
    // Without a start page in the help directory, nothing else is shown in its place.
    QCOMPARE(fx.shownText().left(10),
             QFile::exists(path.first() + "nuvelto.html") ? "Start page" : "");
    QVERIFY(fx.dialogs.shown.isEmpty());
}

// Pictures come from the help directory, else from those compiled into the program; never from
// the working directory or the web.
void TestHelp::viewerPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("writtenTo"); // a 9x4 picture written first: "help", "work" or none
    QTest::addColumn<QSize>("size");
    QTest::newRow("compiled in") << QString("Quorvela.png") << QString() << QSize(186, 215);
    QTest::newRow("on the start page") << QString("tex6918.jpg") << QString() << QSize(317, 52);
    QTest::newRow("help directory wins") << QString("tex6918.jpg") << "help" << QSize(9, 4);
    QTest::newRow("working directory") << QString("extra.png") << "work" << QSize(0, 0);
    QTest::newRow("web address") << QString("https://www.qt.io/logo.png") << "" << QSize(0, 0);
}

void TestHelp::viewerPictures()
{
    QFETCH(QString, name);
    QFETCH(QString, writtenTo);
    HelpFixture fx;
    QImage picture(9, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    if (!writtenTo.isEmpty())
        QVERIFY(picture.save(writtenTo == "help" ? fx.helpPath(name) : fx.path(name), "PNG"));
    const QVariant shown =
        fx.contents()->textBrowser->document()->resource(QTextDocument::ImageResource, QUrl(name));
    QTEST(shown.value<QImage>().size(), "size");
    QVERIFY(shown.toByteArray().isEmpty());
}

// Index opens the help window at the page that lists every page; About shows the real box over
// the window, naming the toolkit and the database library the program is built with.
void TestHelp::indexAndTheRealAboutBox()
{
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.helpIndexAction->trigger();
    QVERIFY(fx.dialogs.shown.isEmpty() && form.helpWindow()->isVisible());
    QCOMPARE(form.helpWindow()->textBrowser->source(), QUrl("index.html"));

    Dialogs::setCurrent(nullptr); // the real boxes, for this test only
    QStringList lines;
    QTimer::singleShot(50, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        lines = (box->windowTitle() + '\n' + box->text()).split('\n');
        QCOMPARE(box->parentWidget(), &form);
        box->buttons().constFirst()->click();
    });
    form.helpAboutAction->trigger();
    Dialogs::setCurrent(&fx.dialogs);
    QVERIFY(lines.at(4).startsWith("Qt " QT_VERSION_STR " "));
    QVERIFY(lines.at(4).endsWith("Berkeley DB " + vantro::databaseLibraryVersion()));
}

// The program's own help pages list every key of the window in the keyboard summary, and give
// every menu command an entry of the index.
void TestHelp::keyboardSummaryAndIndexCoverEveryCommand()
{
    const auto page = [](const char *name) {
        QFile file(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../../html/") + name);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const QString start = page("nuvelto.html");
    const QString summary = start.mid(start.indexOf("name=\"keys\""));
    const QString summaryTable = summary.left(summary.indexOf("</table>"));
    const QString index = page("index.html");
    QVERIFY(!summaryTable.isEmpty() && !index.isEmpty());
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    QStringList missingKeys;
    for (QAction *action : form.findChildren<QAction *>())
        if (!action->shortcut().isEmpty() &&
            !summaryTable.contains("<td>" + action->shortcut().toString() + "</td>"))
            missingKeys << action->shortcut().toString();
    for (QAbstractButton *button : form.findChildren<QAbstractButton *>())
        if (!button->shortcut().isEmpty() &&
            !summaryTable.contains("<td>" + button->shortcut().toString() + "</td>"))
            missingKeys << button->shortcut().toString();
    QCOMPARE(missingKeys, QStringList());
    QStringList missingCommands;
    for (QAction *menu : form.menuBar()->actions())
        for (QAction *action : menu->menu()->actions()) {
            const QString command = QString(action->text()).remove('&').remove("...");
            if (!action->isSeparator() && !index.contains("<li>" + command, Qt::CaseInsensitive))
                missingCommands << command;
        }
    QCOMPARE(missingCommands, QStringList());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
