#include "verification_page.h"

#include <QPdfWriter>
#include <QTextDocument>

#include "file_output.h"
#include "report_font.h"
#include "verdict_colour.h"

namespace VerificationPage {

namespace {

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString colourName(Verdict verdict) {
    return verdictColour(verdict).name();
}

QString verdictCell(Verification::Outcome outcome) {
    const QString word = escaped(Verification::outcomeWord(outcome));
    return QStringLiteral("<td align=center bgcolor=\"%1\">%2</td>")
        .arg(colourName(Verification::verdictOf(outcome)),
             outcome == Verification::Outcome::Disagrees ? QStringLiteral("<b>%1</b>").arg(word)
                                                         : word);
}

// The method and its source head the table, with the column names: a table that runs on
// to the next page repeats them there.
QString figureRows(const Verification::Check& check) {
    QString rows =
        QString::fromUtf8(
            "<thead><tr><td colspan=6 bgcolor=\"#eeeeee\"><b>%1</b><br><small>Źródło: %2</small>"
            "</td></tr><tr><th align=left width=\"24%\"><small>Wielkość</small></th>"
            "<th width=\"16%\"><small>Wartość<br>odniesienia</small></th>"
            "<th width=\"16%\"><small>Wartość<br>obliczona</small></th><th "
            "width=\"16%\"><small>Różnica</small></th>"
            "<th width=\"16%\"><small>Różnica<br>dopuszczalna</small></th><th "
            "width=\"12%\"><small>Wynik</small></th>"
            "</tr></thead>")
            .arg(escaped(check.method), escaped(check.source));
    // The kind of each reference value under it: printed in the source or derived.
    for (const Verification::Figure& f : check.figures) {
        rows += QStringLiteral(
                    "<tr><td>%1</td><td align=right>%2<br><small>%3</small></td>"
                    "<td align=right>%4</td><td align=right>%5</td><td align=right>±%6</td>%7"
                    "</tr>")
                    .arg(escaped(f.name), escaped(f.reference),
                         escaped(Verification::sourceWord(f.source)), escaped(f.computed),
                         escaped(f.difference), escaped(f.allowed), verdictCell(f.outcome));
        if (!f.why.isEmpty()) {
            rows += QString::fromUtf8(
                        "<tr><td colspan=6><i>Większa różnica dopuszczalna: %1</i></td></tr>")
                        .arg(escaped(f.why));
        }
    }
    return rows;
}

QString buildTable(const Verification::Record& r) {
    const std::pair<const char*, QString> lines[] = {
        {"Program", QStringLiteral("Kalmet %1, wersja źródeł %2").arg(r.version, r.commit)},
        {"Data sprawdzenia", r.made},
        {"System operacyjny", r.system},
        {"Qt", r.qt},
        {"SQLite", r.sqlite}};
    QString rows;
    for (const auto& [name, value] : lines) {
        rows += QStringLiteral("<tr><td width=\"30%\">%1</td><td>%2</td></tr>")
                    .arg(QString::fromUtf8(name), escaped(value));
    }
    return QStringLiteral("<table cellpadding=2>%1</table>").arg(rows);
}

}  // namespace

QString html(const Verification::Record& record) {
    QString body = QString::fromUtf8("<h2>Protokół weryfikacji obliczeń</h2>") +
                   buildTable(record) +
                   QString::fromUtf8(
                       "<p>Każde badanie odniesienia obliczono tą samą drogą co okno główne "
                       "(wartości wyświetlane, tablice współczynników programu, poziom badania) "
                       "i porównano z wartościami odniesienia z dokładnością, z jaką je podano: "
                       "± jedna jednostka ostatniej cyfry, chyba że przy wielkości wyjaśniono "
                       "większą różnicę. Wartość „opublikowana” jest wydrukowana w źródle; "
                       "„wyprowadzona” — obliczona z opublikowanych danych opisaną metodą.</p>");
    for (const Verification::Study& study : record.studies) {
        body +=
            QStringLiteral("<h3>%1</h3><p>%2</p>").arg(escaped(study.title), escaped(study.values));
        if (!study.failure.isEmpty()) {
            body +=
                QString::fromUtf8("<p><b>Nie obliczono: %1</b></p>").arg(escaped(study.failure));
        }
        for (const Verification::Check& check : study.checks) {
            body += QStringLiteral(
                        "<table border=1 cellspacing=0 cellpadding=3 width=\"100%\">%1</table>"
                        "<p></p>")
                        .arg(figureRows(check));
        }
    }
    body += QStringLiteral("<p><b>%1</b></p>").arg(escaped(record.summary()));
    body += QString::fromUtf8(
        "<br><table width=\"100%\" cellpadding=6><tr><td width=\"50%\">Sprawdził (imię i "
        "nazwisko):<br><br>.......................................................</td>"
        "<td>Data i podpis:<br><br>.......................................................</td>"
        "</tr></table>");
    return QStringLiteral("<html><body>%1</body></html>").arg(body);
}

bool writePdf(const Verification::Record& record, const QString& path, QString* error) {
    return FileOutput::write(
        path,
        [&](QIODevice& device) {
            QPdfWriter writer(&device);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
            writer.setTitle(QString::fromUtf8("Protokół weryfikacji obliczeń"));
            writer.setCreator(QStringLiteral("Kalmet III"));
            QTextDocument document;
            QFont font(resolveReportFont(QStringLiteral("Arial CE")));
            font.setPointSizeF(8.5);
            document.setDefaultFont(font);
            document.setHtml(html(record));
            document.setPageSize(writer.pageLayout().paintRectPoints().size());
            document.print(&writer);
            return true;
        },
        error);
}

}  // namespace VerificationPage
