#include <QMap>

#include "csv_study.h"

namespace CsvStudy {

namespace {

constexpr int kMostAppraisers = 3;
constexpr int kMostTrials = 3;
constexpr int kMostParts = 10;
constexpr int kFewestParts = 5;  // as the analysis editor allows

QString at(int line, int column, const QString& what) {
    return QString::fromUtf8("Wiersz %1, kolumna %2: %3.").arg(line).arg(column).arg(what);
}

struct Row {
    int line;
    QStringList cells;
};

// The separator that splits the header line into the most cells.
QChar separatorOf(const QString& header) {
    QChar best = QLatin1Char(';');
    int most = 0;
    for (const QChar c : {QLatin1Char(';'), QLatin1Char('\t'), QLatin1Char(',')}) {
        const int count = static_cast<int>(cellsOf(header, c).size());
        if (count > most) {
            most = count;
            best = c;
        }
    }
    return best;
}

class Reader {
public:
    Read run(const QString& text);

private:
    bool readLines(const QString& text);
    bool layoutOf(const QStringList& header, int line);
    bool takeRows();
    bool takeLong(const Row& row);
    bool takeWide(const Row& row);
    bool store(int line, int column, const QString& appraiser, int trial, int part,
               const QString& value);
    bool whole(int line, int column, const QString& text, int most, int* out, const char* what);
    bool finish();
    bool refuse(const QString& why) {
        error_ = why;
        return false;
    }

    StudyFile study_;
    QVector<Row> rows_;
    QChar separator_;
    QChar decimal_ = QLatin1Char('.');
    bool wide_ = false;
    int wideParts_ = 0;
    QStringList appraisers_;
    QMap<std::tuple<int, int, int>, Value> values_;  // appraiser, trial, part from 0
    QString error_;
};

bool Reader::readLines(const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool headerSeen = false;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        if (line.trimmed().isEmpty()) {
            continue;
        }
        if (line.startsWith(QLatin1Char('#'))) {
            const int colon = line.indexOf(QLatin1Char(':'));
            if (!headerSeen && colon > 1) {
                study_.header.append(
                    {line.mid(1, colon - 1).trimmed(), line.mid(colon + 1).trimmed()});
            }
            continue;
        }
        if (!headerSeen) {
            headerSeen = true;
            separator_ = separatorOf(line);
            if (!layoutOf(cellsOf(line, separator_), i + 1)) {
                return false;
            }
            continue;
        }
        rows_.append({i + 1, cellsOf(line, separator_)});
    }
    return headerSeen || refuse(QString::fromUtf8("Plik nie zawiera wiersza nagłówka kolumn."));
}

bool Reader::layoutOf(const QStringList& header, int line) {
    QStringList names;
    for (const QString& h : header) {
        names << textOf(h).toLower();
    }
    if (names == QStringList{QStringLiteral("appraiser"), QStringLiteral("part"),
                             QStringLiteral("trial"), QStringLiteral("value")}) {
        return true;
    }
    if (names.size() >= 4 && names[0] == QLatin1String("appraiser") &&
        names[1] == QLatin1String("trial")) {
        wide_ = true;
        wideParts_ = static_cast<int>(names.size()) - 2;
        for (int j = 2; j < names.size(); ++j) {
            if (names[j] != QStringLiteral("p%1").arg(j - 1)) {
                return refuse(at(line, j + 1,
                                 QString::fromUtf8("oczekiwano kolumny „P%1”, jest „%2”")
                                     .arg(j - 1)
                                     .arg(header[j])));
            }
        }
        return true;
    }
    return refuse(at(line, 1,
                     QString::fromUtf8("nieznany nagłówek „%1” (oczekiwano "
                                       "„appraiser;part;trial;value” albo "
                                       "„appraiser;trial;P1;…;Pn”)")
                         .arg(header.join(separator_))));
}

bool Reader::whole(int line, int column, const QString& text, int most, int* out,
                   const char* what) {
    bool ok = false;
    *out = textOf(text).toInt(&ok);
    if (!ok || *out < 1 || *out > most) {
        return refuse(at(line, column,
                         QString::fromUtf8("„%1” nie jest numerem %2 od 1 do %3 "
                                           "(czy kolumny nie są zamienione?)")
                             .arg(text, QString::fromUtf8(what))
                             .arg(most)));
    }
    return true;
}

bool Reader::store(int line, int column, const QString& appraiser, int trial, int part,
                   const QString& value) {
    const QString who = textOf(appraiser);
    if (who.isEmpty()) {
        return refuse(at(line, 1, QString::fromUtf8("brak oceniającego")));
    }
    int a = static_cast<int>(appraisers_.indexOf(who));
    if (a < 0) {
        if (appraisers_.size() == kMostAppraisers) {
            return refuse(
                at(line, 1, QString::fromUtf8("więcej niż %1 oceniających").arg(kMostAppraisers)));
        }
        appraisers_ << who;
        a = static_cast<int>(appraisers_.size()) - 1;
    }
    QString number = value.trimmed();
    if (number.isEmpty()) {
        return refuse(at(line, column, QString::fromUtf8("brak wartości")));
    }
    number.replace(decimal_, QLatin1Char('.'));
    bool ok = false;
    const double v = number.toDouble(&ok);
    if (!ok || (decimal_ != QLatin1Char('.') && value.contains(QLatin1Char('.')))) {
        return refuse(at(line, column, QString::fromUtf8("„%1” nie jest liczbą").arg(value)));
    }
    const auto key = std::make_tuple(a, trial - 1, part - 1);
    if (values_.contains(key)) {
        return refuse(at(line, column,
                         QString::fromUtf8("powtórzona wartość: oceniający %1, "
                                           "powtórzenie %2, część %3")
                             .arg(who)
                             .arg(trial)
                             .arg(part)));
    }
    values_.insert(key, Value(v));
    return true;
}

bool Reader::takeLong(const Row& row) {
    if (row.cells.size() != 4) {
        return refuse(at(row.line, qMin(static_cast<int>(row.cells.size()) + 1, 5),
                         QString::fromUtf8("wiersz ma %1 kolumn zamiast 4").arg(row.cells.size())));
    }
    int part = 0;
    int trial = 0;
    return whole(row.line, 2, row.cells[1], kMostParts, &part, "części") &&
           whole(row.line, 3, row.cells[2], kMostTrials, &trial, "powtórzenia") &&
           store(row.line, 4, row.cells[0], trial, part, row.cells[3]);
}

bool Reader::takeWide(const Row& row) {
    if (row.cells.size() != wideParts_ + 2) {
        return refuse(at(row.line, static_cast<int>(row.cells.size()) + 1,
                         QString::fromUtf8("wiersz ma %1 kolumn zamiast %2")
                             .arg(row.cells.size())
                             .arg(wideParts_ + 2)));
    }
    int trial = 0;
    if (!whole(row.line, 2, row.cells[1], kMostTrials, &trial, "powtórzenia")) {
        return false;
    }
    for (int j = 0; j < wideParts_; ++j) {
        if (!store(row.line, j + 3, row.cells[0], trial, j + 1, row.cells[j + 2])) {
            return false;
        }
    }
    return true;
}

bool Reader::takeRows() {
    // The decimal: "." when "," separates cells, else "," where any value has one.
    decimal_ = QLatin1Char('.');
    if (separator_ != QLatin1Char(',')) {
        for (const Row& row : rows_) {
            for (int c = wide_ ? 2 : 3; c < row.cells.size(); ++c) {
                decimal_ = row.cells[c].contains(QLatin1Char(',')) ? QLatin1Char(',') : decimal_;
            }
        }
    }
    for (const Row& row : rows_) {
        if (!(wide_ ? takeWide(row) : takeLong(row))) {
            return false;
        }
    }
    return finish();
}

// Every appraiser with the same trials 1..r of the same parts 1..n.
bool Reader::finish() {
    int parts = 0;
    int trials = 0;
    for (auto it = values_.cbegin(); it != values_.cend(); ++it) {
        trials = std::max(trials, std::get<1>(it.key()) + 1);
        parts = std::max(parts, std::get<2>(it.key()) + 1);
    }
    const int lastLine = rows_.isEmpty() ? 1 : rows_.last().line;
    if (appraisers_.size() < 2 || trials < 2 || parts < kFewestParts) {
        return refuse(at(lastLine, 1,
                         QString::fromUtf8("za mało danych: %1 oceniających, %2 "
                                           "powtórzeń, %3 części (najmniej 2, 2, 5)")
                             .arg(appraisers_.size())
                             .arg(trials)
                             .arg(parts)));
    }
    study_.parts = parts;
    study_.appraisers = appraisers_;
    study_.values.resize(appraisers_.size());
    for (int a = 0; a < appraisers_.size(); ++a) {
        study_.values[a].resize(trials);
        for (int t = 0; t < trials; ++t) {
            for (int j = 0; j < parts; ++j) {
                const auto key = std::make_tuple(a, t, j);
                if (!values_.contains(key)) {
                    return refuse(at(lastLine, wide_ ? j + 3 : 4,
                                     QString::fromUtf8("brak wartości: oceniający %1, powtórzenie "
                                                       "%2, część %3")
                                         .arg(appraisers_[a])
                                         .arg(t + 1)
                                         .arg(j + 1)));
                }
                study_.values[a][t] << values_.value(key);
            }
        }
    }
    return true;
}

Read Reader::run(const QString& text) {
    if (!readLines(text) || !takeRows()) {
        return {std::nullopt, error_};
    }
    return {study_, {}};
}

}  // namespace

Read read(QIODevice& in) {
    QString text = QString::fromUtf8(in.readAll());
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return Reader().run(text);
}

}  // namespace CsvStudy
