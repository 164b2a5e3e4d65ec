// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's list over a plan: its tree, its cells, its kind and name filters and its sorting, checked
// by Qt's model tester, and its speed at a hundred thousand rows.
#include "engine/DefaultTextFormats.h"
#include "support/ExamplePlan.h"
#include "ui/preview/PlanFilter.h"
#include "ui/preview/PlanModel.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QtTest>
#include <ctime>

using namespace trx;
using Kind = cPlannedAction::Kind;

namespace {

// The texts of one column of the rows below `parent`, in the order shown.
QStringList Column(const QAbstractItemModel& model, const QModelIndex& parent, int column) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        texts.append(model.index(row, column, parent).data().toString());
    }
    return texts;
}

// The first source of the first destination.
QModelIndex FirstSource(const QAbstractItemModel& model) {
    return model.index(0, 0, model.index(0, 0));
}

}  // namespace

class TestPlanModel : public QObject {
    Q_OBJECT

    cDefaultTextFormats formats_;

private slots:
    void initTestCase() {
        qputenv("TZ", "UTC");
        ::tzset();
    }

    void theTreeGroupsByDestinationAndSourceWithOneRowPerAction() {
        const cRunPlan plan = test::ExamplePlan();
        cPlanModel model(formats_);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.SetPlan(&plan);
        QCOMPARE(Column(model, {}, 0), (QStringList{"Ziel /z1/", "Ziel /z2/"}));
        QCOMPARE(Column(model, model.index(0, 0), 0), QStringList{"Quelle /q/"});
        const QModelIndex source = FirstSource(model);
        QCOMPARE(model.rowCount(source), 6);
        QCOMPARE(model.parent(model.index(3, 2, source)), source);
        QCOMPARE(model.GroupAt(model.index(0, 0, model.index(0, 0, model.index(1, 0)))), 1);

        const struct {
            int row;
            QString name, kind, size, original, copy;
        } kRows[] = {
            {0, "neu.txt", "Kopieren", "1,5 KB", "14.11.2023 22:13:20", ""},
            {1, "Sub/alt\uFFFD.txt", "Ersetzen", "10 Byte", "14.11.2023 22:18:20", "13.09.2020 12:26:40"},
            {2, "Sub/weg/", "Löschen", "", "", ""},
            {3, "weg.txt", "Löschen", "7 Byte", "", "14.07.2017 02:40:00"},
            {4, "12 Löschungen in \"/z1/q/Sub/\" wurden zurückgehalten.", "Zurückgehalten", "12 Einträge", "",
             ""},
            {5, "Auf \"/q/x\" kann nicht zugegriffen werden.\tFehler", "Problem", "", "", ""},
        };
        for (const auto& r : kRows) {
            const QStringList cells = {r.name, r.kind, r.size, r.original, r.copy};
            for (int column = 0; column < cPlanModel::ColumnCount; ++column) {
                QCOMPARE(model.index(r.row, column, source).data().toString(), cells[column]);
            }
            QVERIFY(!model.index(r.row, 0, source).data(Qt::DecorationRole).value<QIcon>().isNull());
        }
        QCOMPARE(model.FullText(model.index(1, 3, source)),
                 QStringLiteral("Ersetzen: /q/Sub/alt\uFFFD.txt → /z1/q/Sub/alt\uFFFD.txt"));
        QCOMPARE(model.FullText(model.index(2, 0, source)), QStringLiteral("Löschen: /z1/q/Sub/weg/"));
        QCOMPARE(model.FullText(source), QStringLiteral("Quelle /q/ nach /z1/q/"));

        model.SetPlan(nullptr);  // the window drops its plan
        QCOMPARE(model.rowCount(), 0);
    }

    void kindsAndNamesFilterOnlyActions() {
        const cRunPlan plan = test::ExamplePlan();
        cPlanModel model(formats_);
        model.SetPlan(&plan);
        cPlanFilter filter(model);
        QAbstractItemModelTester tester(&filter, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const struct {
            std::vector<Kind> hidden;
            QString search;
            QStringList first, second;  // the kinds left in the two sources
        } kCases[] = {
            {{},
             "",
             {"Kopieren", "Ersetzen", "Löschen", "Löschen", "Zurückgehalten", "Problem"},
             {"Kopieren"}},
            {{Kind::Copy}, "", {"Ersetzen", "Löschen", "Löschen", "Zurückgehalten", "Problem"}, {}},
            {{Kind::Delete, Kind::Problem}, "", {"Kopieren", "Ersetzen", "Zurückgehalten"}, {"Kopieren"}},
            {{}, "WEG", {"Löschen", "Löschen"}, {}},
            {{Kind::Delete}, "weg", {}, {}},
            {{}, "zugegriffen", {"Problem"}, {}},  // a problem is found by its text
        };
        for (const auto& c : kCases) {
            for (const Kind kind : {Kind::Copy, Kind::Replace, Kind::Delete, Kind::HoldBack, Kind::Problem}) {
                filter.SetKindShown(kind,
                                    std::find(c.hidden.begin(), c.hidden.end(), kind) == c.hidden.end());
            }
            filter.SetSearch(c.search);
            QCOMPARE(filter.rowCount(), 2);  // destinations and sources always stay
            QCOMPARE(Column(filter, FirstSource(filter), cPlanModel::ColumnKind), c.first);
            QCOMPARE(Column(filter, filter.index(0, 0, filter.index(1, 0)), cPlanModel::ColumnKind),
                     c.second);
        }
    }

    void everyColumnSortsAndTheThirdClickReturnsToTheRunsOrder() {
        const cRunPlan plan = test::ExamplePlan();
        cPlanModel model(formats_);
        model.SetPlan(&plan);
        cPlanFilter filter(model);
        QAbstractItemModelTester tester(&filter, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QStringList runOrder = Column(filter, FirstSource(filter), 0);
        const struct {
            int column;
            QList<int> ascending, descending;  // rows of the run's order; equal keys keep that order
        } kCases[] = {
            {cPlanModel::ColumnName, {5, 0, 3, 4, 1, 2}, {2, 1, 4, 3, 0, 5}},  // folder by folder
            {cPlanModel::ColumnKind, {0, 1, 2, 3, 4, 5}, {5, 4, 2, 3, 1, 0}},
            {cPlanModel::ColumnSize, {2, 5, 3, 1, 4, 0}, {0, 4, 1, 3, 2, 5}},
            {cPlanModel::ColumnSourceTime, {2, 3, 4, 5, 0, 1}, {1, 0, 2, 3, 4, 5}},
            {cPlanModel::ColumnCopyTime, {0, 2, 4, 5, 3, 1}, {1, 3, 0, 2, 4, 5}},
        };
        const auto rows = [&runOrder](const QList<int>& order) {
            QStringList texts;
            for (const int row : order) {
                texts.append(runOrder[row]);
            }
            return texts;
        };
        for (const auto& c : kCases) {
            filter.ClickColumn(c.column);
            QCOMPARE(filter.SortColumn(), c.column);
            QCOMPARE(Column(filter, FirstSource(filter), 0), rows(c.ascending));
            filter.ClickColumn(c.column);
            QCOMPARE(filter.Order(), Qt::DescendingOrder);
            QCOMPARE(Column(filter, {}, 0), (QStringList{"Ziel /z1/", "Ziel /z2/"}));  // in the run's order
            QCOMPARE(Column(filter, FirstSource(filter), 0), rows(c.descending));
            filter.ClickColumn(c.column);
            QCOMPARE(filter.SortColumn(), -1);
            QCOMPARE(Column(filter, FirstSource(filter), 0), runOrder);
        }
    }

    void aHundredThousandRowsFillSortAndFilterQuickly() {
        cRunPlan plan;
        plan.Groups = {{"/z/", "/q/", "/z/"}};
        for (std::uint32_t f = 0; f < 1000; ++f) {
            plan.Folders.push_back({0, "Ordner " + std::to_string(f) + "/"});
        }
        plan.Actions.resize(100'000);
        for (std::uint32_t i = 0; i < plan.Actions.size(); ++i) {
            cPlannedAction& action = plan.Actions[i];
            action.What = static_cast<Kind>(i % 3);
            action.Where = (i * 7919u) % 1000u;
            action.Name = "Datei " + std::to_string(i * 104729u % 100'003u) + ".txt";
            action.Size = i * 31u % 5000u;
            action.SourceModified = {1'700'000'000 + i % 977, 0};
        }
        cPlanModel model(formats_);
        cPlanFilter filter(model);
        QElapsedTimer clock;
        clock.start();
        model.SetPlan(&plan);
        QCOMPARE(filter.rowCount(FirstSource(filter)), 100'000);
        const qint64 fill = clock.restart();
        filter.ClickColumn(cPlanModel::ColumnName);
        const qint64 sortByName = clock.restart();
        filter.ClickColumn(cPlanModel::ColumnSize);
        const qint64 sortBySize = clock.restart();
        filter.SetKindShown(Kind::Copy, false);
        QCOMPARE(filter.rowCount(FirstSource(filter)), 66'666);
        const qint64 kindFilter = clock.restart();
        filter.SetSearch(QStringLiteral("Datei 4"));
        QVERIFY(filter.rowCount(FirstSource(filter)) < 66'666);
        const qint64 search = clock.restart();
        qInfo(
            "100000 rows: fill %lld ms, sort by name %lld ms, by size %lld ms, kind filter %lld ms, "
            "name search %lld ms",
            fill, sortByName, sortBySize, kindFilter, search);
        // Generous bounds for a loaded machine; the point is no row-by-row work.
        for (const qint64 ms : {fill, sortByName, sortBySize, kindFilter, search}) {
            QVERIFY(ms < 3000);
        }
    }
};

QTEST_MAIN(TestPlanModel)
#include "tst_PlanModel.moc"
