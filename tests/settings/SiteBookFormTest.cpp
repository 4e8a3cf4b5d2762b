// SPDX-License-Identifier: GPL-3.0-or-later
// The site book window over a temporary store: its commands with their enable rules and
// messages, label editing, the drop target of a right click, the tools, the node pictures, its
// place and its settings. The tree model is watched by QAbstractItemModelTester throughout.

#include "settings/gui/SiteBookForm.h"

#include "platform/ConfigStore.h"
#include "settings/GlobalOptions.h"
#include "settings/StoreKeys.h"
#include "settings/gui/SiteBookTreeModel.h"
#include "settings/gui/SiteBookTreeView.h"
#include "settings/gui/SitePropertiesForm.h"
#include "support/TempDir.h"
#include "widgets/ActionList.h"
#include "widgets/QtShellIcons.h"
#include "widgets/TitlePanel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <fstream>
#include <memory>
#include <vector>

using namespace qx;

namespace {

const std::string Tree(SiteBookTreeKey);

struct TShownMessage {
    QMessageBox::Icon Icon;
    QString Title;
    QString Text;
};

struct TStarted {
    QString Program;
    QStringList Arguments;
};

} // namespace

class SiteBookFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<TConfigStore> m_store;
    std::unique_ptr<TGlobalOptions> m_options;
    std::unique_ptr<TSiteBookForm> m_form;
    std::vector<TShownMessage> m_shown;
    QMessageBox::StandardButton m_answer = QMessageBox::Yes;
    std::function<int(TSitePropertiesForm&)> m_dialog;
    std::vector<TSiteProperties*> m_connected;
    std::vector<const TSiteProperties*> m_forgotten;
    std::vector<TStarted> m_started;
    bool m_startSucceeds = true;

    void AddKey(const std::string& path, const char* kind) {
        m_store->CreateKey(Tree + path);
        m_store->WriteString(Tree + path, "", kind);
    }

    void MakeForm() {
        m_form = std::make_unique<TSiteBookForm>(*m_store, *m_options);
        new QAbstractItemModelTester(&m_form->TreeModel(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     m_form.get());
        m_form->SetMessageBox([this](QWidget*, QMessageBox::Icon icon, const QString& title,
                                     const QString& text, QMessageBox::StandardButtons) {
            m_shown.push_back({icon, title, text});
            m_form->Tree().setFocus(); // as a real box, it takes the focus from an open editor
            return m_answer;
        });
        m_form->SetRunDialog([this](TSitePropertiesForm& dialog) {
            return m_dialog ? m_dialog(dialog) : int(TSitePropertiesForm::CancelResult);
        });
        m_form->SetConnect([this](TSiteProperties& site) { m_connected.push_back(&site); });
        m_form->SetForgetSite(
            [this](const TSiteProperties& site) { m_forgotten.push_back(&site); });
        m_form->SetStartProgram([this](const QString& program, const QStringList& arguments) {
            m_started.push_back({program, arguments});
            return m_startSucceeds;
        });
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    QModelIndex IndexOf(const char* location) {
        return m_form->TreeModel().IndexOf(m_form->Book().FindByLocation(location));
    }

    void Select(const char* location) {
        const QModelIndex index = IndexOf(location);
        QVERIFY(index.isValid());
        m_form->Tree().setCurrentIndex(index);
    }

    // As the user would: the enable rules are brought up to date whenever the program idles.
    void Run(QAction* action) {
        m_form->ActionList().UpdateAll();
        TActionList::Run(action);
    }

    bool Enabled(QAction* action) {
        m_form->ActionList().UpdateAll();
        return action->isEnabled();
    }

    // Types into the open label editor and confirms with Enter.
    void ConfirmLabel(const QModelIndex& index, const QString& text) {
        auto* editor = qobject_cast<QLineEdit*>(m_form->Tree().indexWidget(index));
        QVERIFY(editor != nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!m_form->Tree().IsEditingLabel());
        QCoreApplication::processEvents(); // the rename runs once the editor has closed
    }

    // A dialog run that names the site, sets its host and clicks a button.
    static std::function<int(TSitePropertiesForm&)>
    FillSite(const QString& name, const QString& host, const char* button) {
        return [=](TSitePropertiesForm& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("NameEdit"))->setText(name);
            dialog.findChild<QLineEdit*>(QStringLiteral("HostNameEdit"))->setText(host);
            dialog.findChild<QPushButton*>(QLatin1String(button))->click();
            return dialog.result();
        };
    }

private Q_SLOTS:
    void initTestCase() { InstallSharedShellIcons(std::make_unique<TQtShellIcons>()); }

    void init() {
        m_dir = std::make_unique<test::TempDir>();
        m_store = std::make_unique<TConfigStore>(m_dir->file("settings.conf"));
        m_options = std::make_unique<TGlobalOptions>(*m_store);
        m_shown.clear();
        m_answer = QMessageBox::Yes;
        m_dialog = nullptr;
        m_connected.clear();
        m_forgotten.clear();
        m_started.clear();
        m_startSucceeds = true;
    }

    void cleanup() {
        m_form.reset();
        m_options.reset();
        m_store.reset();
        m_dir.reset();
    }

    void anEmptyStoreShowsTheRootOnly() {
        MakeForm();
        const TSiteBookTreeModel& model = m_form->TreeModel();
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.rowCount(model.RootIndex()), 0);
        QCOMPARE(model.RootIndex().data().toString(),
                 QString::fromStdString(TSiteBookModel::CurrentUserName()));
        QCOMPARE(m_store->ReadString(Tree, ""), std::optional<std::string>("Folder"));
        QCOMPARE(
            m_form->findChild<TTitlePanel*>(QStringLiteral("SiteBookGradPanel"))->CaptionText(),
            QStringLiteral("Site Book [%1]").arg(model.RootIndex().data().toString()));

        const TSiteBookForm::TActions& a = m_form->Actions();
        QVERIFY(Enabled(a.NewFolder) && Enabled(a.NewSite) && Enabled(a.QuickConnect));
        QVERIFY(!Enabled(a.Connect) && !Enabled(a.Properties) && !Enabled(a.Ping));
        QVERIFY(!Enabled(a.Delete) && !Enabled(a.Rename)); // the root stays
        QVERIFY(!m_form->Tree().EditLabel(model.RootIndex()));
    }

    void importAsksWithTheListThenAddsIntoTheFolderAndExportWritesTheBook() {
        AddKey("\\Work", "Folder");
        MakeForm();
        const std::string list = m_dir->file("WinSCP.ini");
        std::ofstream(list) << "[Sessions\\Clients/Shop%20One]\nHostName=shop.example.com\n"
                               "FSProtocol=5\nFtps=1\n[Sessions\\Old]\nHostName=x\n"
                               "FSProtocol=6\n";
        QString chosen = QString::fromStdString(list);
        m_form->SetChooseFile([&](bool) { return chosen; });
        Select("\\Work");
        m_answer = QMessageBox::No;
        Run(m_form->Actions().Import);
        QCOMPARE(m_shown.size(), std::size_t(1));
        QVERIFY(m_shown[0].Text.contains(QStringLiteral("\\Work\\Clients\\Shop One")));
        QVERIFY(m_shown[0].Text.contains(QStringLiteral("Old")));
        QVERIFY(m_form->Book().FindByLocation("\\Work\\Clients") == nullptr);

        m_answer = QMessageBox::Yes;
        Run(m_form->Actions().Import);
        const QModelIndex site = IndexOf("\\Work\\Clients\\Shop One");
        QVERIFY(site.isValid());
        QCOMPARE(m_form->Tree().currentIndex(), site);
        const TSiteProperties& shop =
            *m_form->Book().FindByLocation("\\Work\\Clients\\Shop One")->Properties();
        QCOMPARE(shop.Encryption, TFtpTlsMode::Implicit);
        QCOMPARE(shop.Port, 990);

        chosen = QString::fromStdString(m_dir->file("out.sites"));
        Run(m_form->Actions().Export);
        QVERIFY(test::readFile(m_dir->file("out.sites")).find("shop.example.com") !=
                std::string::npos);
    }

    void loadShowsFoldersFirstAndTheStatusShowsTheSite() {
        AddKey("\\zeta", "Site");
        AddKey("\\Work", "Folder");
        AddKey("\\Work\\Mirror", "Site");
        m_store->WriteString(Tree + "\\Work\\Mirror", "HostName", "ftp.example.org");
        m_store->WriteString(Tree + "\\Work\\Mirror", "UserName", "alice");
        AddKey("\\Hand", "Other"); // neither a folder nor a site
        MakeForm();
        const QModelIndex root = m_form->TreeModel().RootIndex();
        QCOMPARE(m_form->TreeModel().rowCount(root), 2);
        QCOMPARE(m_form->TreeModel().index(0, 0, root).data().toString(), QStringLiteral("Work"));
        QVERIFY(m_form->Tree().isExpanded(IndexOf("\\Work"))); // the whole tree is open

        Select("\\Work\\Mirror");
        QCOMPARE(m_form->findChild<QLabel*>(QStringLiteral("SiteStatusLabel"))->text(),
                 QStringLiteral("alice@ftp.example.org"));
        Select("\\Work");
        QCOMPARE(m_form->findChild<QLabel*>(QStringLiteral("SiteStatusLabel"))->text(), QString());
    }

    void newFolderTakesTheLowestFreeNumberAndOpensItsLabel() {
        AddKey("\\New Folder #1", "Folder");
        AddKey("\\New Folder #3", "Folder");
        MakeForm();
        Run(m_form->Actions().NewFolder);
        QVERIFY(m_store->KeyExists(Tree + "\\New Folder #2"));
        QCOMPARE(m_store->ReadString(Tree + "\\New Folder #2", ""),
                 std::optional<std::string>("Folder"));
        const QModelIndex created = IndexOf("\\New Folder #2");
        QCOMPARE(m_form->Tree().currentIndex(), created);
        QVERIFY(m_form->Tree().IsEditingLabel());

        ConfirmLabel(created, QStringLiteral("Servers"));
        QVERIFY(m_shown.empty());
        QVERIFY(m_store->KeyExists(Tree + "\\Servers"));
        QVERIFY(!m_store->KeyExists(Tree + "\\New Folder #2"));
        QCOMPARE(created.data().toString(), QStringLiteral("Servers"));
        QCOMPARE(
            m_form->findChild<TTitlePanel*>(QStringLiteral("SiteBookGradPanel"))->CaptionText(),
            QStringLiteral("Site Book [Servers]"));
    }

    void acceptingTheProposedNameReportsThatItExists() {
        MakeForm();
        Run(m_form->Actions().NewFolder);
        const QModelIndex created = IndexOf("\\New Folder #1");
        ConfirmLabel(created, QStringLiteral("New Folder #1"));
        QCOMPARE(m_shown.size(), std::size_t(1)); // once, though the box took the focus
        QCOMPARE(m_shown[0].Icon, QMessageBox::Warning);
        QCOMPARE(m_shown[0].Title, QStringLiteral("Site Book Rename Error"));
        QCOMPARE(m_shown[0].Text, QStringLiteral("New name [New Folder #1] already exists."));
        QVERIFY(m_store->KeyExists(Tree + "\\New Folder #1"));
    }

    void renamingToASiblingInAnotherCaseIsRefused() {
        AddKey("\\Work", "Folder");
        AddKey("\\Home", "Site");
        MakeForm();
        Select("\\Home");
        Run(m_form->Actions().Rename);
        ConfirmLabel(IndexOf("\\Home"), QStringLiteral("WORK"));
        QCOMPARE(m_shown.size(), std::size_t(1));
        QCOMPARE(m_shown[0].Text, QStringLiteral("New name [WORK] already exists."));
        QVERIFY(m_store->KeyExists(Tree + "\\Home"));
        QCOMPARE(IndexOf("\\Home").data().toString(), QStringLiteral("Home"));
    }

    void newSiteIsStoredWithTheDialogsValues() {
        MakeForm();
        m_dialog = [](TSitePropertiesForm& dialog) {
            const auto* location = dialog.findChild<QLineEdit*>(QStringLiteral("LocationEdit"));
            if (location->text() != QStringLiteral("\\") || location->isEnabled()) {
                return int(TSitePropertiesForm::CancelResult);
            }
            return FillSite(QStringLiteral("Mirror"), QStringLiteral("ftp.example.org"),
                            "SaveBitBtn")(dialog);
        };
        Run(m_form->Actions().NewSite);
        const std::string key = Tree + "\\Mirror";
        QCOMPARE(m_store->ReadString(key, ""), std::optional<std::string>("Site"));
        QCOMPARE(m_store->ReadString(key, "HostName"),
                 std::optional<std::string>("ftp.example.org"));
        QCOMPARE(m_form->Tree().currentIndex(), IndexOf("\\Mirror"));
        QVERIFY(m_connected.empty());
        TSiteBookNode* node = m_form->Book().FindByLocation("\\Mirror");
        QCOMPARE(node->Properties()->SiteNode, node);
    }

    void newSiteWithConnectIsStoredBeforeItConnects() {
        MakeForm();
        bool storedFirst = false;
        m_form->SetConnect([&](TSiteProperties& site) {
            storedFirst = m_store->ReadString(Tree + "\\Mirror", "HostName") == "h.example";
            m_connected.push_back(&site);
        });
        m_dialog = FillSite(QStringLiteral("Mirror"), QStringLiteral("h.example"), "ConnectBitBtn");
        Run(m_form->Actions().NewSite);
        QCOMPARE(m_connected.size(), std::size_t(1));
        QVERIFY(storedFirst);
        QCOMPARE(m_connected[0], m_form->Book().FindByLocation("\\Mirror")->Properties());
    }

    void newSiteNamedLikeASiblingIsRefused() {
        AddKey("\\Mirror", "Site");
        MakeForm();
        m_dialog = FillSite(QStringLiteral("MIRROR"), QStringLiteral("h.example"), "ConnectBitBtn");
        Run(m_form->Actions().NewSite);
        QCOMPARE(m_shown.size(), std::size_t(1));
        QCOMPARE(m_shown[0].Icon, QMessageBox::Critical);
        QCOMPARE(m_shown[0].Title, QStringLiteral("Site Book Create Error"));
        QCOMPARE(m_shown[0].Text,
                 QStringLiteral("New name [MIRROR] already exists! Use another name."));
        QVERIFY(m_connected.empty());
        QCOMPARE(m_form->TreeModel().rowCount(m_form->TreeModel().RootIndex()), 1);
    }

    void deleteAsksFirstAndRemovesEverythingBelow() {
        AddKey("\\Work", "Folder");
        AddKey("\\Work\\Inner", "Folder");
        AddKey("\\Work\\Inner\\Mirror", "Site");
        AddKey("\\Other", "Site");
        MakeForm();
        const TSiteProperties* mirror =
            m_form->Book().FindByLocation("\\Work\\Inner\\Mirror")->Properties();
        Select("\\Work");

        m_answer = QMessageBox::No;
        Run(m_form->Actions().Delete);
        QCOMPARE(m_shown.size(), std::size_t(1));
        QCOMPARE(m_shown[0].Icon, QMessageBox::Question);
        QCOMPARE(m_shown[0].Title, QStringLiteral("Site Book Delete Confirm"));
        QCOMPARE(m_shown[0].Text, QStringLiteral("Are you sure to delete [Work]?"));
        QVERIFY(m_store->KeyExists(Tree + "\\Work\\Inner\\Mirror"));

        m_answer = QMessageBox::Yes;
        Run(m_form->Actions().Delete);
        QVERIFY(!m_store->KeyExists(Tree + "\\Work"));
        QVERIFY(m_store->KeyExists(Tree + "\\Other"));
        QVERIFY(!IndexOf("\\Work").isValid());
        QCOMPARE(m_forgotten, std::vector<const TSiteProperties*>{mirror});
        QCOMPARE(m_shown.size(), std::size_t(2)); // no error
    }

    void theDeleteKeyDeletesOnlyOutsideALabelEditor() {
        AddKey("\\Work", "Folder");
        MakeForm();
        Select("\\Work");
        TSiteBookTreeView& tree = m_form->Tree();
        tree.setFocus();
        m_form->ActionList().UpdateAll();
        TActionList::Run(m_form->Actions().Rename);
        auto* editor = qobject_cast<QLineEdit*>(tree.indexWidget(IndexOf("\\Work")));
        QVERIFY(editor != nullptr);
        editor->setCursorPosition(0);
        QTest::keyClick(editor, Qt::Key_Delete);
        QCOMPARE(editor->text(), QStringLiteral("ork"));
        QVERIFY(m_shown.empty());

        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_VERIFY(!tree.IsEditingLabel());
        tree.setFocus();
        m_answer = QMessageBox::No;
        QTest::keyClick(&tree, Qt::Key_Delete);
        QCOMPARE(m_shown.size(), std::size_t(1));
        QCOMPARE(m_shown[0].Text, QStringLiteral("Are you sure to delete [Work]?"));
    }

    void aRightClickTargetsANodeWithoutMovingTheSelection() {
        AddKey("\\Work", "Folder");
        AddKey("\\Mirror", "Site");
        MakeForm();
        TSiteBookTreeView& tree = m_form->Tree();
        const QModelIndex root = m_form->TreeModel().RootIndex();
        const QModelIndex mirror = IndexOf("\\Mirror");
        QTest::mousePress(tree.viewport(), Qt::RightButton, {}, tree.visualRect(mirror).center());
        QCOMPARE(tree.DropTarget(), mirror);
        QCOMPARE(tree.currentIndex(), root);
        QCOMPARE(m_form->TargetNode(), m_form->Book().FindByLocation("\\Mirror"));
        QVERIFY(Enabled(m_form->Actions().Connect));
        QVERIFY(!Enabled(m_form->Actions().NewFolder));
        Run(m_form->Actions().Connect);
        QCOMPARE(m_connected.size(), std::size_t(1));

        QTest::mousePress(tree.viewport(), Qt::RightButton, {}, tree.visualRect(root).center());
        QVERIFY(!tree.DropTarget().isValid());
    }

    void doubleClickConnectsASiteAndAltOpensItsProperties() {
        AddKey("\\Work", "Folder");
        AddKey("\\Mirror", "Site");
        MakeForm();
        TSiteBookTreeView& tree = m_form->Tree();
        QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {},
                           tree.visualRect(IndexOf("\\Work")).center());
        QVERIFY(m_connected.empty());

        const QPoint mirror = tree.visualRect(IndexOf("\\Mirror")).center();
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, mirror);
        QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, mirror);
        QCOMPARE(m_connected.size(), std::size_t(1));

        QString shownName;
        m_dialog = [&](TSitePropertiesForm& dialog) {
            shownName = dialog.NameText();
            return int(TSitePropertiesForm::CancelResult);
        };
        QTest::mouseDClick(tree.viewport(), Qt::LeftButton, Qt::AltModifier, mirror);
        QCOMPARE(shownName, QStringLiteral("Mirror"));
        QCOMPARE(m_connected.size(), std::size_t(1));
    }

    void propertiesSaveTheEditedSite() {
        AddKey("\\Mirror", "Site");
        MakeForm();
        Select("\\Mirror");
        m_dialog = [](TSitePropertiesForm& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("HostNameEdit"))->setText("new.example");
            dialog.findChild<QPushButton*>(QStringLiteral("CancelBitBtn"))->click();
            return dialog.result();
        };
        Run(m_form->Actions().Properties);
        QVERIFY(!m_store->ValueExists(Tree + "\\Mirror", "HostName"));

        m_dialog = FillSite(QStringLiteral("ignored"), QStringLiteral("new.example"), "SaveBitBtn");
        Run(m_form->Actions().Properties);
        QCOMPARE(m_store->ReadString(Tree + "\\Mirror", "HostName"),
                 std::optional<std::string>("new.example"));
        QVERIFY(IndexOf("\\Mirror").isValid()); // the name field is not the node's text
        QCOMPARE(m_form->findChild<QLabel*>(QStringLiteral("SiteStatusLabel"))->text(),
                 QStringLiteral("@new.example"));
    }

    void quickConnectHandsOverASiteThatIsNotStored() {
        MakeForm();
        std::unique_ptr<TSiteProperties> received;
        m_form->SetQuickConnect(
            [&](std::unique_ptr<TSiteProperties> site) { received = std::move(site); });
        bool saveEnabled = true;
        m_dialog = [&](TSitePropertiesForm& dialog) {
            saveEnabled = dialog.findChild<QPushButton*>(QStringLiteral("SaveBitBtn"))->isEnabled();
            dialog.findChild<QLineEdit*>(QStringLiteral("HostNameEdit"))->setText("q.example");
            dialog.findChild<QPushButton*>(QStringLiteral("ConnectBitBtn"))->click();
            return dialog.result();
        };
        Run(m_form->Actions().QuickConnect);
        QVERIFY(!saveEnabled);
        QVERIFY(received != nullptr);
        QVERIFY(received->QuickConnect);
        QCOMPARE(received->HostName, std::string("q.example"));
        QVERIFY(m_store->SubKeyNames(Tree).empty());
    }

    void pingRunsTheConsoleProgramInATerminal() {
        AddKey("\\Mirror", "Site");
        m_store->WriteString(Tree + "\\Mirror", "HostName", "ftp.example.org");
        MakeForm();
        Select("\\Mirror");
        m_startSucceeds = false;
        Run(m_form->Actions().Ping);
        QCOMPARE(m_started.size(), std::size_t(2));
        const QStringList inTerminal{"-e", "ping", "ftp.example.org"};
        QCOMPARE(m_started[0].Program, QStringLiteral("x-terminal-emulator"));
        QCOMPARE(m_started[0].Arguments, inTerminal);
        QCOMPARE(m_started[1].Program, QStringLiteral("xterm"));
        QCOMPARE(m_shown.size(), std::size_t(1));
        QCOMPARE(m_shown[0].Title, QStringLiteral("Site Book Ping Error"));
        QVERIFY(m_shown[0].Text.contains(QStringLiteral("[ping]")));
    }

    void aWindowedTelnetProgramGetsOnlyTheHost() {
        AddKey("\\Mirror", "Site");
        m_options->TelnetApp = "/opt/tools/gtelnet";
        MakeForm();
        Select("\\Mirror");
        Run(m_form->Actions().Telnet);
        QCOMPARE(m_started.size(), std::size_t(1));
        QCOMPARE(m_started[0].Program, QStringLiteral("/opt/tools/gtelnet"));
        QCOMPARE(m_started[0].Arguments, QStringList{"HostName.DomainName"});
        QVERIFY(m_shown.empty());
    }

    void aSelectedFolderShowsTheOpenFolder() {
        AddKey("\\Work", "Folder");
        MakeForm();
        const TQtShellIcons* icons = QtShellIcons();
        QVERIFY(icons != nullptr);
        const auto picture = [](const QVariant& decoration, QIcon::Mode mode) {
            return decoration.value<QIcon>().pixmap(16, mode).toImage();
        };
        const QImage closed = icons->Icon(icons->FolderIconIndex).pixmap(16).toImage();
        const QImage open = icons->Icon(icons->OpenFolderIconIndex).pixmap(16).toImage();
        QVERIFY(closed != open);
        const QVariant folder = IndexOf("\\Work").data(Qt::DecorationRole);
        QCOMPARE(picture(folder, QIcon::Normal), closed);
        QCOMPARE(picture(folder, QIcon::Selected), open);
    }

    void withoutAStoredPlaceItStandsBelowTheMainWindow() {
        QWidget main;
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        main.setGeometry(area.left(), area.top(), area.width(), 90);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        {
            TSiteBookForm form(*m_store, *m_options);
            form.PlaceBelow(main);
            form.show(); // framed as the main window
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QCOMPARE(form.frameGeometry().top(), main.frameGeometry().bottom() + 1 + 5);
            QCOMPARE(form.frameGeometry().right(), area.right());
        }
        const std::string key(SiteBookKey);
        m_store->WriteNumber(key, "Left", 70);
        m_store->DeleteValue(key, "Top");
        TSiteBookForm form(*m_store, *m_options);
        form.PlaceBelow(main);
        QCOMPARE(form.pos(), QPoint(70, main.frameGeometry().bottom() + 1 + 5));
        m_store->WriteNumber(key, "Top", 60);
        TSiteBookForm stored(*m_store, *m_options);
        stored.PlaceBelow(main);
        QCOMPARE(stored.pos(), QPoint(70, 60));
    }

    void thePlaceIsKeptAndClosingOnlyHides() {
        MakeForm();
        m_form->move(40, 30);
        m_form->resize(300, 420);
        m_form->close();
        QVERIFY(!m_form->isVisible());
        m_form.reset();
        const std::string key(SiteBookKey);
        QCOMPARE(m_store->ReadNumber(key, "Width"), std::optional<std::int32_t>(300));
        QCOMPARE(m_store->ReadNumber(key, "Height"), std::optional<std::int32_t>(420));
        QVERIFY(m_store->ValueExists(key + "\\Toolbar", "State"));

        m_store->WriteNumber(key, "Left", 70);
        m_store->WriteNumber(key, "Top", 60);
        TSiteBookForm again(*m_store, *m_options);
        QCOMPARE(again.pos(), QPoint(70, 60));
        QCOMPARE(again.size(), QSize(300, 420));
    }
};

QTEST_MAIN(SiteBookFormTest)
#include "SiteBookFormTest.moc"
