// The main window's tabs of open explorers, their menu's rules, the caption, help by context
// and the F1 key.

#include "app/MainForm.h"
#include "app/HelpForm.h"
#include "platform/ConfigStore.h"
#include "settings/GlobalOptions.h"
#include "support/TempDir.h"
#include "widgets/ActionList.h"

#include <QAction>
#include <QTabBar>
#include <QTest>

using namespace qx;
using namespace qx::test;

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
        QCOMPARE(form.AddRemoteExpTab(QStringLiteral("one.example"), &first), 0);
        QCOMPARE(form.AddRemoteExpTab(QStringLiteral("two.example"), &second), 1);
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

    void helpOpensAtTheContextOfTheFocusedWindow() {
        THelpForm help;
        help.ShowContext(1004);
        QCOMPARE(help.CurrentPage(), QStringLiteral("remoteexplorer.html"));
        help.ShowContext(4242);
        QCOMPARE(help.CurrentPage(), QStringLiteral("welcome.html"));

        THelpKey key(help);
        QWidget window;
        window.setProperty("helpContext", 1002);
        auto* inner = new QWidget(&window);
        inner->setFocusPolicy(Qt::StrongFocus);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        inner->installEventFilter(&key);
        QTest::keyClick(inner, Qt::Key_F1);
        QCOMPARE(help.CurrentPage(), QStringLiteral("carrier.html"));
    }
};

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
