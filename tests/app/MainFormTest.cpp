// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's tabs of open explorers, their menu's rules, the caption, help by context
// and the F1 key, and links that no program opens.

#include "app/MainForm.h"
#include "app/ExternalLink.h"
#include "app/HelpForm.h"
#include "platform/ConfigStore.h"
#include "settings/GlobalOptions.h"
#include "support/TempDir.h"
#include "widgets/ActionList.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTabBar>
#include <QTest>
#include <QTimer>

using namespace qx;
using namespace qx::test;

namespace {
// The tab of an explorer named by its host alone.
TRemoteExpTabName HostOnly(const char* host) {
    return {QLatin1String(host), {}, {}, {}};
}

// A main window with the tabs of two explorers, the first one current.
struct TTwoExplorers {
    TempDir dir;
    TConfigStore store{dir.path() / "settings.conf"};
    TGlobalOptions options{store};
    TMainForm form{options, {}};
    QWidget first;
    QWidget second;

    TTwoExplorers() {
        first.show();
        second.show();
        form.AddRemoteExpTab(HostOnly("one.example"), &first);
        form.AddRemoteExpTab(HostOnly("two.example"), &second);
        form.SelectRemoteExpTab(&first);
        form.show();
    }
};
} // namespace

class MainFormTest : public QObject {
    Q_OBJECT

    static QAction* ActionNamed(TMainForm& form, const QString& caption) {
        for (QAction* action : form.actions()) {
            if (action->text() == caption) {
                return action;
            }
        }
        return nullptr;
    }

private Q_SLOTS:
    void tabsFollowTheExplorers() {
        TempDir dir;
        TConfigStore store(dir.path() / "settings.conf");
        TGlobalOptions options(store);
        int appearance = 0;
        TMainForm::Commands commands;
        commands.ApplyAppearance = [&appearance] { ++appearance; };
        TMainForm form(options, commands);
        QCOMPARE(appearance, 1); // at creation
        form.Actions()->UpdateAll();
        QAction* close = ActionNamed(form, QStringLiteral("&Close"));
        QAction* restore = ActionNamed(form, QStringLiteral("&Restore"));
        QVERIFY(close != nullptr && restore != nullptr);
        QVERIFY(!close->isEnabled());
        QVERIFY(!restore->isEnabled());
        QVERIFY(form.CaptionText().isEmpty());

        QWidget first;
        QWidget second;
        first.show();
        second.show();
        QCOMPARE(form.AddRemoteExpTab(HostOnly("one.example"), &first), 0);
        QCOMPARE(form.AddRemoteExpTab(HostOnly("two.example"), &second), 1);
        form.SelectRemoteExpTab(&second);
        QCOMPARE(form.GetActiveRemoteExp(), &second);
        form.Actions()->UpdateAll();
        QVERIFY(close->isEnabled());
        QVERIFY(!restore->isEnabled()); // not minimised

        // A right press on a tab that is not current makes it current first.
        QTabBar* tabs = form.RemoteExpListTabControl();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mousePress(tabs, Qt::RightButton, {}, tabs->tabRect(0).center());
        QCOMPARE(form.GetActiveRemoteExp(), &first);

        form.SetCaptionText(QStringLiteral("[anonymous@one.example, 127.0.0.1]"));
        form.DeleteRemoteExpTab(&first);
        QCOMPARE(form.RemoteExpTabCount(), 1);
        form.DeleteRemoteExpTab(&second);
        QCOMPARE(form.RemoteExpTabCount(), 0);
        QVERIFY(form.CaptionText().isEmpty()); // the last one took its caption along
        QCOMPARE(form.GetActiveRemoteExp(), nullptr);
    }

    void theTabMenuRestoresAMinimisedExplorer() {
        TTwoExplorers bench;
        TMainForm& form = bench.form;
        QWidget& second = bench.second;
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QAction* restore = ActionNamed(form, QStringLiteral("&Restore"));
        QAction* minimize = ActionNamed(form, QStringLiteral("&Minimize"));

        second.showMinimized();
        form.SelectRemoteExpTab(&second);
        form.Actions()->UpdateAll();
        QVERIFY(restore->isEnabled());
        QVERIFY(!minimize->isEnabled());
        QVERIFY(TActionList::Run(restore));
        QVERIFY(!second.isMinimized());
        form.Actions()->UpdateAll();
        QVERIFY(!restore->isEnabled());
        QVERIFY(TActionList::Run(minimize));
        QVERIFY(second.isMinimized());

        // A left click on a tab brings a minimised explorer back.
        QTabBar* tabs = form.RemoteExpListTabControl();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QVERIFY(!second.isMinimized());
    }

    void rightPressOnTheTabOfAMinimisedExplorerRestoresIt() {
        TTwoExplorers bench;
        TMainForm& form = bench.form;
        QWidget& second = bench.second;
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        second.showMinimized();
        QTabBar* tabs = form.RemoteExpListTabControl();
        QTest::mousePress(tabs, Qt::RightButton, {}, tabs->tabRect(1).center());
        QCOMPARE(form.GetActiveRemoteExp(), &second);
        QVERIFY(!second.isMinimized());
        QVERIFY(second.isVisible());
    }

    // A closing explorer hides at once; its tab stays until it has gone, showing it no more.
    void theTabOfAClosingExplorerShowsItNoMore() {
        TTwoExplorers bench;
        QVERIFY(QTest::qWaitForWindowExposed(&bench.form));
        bench.second.hide();
        bench.form.DisableRemoteExpTab(&bench.second);
        QTabBar* tabs = bench.form.RemoteExpListTabControl();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QTest::mousePress(tabs, Qt::RightButton, {}, tabs->tabRect(1).center());
        QVERIFY(!bench.second.isVisible());
        QCOMPARE(bench.form.RemoteExpTabCount(), 2);
    }

    void tabsOfTheSameHostTellTheirLoginsApart() {
        TempDir dir;
        TConfigStore store(dir.path() / "settings.conf");
        TGlobalOptions options(store);
        TMainForm form(options, {});
        QWidget explorers[5];
        const auto name = [](const char* user, const char* port, const char* site) {
            return TRemoteExpTabName{QStringLiteral("127.0.0.1"), QLatin1String(user),
                                     QLatin1String(port), QLatin1String(site)};
        };
        QTabBar* tabs = form.RemoteExpListTabControl();
        const auto texts = [tabs] {
            QStringList all;
            for (int index = 0; index < tabs->count(); ++index) {
                all << tabs->tabText(index);
            }
            return all;
        };
        form.AddRemoteExpTab(name("anonymous", "2121", ""), &explorers[0]);
        QCOMPARE(texts(), QStringList{"127.0.0.1"});
        form.AddRemoteExpTab(name("user", "2121", "Uploads"), &explorers[1]);
        form.AddRemoteExpTab(HostOnly("ftp.example"), &explorers[2]);
        QCOMPARE(texts(), (QStringList{"anonymous@127.0.0.1", "user@127.0.0.1", "ftp.example"}));
        form.AddRemoteExpTab(name("user", "2121", "Archive"), &explorers[3]);
        form.AddRemoteExpTab(name("user", "2222", "Archive"), &explorers[4]);
        QCOMPARE(texts(),
                 (QStringList{"anonymous@127.0.0.1", "user@127.0.0.1:2121 (Uploads)", "ftp.example",
                              "user@127.0.0.1:2121 (Archive)", "user@127.0.0.1:2222"}));
        form.DeleteRemoteExpTab(&explorers[1]);
        form.DeleteRemoteExpTab(&explorers[4]);
        QCOMPARE(texts(), (QStringList{"anonymous@127.0.0.1", "ftp.example", "user@127.0.0.1"}));
        form.DeleteRemoteExpTab(&explorers[0]);
        QCOMPARE(texts(), (QStringList{"ftp.example", "127.0.0.1"}));
    }

    void helpOpensAtTheContextOfTheFocusedWindow() {
        THelpForm help;
        help.ShowContext(1004);
        QCOMPARE(help.CurrentPage(), QStringLiteral("remoteexplorer.html"));
        help.ShowContext(4242);
        QCOMPARE(help.CurrentPage(), QStringLiteral("welcome.html"));

        // As in the program: the key filter watches the whole application, and the key comes
        // through the window system, which hands it to the window before the focused widget.
        THelpKey key(help);
        qApp->installEventFilter(&key);
        const auto removeFilter = qScopeGuard([&key] { qApp->removeEventFilter(&key); });
        QWidget window;
        window.setProperty("helpContext", 1002);
        auto* inner = new QLineEdit(&window);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        inner->setFocus();
        QTest::keyClick(window.windowHandle(), Qt::Key_F1);
        QCOMPARE(help.CurrentPage(), QStringLiteral("carrier.html"));

        // A dialog without a context of its own opens the help of its window.
        help.ShowContext(1000);
        QDialog dialog(&window);
        auto* field = new QLineEdit(&dialog);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        field->setFocus();
        QTest::keyClick(dialog.windowHandle(), Qt::Key_F1);
        QCOMPARE(help.CurrentPage(), QStringLiteral("carrier.html"));
        dialog.setProperty("helpContext", 1006);
        QTest::keyClick(dialog.windowHandle(), Qt::Key_F1);
        QCOMPARE(help.CurrentPage(), QStringLiteral("siteproperties.html"));
    }

    void aLinkThatNoProgramOpensIsShownForCopying() {
        QStringList shown;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown << box->text();
                QVERIFY(box->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
                box->accept();
            }
        });
        closer.start(20);
        OpenExternalLink(nullptr, QUrl(QStringLiteral("mailto:dev@quorvin.example?subject=Hi")),
                         QStringLiteral("dev@quorvin.example"), [](const QUrl&) { return false; });
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].contains(QLatin1String("mail program")), qPrintable(shown[0]));
        QVERIFY(shown[0].contains(QLatin1String("[dev@quorvin.example]")));
        OpenExternalLink(nullptr, QUrl(QStringLiteral("https://quorvin.example/")),
                         QStringLiteral("https://quorvin.example/"),
                         [](const QUrl&) { return false; });
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[1].contains(QLatin1String("[https://quorvin.example/]")));

        QUrl opened;
        OpenExternalLink(nullptr, QUrl(QStringLiteral("https://quorvin.example/")),
                         QStringLiteral("https://quorvin.example/"), [&opened](const QUrl& url) {
                             opened = url;
                             return true;
                         });
        QCOMPARE(opened, QUrl(QStringLiteral("https://quorvin.example/")));
        QTest::qWait(100);
        QCOMPARE(shown.size(), 2); // nothing to say
    }
};

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
