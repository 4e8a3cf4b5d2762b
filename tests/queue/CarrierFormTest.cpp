// SPDX-License-Identifier: GPL-3.0-or-later
// The queue window over carriers the test ends by hand: its list models, the commands with the
// selections of its views and their enable rules, the up-down, the title, the settings and the
// end of the program.

#include "queue/gui/CarrierForm.h"

#include "platform/ConfigStore.h"
#include "queue/CarrierSettings.h"
#include "support/TempDir.h"
#include "widgets/ActionList.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace qx;

namespace {

class FakeCarrier final : public TFTPCarrier, public std::enable_shared_from_this<FakeCarrier> {
public:
    unsigned job = 0;
    bool aborted = false;
    bool finishOnAbort = false; // as a real carrier: the abort ends the job a moment later

    void Abort() override {
        aborted = true;
        if (finishOnAbort) {
            QTimer::singleShot(0, qApp, [weak = weak_from_this()] {
                if (const auto self = weak.lock()) {
                    self->Finish(2, "! [src.example]: Operation aborted.");
                }
            });
        }
    }
    void StopThread() override {
        if (OnEndThread) {
            OnEndThread(*this);
        }
    }

    // One done event with the result, as the real carrier raises it.
    void Finish(std::uint8_t result, const std::string& error = {}) {
        const auto self = shared_from_this();
        ResultCode = result;
        ErrorMessage = error;
        auto handler = job >= carrier_job::ExploreDownload ? OnExploreDone : OnCarryDone;
        if (handler) { // a window that has gone has detached it
            handler(*this);
        }
        Items.Clear();
    }

protected:
    void RunJob(unsigned code) override { job = code; }
};

std::unique_ptr<TFTPCarryItem> Item(const std::string& name, bool folder = false) {
    auto item = std::make_unique<TFTPCarryItem>();
    item->FileName = name;
    item->IsFolder = folder;
    item->SrcHostName = "src.example";
    item->SrcPath = "/pub/";
    item->DestPath = "/home/me/";
    item->FileSize = folder ? -1 : 1234;
    item->ImageIndex = folder ? 2 : 4;
    return item;
}

// One window with its own settings file and hand-ended carriers.
struct Bench {
    test::TempDir dir;
    TConfigStore store{dir.path() / "settings.conf"};
    TAsciiExtensions ascii;
    std::vector<std::shared_ptr<FakeCarrier>> carriers;
    std::unique_ptr<TCarrierForm> form;

    Bench() { Open(); }

    void Open() {
        form = std::make_unique<TCarrierForm>(
            [this] {
                carriers.push_back(std::make_shared<FakeCarrier>());
                return carriers.back();
            },
            &ascii, store);
    }
    void Add(const std::vector<std::string>& names) {
        for (const auto& name : names) {
            form->AddItem(Item(name));
        }
    }
    QTreeView* View(const char* name) const { return form->findChild<QTreeView*>(name); }
    QAction* Action(const char* name) const { return form->findChild<QAction*>(name); }
    // What the next idle moment does: queued calls, then every Update rule.
    void Idle() const {
        QCoreApplication::processEvents();
        form->findChild<TActionList*>()->UpdateAll();
    }
    void Select(const char* view, const std::vector<int>& rows) const {
        QTreeView* list = View(view);
        list->clearSelection();
        for (const int row : rows) {
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    QStringList Names(const char* view) const {
        QStringList names;
        const QAbstractItemModel* model = View(view)->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            names << model->index(row, 0).data().toString();
        }
        return names;
    }
};

// A view may read the rows that are about to go, also while an item moves between lists.
void ReadRowsBeforeRemoval(const QAbstractItemModel* model) {
    QObject::connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, model,
                     [model](const QModelIndex&, int first, int last) {
                         for (int row = first; row <= last; ++row) {
                             for (int column = 0; column < model->columnCount(); ++column) {
                                 model->index(row, column).data(Qt::DisplayRole);
                                 model->index(row, column).data(Qt::DecorationRole);
                             }
                         }
                     });
}

const char* const kViews[] = {"QueueListView", "StatusListView", "SuccessListView", "FailListView"};

} // namespace

class CarrierFormTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modelsFollowEveryChangeOfTheQueue();
    void commandsWorkOnTheSelectedRows();
    void commandsWithoutSelectionDoNothing();
    void suspendAndResumeAreARadioPair();
    void upDownSetsMaxCarrierAndStartsCarriers();
    void settingsAreLoadedAndSaved();
    void maximizedWindowDoesNotSaveItsPlace();
    void titleChangesOncePerBurst();
    void finishWorkEndsRunningJobsWithoutStartingQueuedOnes();
    void closingOnlyHides();
};

void CarrierFormTest::modelsFollowEveryChangeOfTheQueue() {
    Bench bench;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
    for (const char* name : kViews) {
        testers.push_back(std::make_unique<QAbstractItemModelTester>(
            bench.View(name)->model(), QAbstractItemModelTester::FailureReportingMode::QtTest));
        ReadRowsBeforeRemoval(bench.View(name)->model());
    }
    std::vector<int> iconsAsked;
    bench.form->SetRowIcons([&iconsAsked](int index) {
        iconsAsked.push_back(index);
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::blue);
        return QIcon(pixmap);
    });

    bench.form->AddItem(Item("Gr\xc3\xbc\xc3\x9f"
                             "e.txt"));
    bench.form->AddItem(Item("docs", true));
    bench.Add({"3", "4", "5"});
    const QAbstractItemModel* queue = bench.View("QueueListView")->model();
    QCOMPARE(queue->index(0, 0).data().toString(), QStringLiteral("Grüße.txt"));
    QVERIFY(queue->index(0, 4).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    QVERIFY(!queue->index(1, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    QVERIFY(!queue->index(1, 1).data(Qt::DecorationRole).isValid());
    QVERIFY(std::find(iconsAsked.begin(), iconsAsked.end(), 2) != iconsAsked.end());

    bench.form->StartCarriers();
    const QAbstractItemModel* status = bench.View("StatusListView")->model();
    FakeCarrier& first = *bench.carriers[0];
    QSignalSpy changes(status, &QAbstractItemModel::dataChanged);
    first.OnTransferStatus(first, 617, 617, 1000);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes[0][1].toModelIndex().column(), status->columnCount() - 1); // the whole row
    first.OnDisplay(first, "< 150 Opening data connection");
    QCOMPARE(status->index(0, 9).data().toString(), QStringLiteral("50 %"));
    QCOMPARE(status->index(0, 10).data(Qt::ToolTipRole).toString(),
             QStringLiteral("< 150 Opening data connection"));

    // The folder's entries join the end of the queue, then a carry and a failure end.
    bench.carriers[1]->Items.Add(Item("a"));
    bench.carriers[1]->Items.Add(Item("b"));
    bench.carriers[1]->Finish(0);
    bench.carriers[0]->Finish(0);
    bench.carriers[2]->Finish(1, "550 No such file.");
    QCOMPARE(bench.Names("SuccessListView"), (QStringList{"docs", "Grüße.txt"}));
    QCOMPARE(bench.Names("FailListView"), QStringList{"3"});
    QCOMPARE(bench.Names("StatusListView"), (QStringList{"4", "5", "a"}));
    QCOMPARE(bench.Names("QueueListView"), QStringList{"b"});

    bench.form->Queue().Resubmit({0});
    bench.form->Queue().Delete({0, 1});
    bench.form->Queue().AbortAll();
    for (const auto& carrier : bench.carriers) {
        if (carrier->aborted) {
            carrier->Finish(2, "! [src.example]: Operation aborted.");
        }
    }
    bench.form->Queue().ClearSuccess();
    bench.form->Queue().ClearFail();
    for (const char* name : kViews) {
        QCOMPARE(bench.View(name)->model()->rowCount(), 0);
    }
}

void CarrierFormTest::commandsWorkOnTheSelectedRows() {
    Bench bench;
    bench.Add({"1", "2", "3", "4", "5", "6"});
    bench.form->StartCarriers();
    QCOMPARE(bench.Names("StatusListView"), (QStringList{"1", "2", "3"}));

    bench.Select("StatusListView", {1});
    bench.Idle();
    bench.Action("ServiceAbortAction")->trigger();
    QVERIFY(!bench.carriers[0]->aborted && bench.carriers[1]->aborted);
    bench.carriers[1]->Finish(2, "! [src.example]: Operation aborted.");
    QCOMPARE(bench.Names("FailListView"), QStringList{"2"});
    QCOMPARE(bench.Names("StatusListView"), (QStringList{"1", "3", "4"}));

    bench.Select("QueueListView", {0});
    bench.Idle();
    bench.Action("EditDeleteAction")->trigger();
    QCOMPARE(bench.Names("QueueListView"), QStringList{"6"});

    bench.Select("FailListView", {0});
    bench.Idle();
    bench.Action("ServiceResubmitAction")->trigger();
    QCOMPARE(bench.Names("FailListView"), QStringList());
    QCOMPARE(bench.Names("QueueListView"), (QStringList{"6", "2"}));

    bench.carriers[0]->Finish(0);
    bench.Action("EditClearSuccessAction")->trigger();
    QCOMPARE(bench.Names("SuccessListView"), QStringList());
    bench.Action("EditClearQueueAction")->trigger();
    QCOMPARE(bench.Names("QueueListView"), QStringList());
    bench.Idle();
    QCOMPARE(bench.form->windowTitle(), QStringLiteral("Pellucor's Carrier [0 Items Queued]"));
}

void CarrierFormTest::commandsWithoutSelectionDoNothing() {
    Bench bench;
    bench.Add({"1", "2", "3", "4", "5"});
    bench.form->StartCarriers();
    bench.carriers[2]->Finish(1, "550 Failed");
    bench.Idle();
    for (const char* name :
         {"EditDeleteAction", "ServiceAbortAction", "ServiceResubmitAction", "EditAddAction"}) {
        QVERIFY2(!bench.Action(name)->isEnabled(), name);
        bench.Action(name)->trigger();
    }
    QCOMPARE(bench.Names("QueueListView"), QStringList{"5"});
    QCOMPARE(bench.Names("FailListView"), QStringList{"3"});
    for (const auto& carrier : bench.carriers) {
        QVERIFY(!carrier->aborted);
    }

    // A trigger that comes after the selection went away but before the next idle moment.
    bench.Select("QueueListView", {0});
    bench.Idle();
    QVERIFY(bench.Action("EditDeleteAction")->isEnabled());
    bench.View("QueueListView")->clearSelection();
    bench.Action("EditDeleteAction")->trigger();
    QCOMPARE(bench.Names("QueueListView"), QStringList{"5"});
}

void CarrierFormTest::suspendAndResumeAreARadioPair() {
    Bench bench;
    QAction* resume = bench.Action("ServiceResumeAction");
    QAction* suspend = bench.Action("ServiceSuspendAction");
    QVERIFY(resume->isChecked() && !suspend->isChecked());
    bench.Add({"1", "2"});
    bench.form->StartCarriers();

    suspend->trigger();
    QVERIFY(!resume->isChecked() && suspend->isChecked());
    bench.Add({"3"});
    bench.carriers[0]->Finish(0);
    bench.form->StartCarriers();
    QCOMPARE(bench.Names("StatusListView"), QStringList{"2"});

    suspend->trigger(); // the checked one of the pair stays checked
    QVERIFY(suspend->isChecked());
    resume->trigger();
    QVERIFY(resume->isChecked() && !suspend->isChecked());
    QCOMPARE(bench.Names("StatusListView"), (QStringList{"2", "3"}));
}

void CarrierFormTest::upDownSetsMaxCarrierAndStartsCarriers() {
    Bench bench;
    auto* upDown = bench.form->findChild<QSpinBox*>("MaxCarrierUpDown");
    QCOMPARE(upDown->value(), 3);
    QCOMPARE(upDown->maximum(), 16);
    QVERIFY(upDown->findChild<QLineEdit*>("MaxCarrierEdit")->isReadOnly());

    bench.Add({"1", "2", "3", "4", "5", "6"});
    bench.form->StartCarriers();
    upDown->stepUp();
    QCOMPARE(bench.Names("StatusListView"), (QStringList{"1", "2", "3", "4"}));
    upDown->setValue(1); // lowering stops nothing
    QCOMPARE(bench.form->Queue().RunningCount(), 4);
}

void CarrierFormTest::settingsAreLoadedAndSaved() {
    {
        Bench bench; // no stored settings: the defaults
        const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
        QCOMPARE(bench.form->geometry(), QRect(0, screenHeight - 270 - 30, 652, 270));
    }
    Bench bench;
    bench.form.reset();
    bench.store.CreateKey(CarrierKey);
    for (const auto& [name, value] :
         {std::pair{"Left", 40}, std::pair{"Top", 50}, std::pair{"Width", 700},
          std::pair{"Height", 320}, std::pair{"ResumeService", 0}, std::pair{"MaxCarrier", 40}}) {
        bench.store.WriteNumber(CarrierKey, name, value);
    }
    bench.Open();
    QCOMPARE(bench.form->geometry(), QRect(40, 50, 700, 320));
    QVERIFY(bench.Action("ServiceSuspendAction")->isChecked());
    QCOMPARE(bench.form->Queue().MaxCarrier(), 16);
    QCOMPARE(bench.form->findChild<QSpinBox*>("MaxCarrierUpDown")->value(), 16);

    bench.form->findChild<QSpinBox*>("MaxCarrierUpDown")->setValue(5);
    bench.Action("ServiceResumeAction")->trigger();
    bench.form->move(60, 70);
    bench.form.reset();
    QCOMPARE(bench.store.ReadNumber(CarrierKey, "MaxCarrier").value_or(-1), 5);
    QCOMPARE(bench.store.ReadNumber(CarrierKey, "ResumeService").value_or(-1), 1);
    QCOMPARE(bench.store.ReadNumber(CarrierKey, "Left").value_or(-1), 60);
    QCOMPARE(bench.store.ReadNumber(CarrierKey, "Height").value_or(-1), 320);
}

void CarrierFormTest::maximizedWindowDoesNotSaveItsPlace() {
    Bench bench;
    bench.form->showMaximized();
    bench.form.reset();
    QVERIFY(!bench.store.ValueExists(CarrierKey, "Left"));
    QVERIFY(!bench.store.ValueExists(CarrierKey, "Width"));
    QCOMPARE(bench.store.ReadNumber(CarrierKey, "MaxCarrier").value_or(-1), 3);
}

void CarrierFormTest::titleChangesOncePerBurst() {
    Bench bench;
    bench.form->show();
    QSignalSpy titles(bench.form.get(), &QWidget::windowTitleChanged);
    for (int i = 0; i < 20000; ++i) {
        bench.form->AddItem(Item(std::to_string(i)));
    }
    QCOMPARE(titles.count(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(titles.count(), 1);
    QCOMPARE(bench.form->CaptionText(), QStringLiteral("[20000 Items Queued]"));

    bench.form->StartCarriers();
    QCoreApplication::processEvents();
    QCOMPARE(titles.count(), 2);
    QCOMPARE(bench.form->CaptionText(), QStringLiteral("[19997 Items Queued]"));
}

void CarrierFormTest::finishWorkEndsRunningJobsWithoutStartingQueuedOnes() {
    Bench bench;
    bench.Add({"1", "2", "3", "4", "5"});
    bench.form->StartCarriers();
    for (const auto& carrier : bench.carriers) {
        carrier->finishOnAbort = true;
    }
    QVERIFY(bench.form->FinishWork(5000));
    QCOMPARE(bench.Names("FailListView"), (QStringList{"1", "2", "3"}));
    QCOMPARE(bench.Names("QueueListView"), (QStringList{"4", "5"}));
    bench.form.reset();
    // The stop was the program's, not the user's.
    QCOMPARE(bench.store.ReadNumber(CarrierKey, "ResumeService").value_or(-1), 1);
}

void CarrierFormTest::closingOnlyHides() {
    Bench bench;
    bench.Add({"1"});
    bench.form->show();
    QVERIFY(!bench.form->close());
    QVERIFY(!bench.form->isVisible());
    QCOMPARE(bench.Names("QueueListView"), QStringList{"1"});
}

QTEST_MAIN(CarrierFormTest)
#include "CarrierFormTest.moc"
