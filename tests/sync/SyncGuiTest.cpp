// SPDX-License-Identifier: GPL-3.0-or-later
// The synchronize dialog: its options reach the planner, the preview lists the plan, leaving
// rows out changes what runs, and deletes are confirmed once more. The compare marks read from
// each explorer's side.

#include "sync/gui/CompareMarks.h"
#include "sync/gui/SyncPlanModel.h"
#include "sync/gui/SynchronizeForm.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include <optional>

using namespace qx;

class SyncGuiTest : public QObject {
    Q_OBJECT

private:
    // With QX_SHOTS set to a folder, the widget's picture goes there to be looked at.
    static void Shot(QWidget& widget, const char* name) {
        if (const QString folder = qEnvironmentVariable("QX_SHOTS"); !folder.isEmpty()) {
            widget.adjustSize();
            widget.grab().save(folder + QLatin1Char('/') + QLatin1String(name) + ".png");
        }
    }

    template <typename T> static T* Control(TSynchronizeForm& form, const char* name) {
        T* control = form.findChild<T*>(QLatin1String(name));
        if (control == nullptr) {
            qFatal("no control %s", name);
        }
        return control;
    }

    static TSyncAction Action(const char* path, TSyncActionKind kind, std::int64_t bytes,
                              bool chosen = true,
                              std::optional<TSyncActionKind> alternative = std::nullopt) {
        TSyncAction action;
        action.Path = path;
        action.Kind = kind;
        action.Bytes = bytes;
        action.Reason = "because";
        action.Chosen = chosen;
        action.Alternative = alternative;
        return action;
    }

private Q_SLOTS:
    void OptionsReachThePlannerAndBadMasksDoNot() {
        TSynchronizeForm form(QString(), 0);
        std::optional<TSyncOptions> asked;
        form.OnPlan = [&](const TSyncOptions& options) { asked = options; };
        Control<QRadioButton>(form, "DownloadRadio")->setChecked(true);
        Control<QComboBox>(form, "CriteriaCombo")->setCurrentIndex(1);
        Control<QLineEdit>(form, "ExcludeEdit")->setText(QStringLiteral("[a-"));
        Control<QCheckBox>(form, "DeleteCheck")->setChecked(true);
        form.SetFolders(QStringLiteral("/home/me/site"), QStringLiteral("/var/www"));
        QTest::mouseClick(Control<QPushButton>(form, "PreviewBitBtn"), Qt::LeftButton);
        Shot(form, "synchronize-options");
        QVERIFY(!asked);
        QVERIFY(Control<QLabel>(form, "ProblemLabel")->text().contains(QStringLiteral("invalid")));

        Control<QLineEdit>(form, "ExcludeEdit")->setText(QStringLiteral("*.tmp"));
        QTest::mouseClick(Control<QPushButton>(form, "PreviewBitBtn"), Qt::LeftButton);
        QVERIFY(asked);
        QCOMPARE(asked->Direction, TSyncDirection::Download);
        QCOMPARE(asked->Criteria, TSyncCriteria::Size);
        QVERIFY(asked->Exclude.Matches("notes.tmp"));
        QVERIFY(asked->DeleteOrphans);

        // Both ways never deletes: the option goes grey and off.
        Control<QRadioButton>(form, "BothRadio")->setChecked(true);
        QVERIFY(!Control<QCheckBox>(form, "DeleteCheck")->isEnabled());
        QVERIFY(!form.Choices().DeleteOrphans);
    }

    void ThePreviewRunsOnlyWhatIsChosenAndAsksBeforeDeleting() {
        TSynchronizeForm form(QString(), 0);
        TSyncPlan plan;
        plan.Actions = {Action("a.html", TSyncActionKind::Upload, 100),
                        Action("b.html", TSyncActionKind::Skip, 7, false, TSyncActionKind::Upload),
                        Action("old/c.html", TSyncActionKind::DeleteRemote, 0),
                        Action("d.html", TSyncActionKind::Conflict, 0, false)};
        plan.Unlisted = {"locked"};
        form.ShowPlan(plan);
        auto* table = Control<QTableView>(form, "PlanTable");
        QAbstractItemModelTester tester(table->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(table->model()->rowCount(), 4);
        QVERIFY(Control<QLabel>(form, "UnlistedLabel")->text().contains(QStringLiteral("locked")));
        const auto summary = [&] { return Control<QLabel>(form, "SummaryLabel")->text(); };
        QVERIFY(summary().startsWith(QStringLiteral("1 upload, 0 downloads")));
        // A conflict without a transfer to run has no box to tick.
        QVERIFY(!(table->model()->flags(table->model()->index(3, 0)) & Qt::ItemIsUserCheckable));

        QVERIFY(
            table->model()->setData(table->model()->index(1, 0), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(summary().startsWith(QStringLiteral("2 uploads")));
        QVERIFY(summary().endsWith(QStringLiteral("107 bytes")));
        Shot(form, "synchronize-preview");

        QStringList confirmed;
        bool answer = false;
        form.ConfirmDeletes = [&](const QStringList& deletes) {
            confirmed = deletes;
            return answer;
        };
        QTest::mouseClick(Control<QPushButton>(form, "StartBitBtn"), Qt::LeftButton);
        QCOMPARE(confirmed, QStringList{QStringLiteral("remote old/c.html")});
        QCOMPARE(form.result(), int(QDialog::Rejected)); // still open: nothing was agreed
        answer = true;
        QTest::mouseClick(Control<QPushButton>(form, "StartBitBtn"), Qt::LeftButton);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        const TSyncPlan chosen = form.ChosenPlan();
        QCOMPARE(chosen.Actions[1].Kind, TSyncActionKind::Upload);
        QCOMPARE(chosen.Actions[3].Kind, TSyncActionKind::Conflict);

        // Select none leaves everything out, and nothing is left to start.
        QTest::mouseClick(Control<QPushButton>(form, "SelectNoneBitBtn"), Qt::LeftButton);
        QVERIFY(!Control<QPushButton>(form, "StartBitBtn")->isEnabled());
    }

    void MarksReadFromEachSide() {
        const std::vector<TSyncEntry> local{{"a", false, 1, 100, TTimePrecision::Second},
                                            {"mine", false, 1, 100, TTimePrecision::Second}};
        const std::vector<TSyncEntry> remote{{"a", false, 1, 10, TTimePrecision::Second},
                                             {"theirs", false, 1, 100, TTimePrecision::Second}};
        const auto pairs = CompareFolders(local, remote);
        const TCompareMarks here(pairs, TCompareSide::Local);
        const TCompareMarks there(pairs, TCompareSide::Remote);
        QVERIFY(here.Find("theirs") == nullptr); // no row of the local folder
        QCOMPARE(*here.Find("a"), TCompareMark::NewerLocal);
        QCOMPARE(CompareMarkText(*here.Find("a"), TCompareSide::Local),
                 QStringLiteral("newer here"));
        QCOMPARE(CompareMarkText(*there.Find("a"), TCompareSide::Remote),
                 QStringLiteral("newer there"));
        QCOMPARE(CompareMarkText(*there.Find("theirs"), TCompareSide::Remote),
                 QStringLiteral("only here"));
        QVERIFY(!CompareMarkColour(TCompareMark::Same, TCompareSide::Local).isValid());
        QCOMPARE(CompareMarkColour(TCompareMark::OnlyLocal, TCompareSide::Local),
                 CompareMarkColour(TCompareMark::OnlyRemote, TCompareSide::Remote));

        // Each mark leaves its own badge on the same icon.
        QPixmap plain(32, 32);
        plain.fill(Qt::white);
        const QIcon icon(plain);
        const QImage newer = MarkedIcon(icon, TCompareMark::NewerLocal, TCompareSide::Local)
                                 .pixmap(32, 32)
                                 .toImage();
        const QImage only =
            MarkedIcon(icon, TCompareMark::OnlyLocal, TCompareSide::Local).pixmap(32, 32).toImage();
        QVERIFY(newer != plain.toImage());
        QVERIFY(newer != only);
        TCompareLegend legend(TCompareSide::Remote);
        Shot(legend, "compare-legend");
    }
};

QTEST_MAIN(SyncGuiTest)
#include "SyncGuiTest.moc"
