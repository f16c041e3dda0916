#include <QTextDocument>
#include <QtTest>

#include "file_output.h"
#include "verdict_colour.h"
#include "verification_page.h"

namespace {

Verification::Figure figure(const char* name, Verification::Outcome outcome) {
    Verification::Figure f;
    f.name = QString::fromUtf8(name);
    f.reference = QStringLiteral("0,200");
    f.computed = outcome == Verification::Outcome::Agrees ? QStringLiteral("0,20012")
                                                          : QStringLiteral("0,21000");
    f.difference = QStringLiteral("0,01000");
    f.allowed = QStringLiteral("0,001");
    f.outcome = outcome;
    return f;
}

// One study with a figure in agreement and one not, and one that could not be computed;
// `rows` figures more make the table run over pages.
Verification::Record record(int rows) {
    Verification::Record r;
    r.version = QStringLiteral("3.0");
    r.made = QStringLiteral("10.12.2026 10:00");
    Verification::Check check;
    check.method = QString::fromUtf8("Metoda średniej i rozstępu");
    check.source = QStringLiteral("AIAG MSA 4");
    check.figures << figure("EV", Verification::Outcome::Agrees)
                  << figure("AV", Verification::Outcome::Disagrees);
    for (int i = 0; i < rows; ++i) {
        check.figures << figure("PV", Verification::Outcome::Agrees);
    }
    r.studies << Verification::Study{QStringLiteral("AIAG"), QStringLiteral("A"), {}, {check}};
    r.studies << Verification::Study{
        QStringLiteral("ISO"), QStringLiteral("B"), QString::fromUtf8("brak miejsca"), {}};
    return r;
}

int pagesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count("/Type /Page\n")) : -1;
}

}  // namespace

class VerificationPageTest : public QObject {
    Q_OBJECT

private slots:
    void everyFigureWithItsVerdict();
};

// Each figure stands in a row with its verdict in the verdict colour, a study that was not
// computed says why, the summary closes the record, and a long table runs on to more pages.
void VerificationPageTest::everyFigureWithItsVerdict() {
    const QString html = VerificationPage::html(record(0));
    QTextDocument document;
    document.setHtml(html);
    const QString text = document.toPlainText();
    QVERIFY(text.contains(QStringLiteral("0,20012")));
    QVERIFY(text.contains(QStringLiteral("0,21000")));
    QVERIFY(text.contains(QString::fromUtf8("Nie obliczono: brak miejsca")));
    QVERIFY(text.contains(record(0).summary()));
    QVERIFY(html.contains(QStringLiteral("bgcolor=\"%1\"><b>NIEZGODNY</b>")
                              .arg(verdictColour(Verdict::Rejected).name())));
    QVERIFY(html.contains(
        QStringLiteral("bgcolor=\"%1\">zgodny").arg(verdictColour(Verdict::Accepted).name())));

    QTemporaryDir dir;
    const QString shortRecord = dir.filePath(QStringLiteral("short.pdf"));
    const QString longRecord = dir.filePath(QStringLiteral("long.pdf"));
    QString error;
    QVERIFY(VerificationPage::writePdf(record(0), shortRecord, &error));
    QVERIFY(VerificationPage::writePdf(record(150), longRecord, &error));
    QCOMPARE(pagesOf(shortRecord), 1);
    QVERIFY(pagesOf(longRecord) > 2);
}

QTEST_MAIN(VerificationPageTest)
#include "tst_verification_page.moc"
