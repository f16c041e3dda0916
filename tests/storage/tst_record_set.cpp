#include <sqlite3.h>
#include <QtTest>

#include "record_sets.h"
#include "test_database.h"

namespace {

const char* threeAnalyses =
    "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, NUmerC) VALUES ('1/2026', 5, 2, 2, "
    "'C-1');"
    "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, NumerC) VALUES ('2/2026', 10, 3, 3, "
    "'C-2');"
    "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, NumerC) VALUES ('3/2026', 5, 2, 3, "
    "'C-3');";

QStringList numbers(RecordSet& set) {
    QStringList out;
    for (set.moveFirst(); !set.isEof(); set.moveNext()) {
        out << set.field(QStringLiteral("Numer")).text();
    }
    return out;
}

void addSeries(RecordSet& series, const QString& id, const QString& appraiser, double p1) {
    series.addNew();
    QVERIFY(series.setField(QStringLiteral("ID"), Value(id)));
    QVERIFY(series.setField(QStringLiteral("Operator"), Value(appraiser)));
    QVERIFY(series.setField(QStringLiteral("P1"), Value(p1)));
    QVERIFY(series.update());
}

}  // namespace

class RecordSetTest : public QObject {
    Q_OBJECT

private slots:
    void navigation();
    void emptySet();
    void fieldNamesIgnoreCase();
    void findSearchesForwardFromTheCurrentRow();
    void keysetAfterAddAndDelete();
    void keysOnDemandBehaveAsLoadedKeys();
    void deleteLoopEnds();
    void editOfTheCurrentRow();
    void textIntoNumberFieldUsesTheLocale();
    void hostileTextIsData_data();
    void hostileTextIsData();
    void seriesOrderFollowsTheLocale();
    void partsBeyondNAreEmpty();
    void changesAreOnDiskAtOnce();
    void aFailedReadIsNotKept();
};

void RecordSetTest::navigation() {
    TestDatabase t(QString::fromLatin1(threeAnalyses));
    auto set = RecordSets::analyses(t.db());
    QCOMPARE(set->recordCount(), 3);
    QCOMPARE(set->field(QStringLiteral("Numer")).text(), QStringLiteral("1/2026"));
    set->moveLast();
    QCOMPARE(set->field(QStringLiteral("Numer")).text(), QStringLiteral("3/2026"));
    set->moveNext();
    QVERIFY(set->isEof());
    QVERIFY(set->field(QStringLiteral("Numer")).isEmpty());
    set->moveFirst();
    set->move(2);
    QCOMPARE(set->field(QStringLiteral("Numer")).text(), QStringLiteral("3/2026"));
    set->move(-1);
    QCOMPARE(set->field(QStringLiteral("Numer")).text(), QStringLiteral("2/2026"));
    set->move(10);
    QVERIFY(set->isEof());
    QVERIFY(set->field(QStringLiteral("LiczbaN")).isEmpty());
    set->moveFirst();
    set->movePrevious();
    QVERIFY(set->isBof());
}

void RecordSetTest::emptySet() {
    TestDatabase t(QString::fromLatin1(threeAnalyses));
    auto series = RecordSets::series(t.db(), QStringLiteral("1/2026"));
    QCOMPARE(series->recordCount(), 0);
    series->moveLast();
    QVERIFY(series->isEof());
    QVERIFY(series->isBof());
    QVERIFY(!series->hasCurrentRow());
    QVERIFY(!series->find(QStringLiteral("Operator"), Value(QStringLiteral("A"))));
    QVERIFY(!series->deleteCurrent());
}

void RecordSetTest::fieldNamesIgnoreCase() {
    TestDatabase t(QString::fromLatin1(threeAnalyses));
    auto set = RecordSets::analyses(t.db());
    QCOMPARE(set->field(QStringLiteral("NUmerC")).text(), QStringLiteral("C-1"));
    QCOMPARE(set->field(QStringLiteral("numerc")).text(), QStringLiteral("C-1"));
    QVERIFY(set->setField(QStringLiteral("NUmerC"), Value(QStringLiteral("C-1a"))));
    QVERIFY(set->update());
    QCOMPARE(set->field(QStringLiteral("NumerC")).text(), QStringLiteral("C-1a"));
    QVERIFY(!set->setField(QStringLiteral("NoSuchField"), Value(1)));
    QVERIFY(set->lastError().contains(QStringLiteral("NoSuchField")));
}

void RecordSetTest::findSearchesForwardFromTheCurrentRow() {
    TestDatabase t(QString::fromLatin1(threeAnalyses) +
                   QStringLiteral("INSERT INTO Analiza (Numer) VALUES ('2/2026');"));
    auto set = RecordSets::analyses(t.db());
    QVERIFY(set->find(QStringLiteral("Numer"), Value(QStringLiteral("2/2026"))));
    QCOMPARE(set->position(), 1);
    QVERIFY(
        set->find(QStringLiteral("numer"), Value(QStringLiteral("2/2026"))));  // current row counts
    QCOMPARE(set->position(), 1);
    set->moveNext();
    QVERIFY(set->find(QStringLiteral("Numer"), Value(QStringLiteral("2/2026"))));
    QCOMPARE(set->position(), 3);
    set->moveNext();
    QVERIFY(!set->find(QStringLiteral("Numer"), Value(QStringLiteral("1/2026"))));
    QVERIFY(set->isEof());
    set->moveFirst();
    QVERIFY(!set->find(QStringLiteral("Numer"), Value(QStringLiteral("2/2026 "))));  // exact text
    set->moveFirst();
    QVERIFY(set->find(QStringLiteral("LiczbaN"), Value(10)));
    QCOMPARE(set->field(QStringLiteral("Numer")).text(), QStringLiteral("2/2026"));
}

void RecordSetTest::keysetAfterAddAndDelete() {
    TestDatabase t(QString::fromLatin1(threeAnalyses));
    auto set = RecordSets::analyses(t.db());
    auto other = RecordSets::analyses(t.db());

    set->addNew();
    QVERIFY(set->setField(QStringLiteral("Numer"), Value(QStringLiteral("4/2026"))));
    QVERIFY(set->update());
    QCOMPARE(set->recordCount(), 4);
    QCOMPARE(set->field(QStringLiteral("Numer")).text(),
             QStringLiteral("4/2026"));  // the new row is current

    // a record set opened earlier keeps the rows its query found
    QCOMPARE(other->recordCount(), 3);

    set->moveFirst();
    set->moveNext();
    QVERIFY(set->deleteCurrent());
    QCOMPARE(set->recordCount(), 3);
    QVERIFY(!set->isEof());
    QVERIFY(set->field(QStringLiteral("Numer")).isEmpty());
    set->moveNext();
    QCOMPARE(set->field(QStringLiteral("Numer")).text(), QStringLiteral("3/2026"));
    QCOMPARE(numbers(*set), (QStringList{"1/2026", "3/2026", "4/2026"}));
    QCOMPARE(RecordSets::analyses(t.db())->recordCount(), 3);
    QVERIFY(!set->find(QStringLiteral("Numer"), Value(QStringLiteral("1/2026"))));  // at the end
    set->moveFirst();
    QVERIFY(set->find(QStringLiteral("Numer"), Value(QStringLiteral("4/2026"))));
}

// The analysis set loads its keys when first needed: the same moves, finds, edits, adds
// and deletes give what a set with every key loaded gives, on more rows than the first
// step of loading brings.
void RecordSetTest::keysOnDemandBehaveAsLoadedKeys() {
    QString sql;
    for (int i = 1; i <= 700; ++i) {
        sql += QStringLiteral("INSERT INTO Analiza (Numer, LiczbaN) VALUES ('%1', %2);")
                   .arg(i)
                   .arg(i % 10);
    }
    sql += QStringLiteral("DELETE FROM Analiza WHERE rowid % 7 = 0;");  // gaps in the keys
    QStringList seen[2];
    for (const bool onDemand : {false, true}) {
        TestDatabase t(sql);
        auto set = RecordSet::open(t.db(), {QStringLiteral("Analiza"), {}, {}, {}, onDemand});
        QStringList& out = seen[onDemand ? 1 : 0];
        auto look = [&] {
            out << QStringLiteral("%1 %2 %3")
                       .arg(set->recordCount())
                       .arg(set->position())
                       .arg(set->field(QStringLiteral("Numer")).text());
        };
        set->moveLast();
        look();
        set->move(-5);
        look();
        QVERIFY(set->deleteCurrent());
        set->move(2);
        look();
        set->addNew();
        QVERIFY(set->setField(QStringLiteral("Numer"), Value(QStringLiteral("nowa"))));
        QVERIFY(set->update());
        look();
        set->moveFirst();
        QVERIFY(set->find(QStringLiteral("Numer"), Value(QStringLiteral("351"))));
        look();
        QVERIFY(set->setField(QStringLiteral("LiczbaN"), Value(5)));
        QVERIFY(set->update());
        QVERIFY(set->deleteCurrent());
        set->move(2);
        look();
        set->moveFirst();
        look();
        out << set->fieldAt(3, QStringLiteral("Numer")).text();
        out << QString::number(set->column(QStringLiteral("Numer")).size());
        out << QString::number(set->find(QStringLiteral("Numer"), Value(QStringLiteral("nowa"))));
        look();
    }
    QCOMPARE(seen[1], seen[0]);
}

void RecordSetTest::deleteLoopEnds() {
    TestDatabase t(QString::fromLatin1(threeAnalyses));
    auto series = RecordSets::series(t.db(), QStringLiteral("2/2026"));
    for (int i = 0; i < 9; ++i) {
        addSeries(*series, QStringLiteral("2/2026"), QStringLiteral("A%1").arg(i % 3), i);
    }
    QCOMPARE(series->recordCount(), 9);
    int guard = 0;
    series->moveFirst();
    while (!series->isEof() && guard++ < 20) {
        QVERIFY(series->deleteCurrent());
        series->moveFirst();
    }
    QCOMPARE(series->recordCount(), 0);
    QCOMPARE(RecordSets::series(t.db(), QStringLiteral("2/2026"))->recordCount(), 0);
}

void RecordSetTest::editOfTheCurrentRow() {
    TestDatabase t(QString::fromLatin1(threeAnalyses));
    auto set = RecordSets::analyses(t.db());
    set->move(1);
    QVERIFY(set->setField(QStringLiteral("NazwaC"), Value(QString::fromUtf8("Wałek"))));
    QCOMPARE(set->field(QStringLiteral("NazwaC")).text(), QString::fromUtf8("Wałek"));
    set->moveFirst();  // moving away drops an edit that was never updated
    set->move(1);
    QVERIFY(set->field(QStringLiteral("NazwaC")).isEmpty());
    QVERIFY(set->setField(QStringLiteral("NazwaC"), Value(QString::fromUtf8("Wałek"))));
    QVERIFY(set->update());
    auto fresh = RecordSets::analyses(t.db());
    fresh->move(1);
    QCOMPARE(fresh->field(QStringLiteral("NazwaC")).text(), QString::fromUtf8("Wałek"));
}

void RecordSetTest::textIntoNumberFieldUsesTheLocale() {
    TestDatabase t(QString::fromLatin1(threeAnalyses));
    auto set = RecordSets::analyses(t.db());
    QVERIFY(set->setField(QStringLiteral("GWG"), Value(QStringLiteral("10,5"))));
    QCOMPARE(set->field(QStringLiteral("GWG")), Value(10.5));
    QVERIFY(!set->setField(QStringLiteral("DWG"), Value(QStringLiteral("10.4"))));
    QVERIFY(!set->setField(QStringLiteral("WN"), Value(QString())));
    QVERIFY(set->lastError().contains(QStringLiteral("WN")));
    QVERIFY(
        set->setField(QStringLiteral("Parametr"), Value(QStringLiteral("Ø"))));  // skip and go on
    QVERIFY(set->update());
    auto fresh = RecordSets::analyses(t.db());
    QCOMPARE(fresh->field(QStringLiteral("GWG")).number(), 10.5);
    QVERIFY(fresh->field(QStringLiteral("DWG")).isEmpty());
    QVERIFY(fresh->field(QStringLiteral("WN")).isEmpty());
    QVERIFY(fresh->field(QStringLiteral("LiczbaN")).isNumber());

    // a number put into a text field reads as its plain text in the user's format
    QVERIFY(fresh->setField(QStringLiteral("Temperatura"), Value(20.5)));
    QVERIFY(fresh->update());
    QCOMPARE(RecordSets::analyses(t.db())->field(QStringLiteral("Temperatura")).text(),
             QStringLiteral("20,5"));
}

void RecordSetTest::hostileTextIsData_data() {
    QTest::addColumn<QString>("numer");
    QTest::newRow("apostrophe") << "O'Brien/1";
    QTest::newRow("quote") << "12\"/2026";
    QTest::newRow("semicolon and drop") << "1'; DROP TABLE DanePom; --";
    QTest::newRow("comment") << "7 -- x";
    QTest::newRow("percent underscore") << "5%_";
}

void RecordSetTest::hostileTextIsData() {
    QFETCH(QString, numer);
    TestDatabase t(QString::fromLatin1(threeAnalyses));
    auto analyses = RecordSets::analyses(t.db());
    analyses->addNew();
    QVERIFY(analyses->setField(QStringLiteral("Numer"), Value(numer)));
    QVERIFY(analyses->update());
    auto series = RecordSets::series(t.db(), numer);
    const QString appraiser = QStringLiteral("D'Artagnan; --");
    addSeries(*series, numer, appraiser, 1.0);
    addSeries(*series, numer, QStringLiteral("Inny"), 2.0);
    addSeries(*series, QStringLiteral("1/2026"), appraiser, 3.0);

    analyses->moveFirst();
    QVERIFY(analyses->find(QStringLiteral("Numer"), Value(numer)));
    QCOMPARE(analyses->field(QStringLiteral("Numer")).text(), numer);
    auto reopened = RecordSets::series(t.db(), numer);
    QCOMPARE(reopened->recordCount(), 2);
    QCOMPARE(RecordSets::countSeries(t.db(), numer, appraiser), std::optional<int>(1));
    QCOMPARE(RecordSets::countSeries(t.db(), numer, QStringLiteral("inny")), std::optional<int>(0));
    QVERIFY(reopened->find(QStringLiteral("Operator"), Value(appraiser)));
    QCOMPARE(reopened->field(QStringLiteral("P1")).number(), 1.0);
    QCOMPARE(RecordSets::analyses(t.db())->recordCount(), 4);
}

void RecordSetTest::seriesOrderFollowsTheLocale() {
    TestDatabase t(QString::fromLatin1(threeAnalyses));
    const QString id = QStringLiteral("2/2026");
    auto series = RecordSets::series(t.db(), id);
    const QStringList stored = {
        QStringLiteral("Marek"),     QString::fromUtf8("Łukasz"), QStringLiteral("Lucyna"),
        QString::fromUtf8("Łukasz"), QStringLiteral("Marek"),     QStringLiteral("Lucyna"),
        QString::fromUtf8("łukasz"), QStringLiteral("Zenon"),     QStringLiteral("Marek ")};
    for (int i = 0; i < stored.size(); ++i) {
        addSeries(*series, id, stored[i], i);
    }
    auto ordered = RecordSets::series(t.db(), id);
    QStringList names;
    QList<double> order;
    for (ordered->moveFirst(); !ordered->isEof(); ordered->moveNext()) {
        names << ordered->field(QStringLiteral("Operator")).text();
        order << ordered->field(QStringLiteral("P1")).number();
    }
    // identical names stand together, each in the order it was stored
    QCOMPARE(names.mid(0, 2), (QStringList{"Lucyna", "Lucyna"}));
    QCOMPARE(order.mid(0, 2), (QList<double>{2, 5}));
    QCOMPARE(names.mid(2, 3).filter(QString::fromUtf8("Łukasz")).size(), 2);
    const int first = names.indexOf(QString::fromUtf8("Łukasz"));
    QCOMPARE(names.at(first + 1), QString::fromUtf8("Łukasz"));
    QCOMPARE(order.at(first), 1.0);
    QCOMPARE(order.at(first + 1), 3.0);
    QVERIFY(names.indexOf(QStringLiteral("Marek")) >
            names.lastIndexOf(QString::fromUtf8("Łukasz")));
    QVERIFY(names.indexOf(QStringLiteral("Marek")) > names.indexOf(QString::fromUtf8("łukasz")));
    QCOMPARE(names.indexOf(QStringLiteral("Marek")) + 1,
             names.lastIndexOf(QStringLiteral("Marek")));
    QCOMPARE(names.last(), QStringLiteral("Zenon"));
}

void RecordSetTest::partsBeyondNAreEmpty() {
    TestDatabase t(QString::fromLatin1(threeAnalyses) +
                   QStringLiteral("INSERT INTO DanePom (ID, Operator, P1, P2, P3, P4, P5, ObX) "
                                  "VALUES ('1/2026', 'A', 1, 2, 3, 4, 5, 3);"));
    auto series = RecordSets::series(t.db(), QStringLiteral("1/2026"));
    for (int j = 1; j <= 5; ++j) {
        QCOMPARE(series->field(QStringLiteral("P%1").arg(j)).number(), double(j));
    }
    for (int j = 6; j <= 10; ++j) {
        QVERIFY(series->field(QStringLiteral("P%1").arg(j)).isEmpty());
    }
}

void RecordSetTest::changesAreOnDiskAtOnce() {
    TestDatabase t(QString::fromLatin1(threeAnalyses));
    auto series = RecordSets::series(t.db(), QStringLiteral("1/2026"));
    addSeries(*series, QStringLiteral("1/2026"), QStringLiteral("A"), 10.01);
    // a second, independent connection sees the committed row
    auto second = Database::open(t.path(), RegionalSettings::polish());
    QVERIFY2(second.database, qPrintable(second.error));
    auto seen = RecordSets::series(*second.database, QStringLiteral("1/2026"));
    QCOMPARE(seen->recordCount(), 1);
    QCOMPARE(seen->field(QStringLiteral("P1")).number(), 10.01);
}

// While another program holds the file past the lock timeout, reads fail and give
// nothing; once it lets go, the same rows read as stored (no empty row was kept).
void RecordSetTest::aFailedReadIsNotKept() {
    TestDatabase t(QString::fromLatin1(threeAnalyses));
    auto analyses = RecordSets::analyses(t.db());
    analyses->moveFirst();
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open(t.path().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE; UPDATE Analiza SET NumerC = 'x';", nullptr,
                          nullptr, nullptr),
             SQLITE_OK);
    QVERIFY(analyses->field(QStringLiteral("Numer")).isEmpty());
    QVERIFY(!analyses->readFieldAt(2, QStringLiteral("Numer")));
    QVERIFY(analyses->readError().contains(QStringLiteral("zablokowany")));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    analyses->clearReadError();
    QCOMPARE(analyses->field(QStringLiteral("Numer")).text(), QStringLiteral("1/2026"));
    QCOMPARE(analyses->readFieldAt(2, QStringLiteral("Numer"))->text(), QStringLiteral("3/2026"));
    QVERIFY(analyses->readError().isEmpty());
}

QTEST_GUILESS_MAIN(RecordSetTest)
#include "tst_record_set.moc"
