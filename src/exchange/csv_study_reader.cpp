#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QStringDecoder>
#include <array>
#include <cerrno>

#include "analysis_fields.h"
#include "attribute_study.h"
#include "crossed_design.h"
#include "csv_study.h"
#include "excerpt.h"
#include "linearity_study.h"
#include "system_error.h"
#include "type1_study.h"

namespace CsvStudy {

namespace {

constexpr int kMostAppraisers = CrossedDesign::kMostAppraisers;
constexpr int kMostTrials = CrossedDesign::kMostTrials;
constexpr int kMostParts = CrossedDesign::kMostParts;
constexpr int kFewestParts = CrossedDesign::kFewestParts;

QString at(int line, int column, const QString& what) {
    return QString::fromUtf8("Wiersz %1, kolumna %2: %3.").arg(line).arg(column).arg(what);
}

// The text by its byte-order mark; without one UTF-8 when it is valid UTF-8, else
// Windows-1250. Nothing when the bytes are not valid in the encoding they declare: a
// replacement character is never taken for a letter of a name.
std::optional<QString> decoded(const QByteArray& bytes, QString* error) {
    struct Mark {
        QByteArray bytes;
        QStringConverter::Encoding encoding;
        const char* name;
    };
    const Mark marks[] = {{QByteArray("\xEF\xBB\xBF"), QStringConverter::Utf8, "UTF-8"},
                          {QByteArray("\xFF\xFE"), QStringConverter::Utf16LE, "UTF-16 LE"},
                          {QByteArray("\xFE\xFF"), QStringConverter::Utf16BE, "UTF-16 BE"}};
    for (const Mark& m : marks) {
        if (bytes.startsWith(m.bytes)) {
            QStringDecoder decoder(m.encoding, QStringConverter::Flag::Stateless);
            const QString text = decoder.decode(bytes.mid(m.bytes.size()));
            if (decoder.hasError()) {
                *error = QString::fromUtf8(
                             "Plik oznaczony jako %1 zawiera bajty, które nie są "
                             "tekstem w tym kodowaniu.")
                             .arg(QString::fromLatin1(m.name));
                return std::nullopt;
            }
            return text;
        }
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    QStringDecoder windows("windows-1250", QStringConverter::Flag::Stateless);
    if (!windows.isValid()) {
        *error = QString::fromUtf8(
            "Plik nie jest zapisany w UTF-8, a kodowania Windows-1250 "
            "nie można odczytać.");
        return std::nullopt;
    }
    return windows.decode(bytes);
}

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

// The columns of the long layout, named in English or Polish as the peers' sample files
// and this program's own exports name them.
enum Role { kAppraiser, kPart, kTrial, kValue, kReference, kResult, kRoles };

std::optional<Role> roleOf(const QString& name) {
    static const std::pair<Role, const char*> names[] = {{kAppraiser, "appraiser"},
                                                         {kAppraiser, "appraisers"},
                                                         {kAppraiser, "operator"},
                                                         {kAppraiser, "operators"},
                                                         {kAppraiser, "oceniający"},
                                                         {kAppraiser, "oceniajacy"},
                                                         {kPart, "part"},
                                                         {kPart, "parts"},
                                                         {kPart, "część"},
                                                         {kPart, "czesc"},
                                                         {kTrial, "trial"},
                                                         {kTrial, "trials"},
                                                         {kTrial, "replicate"},
                                                         {kTrial, "powtórzenie"},
                                                         {kTrial, "powtorzenie"},
                                                         {kValue, "value"},
                                                         {kValue, "measurement"},
                                                         {kValue, "response"},
                                                         {kValue, "pomiar"},
                                                         {kValue, "wartość"},
                                                         {kValue, "wartosc"},
                                                         {kReference, "reference"},
                                                         {kReference, "odniesienie"},
                                                         {kReference, "wzorzec"},
                                                         {kResult, "result"},
                                                         {kResult, "wynik"},
                                                         {kResult, "decyzja"}};
    for (const auto& [role, known] : names) {
        if (name.compare(QString::fromUtf8(known), Qt::CaseInsensitive) == 0) {
            return role;
        }
    }
    return std::nullopt;
}

struct Row {
    int line;
    QStringList cells;
};

class Reader {
public:
    Read run(const QString& text);

private:
    bool takeLine(int line, const QString& text);
    bool layoutOf(const QStringList& header, int line);
    bool longLayoutOf(const QStringList& names, const QStringList& header, int line);
    bool takeRows();
    bool takeLong(const Row& row);
    bool takeWide(const Row& row);
    bool type1LayoutOf(const QStringList& names);
    bool linearityLayoutOf(const QStringList& names);
    bool attributeLayoutOf(const QStringList& names);
    bool takeAttribute(const Row& row);
    bool takeLinearity(const Row& row);
    bool finishLinearity();
    bool takeType1(const Row& row);
    bool finishType1();
    bool store(int line, int column, const QString& appraiser, int trial, int part,
               const QString& value);
    bool whole(int line, int column, const QString& text, int most, int* out, const char* what);
    void findDecimal();
    bool finish();
    bool refuse(const QString& why) {
        error_ = why;
        return false;
    }

    StudyFile study_;
    QVector<Row> rows_;
    bool headerSeen_ = false;
    bool resultsSeen_ = false;
    QChar separator_;
    QChar decimal_ = QLatin1Char('.');
    bool wide_ = false;
    bool type1_ = false;
    bool linearity_ = false;
    bool attribute_ = false;
    QMap<std::pair<QString, int>, int> decisionsOf_;  // rows so far by appraiser and part
    QSet<std::pair<int, int>> partTrials_;            // a linearity study's, as read
    QMap<int, Value> readings_;                       // a type-1 study's, by trial
    int wideParts_ = 0;
    std::array<int, kRoles> columns_{{-1, -1, -1, -1, -1, -1}};
    QStringList appraisers_;
    QMap<std::tuple<int, int, int>, Value> values_;  // appraiser, trial, part from 0
    QMap<std::pair<int, int>, int> trialsOf_;        // rows so far by appraiser and part
    QString error_;
};

// One line: blank, an analysis field before the header, the header, or data.
bool Reader::takeLine(int line, const QString& text) {
    if (text.trimmed().isEmpty() || resultsSeen_) {
        return true;
    }
    if (!headerSeen_ &&
        (text.startsWith(QLatin1Char('#')) || text.startsWith(QStringLiteral("\"#")))) {
        // a field line, quoted whole when its value holds the separator or a quote
        const QString field =
            text.startsWith(QLatin1Char('"')) ? cellsOf(text, QChar(0)).value(0) : text;
        const int colon = static_cast<int>(field.indexOf(QLatin1Char(':')));
        if (colon > 1) {
            study_.header.append(
                {field.mid(1, colon - 1).trimmed(), field.mid(colon + 1).trimmed()});
        }
        return true;
    }
    if (!headerSeen_) {
        headerSeen_ = true;
        separator_ = separatorOf(text);
        return layoutOf(cellsOf(text, separator_), line);
    }
    if (text.trimmed() == QLatin1String("# Wyniki")) {
        resultsSeen_ = true;  // the results a study file may end with are no data
        return true;
    }
    const int mostLinearity = Linearity::kMostParts * Linearity::kMostReadings;
    if (linearity_ && rows_.size() == mostLinearity) {
        return refuse(at(line, 1,
                         QString::fromUtf8("więcej odczytów niż przyjmuje badanie liniowości (%1)")
                             .arg(mostLinearity)));
    }
    if (type1_ && rows_.size() == Type1::kMostReadings) {
        return refuse(at(line, 1,
                         QString::fromUtf8("więcej odczytów niż przyjmuje badanie typu 1 (%1)")
                             .arg(Type1::kMostReadings)));
    }
    const int most =
        wide_ ? kMostAppraisers * kMostTrials : kMostAppraisers * kMostTrials * kMostParts;
    const int mostAttribute =
        Attribute::kMostParts * Attribute::kMostAppraisers * Attribute::kMostTrials;
    if (attribute_ && rows_.size() == mostAttribute) {
        return refuse(at(line, 1,
                         QString::fromUtf8("więcej decyzji niż przyjmuje badanie zgodności (%1)")
                             .arg(mostAttribute)));
    }
    if (!type1_ && !linearity_ && !attribute_ && rows_.size() == most) {
        return refuse(at(line, 1,
                         QString::fromUtf8("więcej wierszy danych niż ma największe badanie "
                                           "(%1: 3 oceniających, 3 powtórzenia, 10 części)")
                             .arg(most)));
    }
    rows_.append({line, cellsOf(text, separator_)});
    return true;
}

bool Reader::layoutOf(const QStringList& header, int line) {
    QStringList names;
    for (const QString& h : header) {
        names << textOf(h).toLower();
    }
    if (names.size() >= 3 && names[0] == QLatin1String("appraiser") &&
        names[1] == QLatin1String("trial")) {
        wide_ = true;
        wideParts_ = static_cast<int>(names.size()) - 2;
        for (int j = 2; j < names.size(); ++j) {
            if (j - 1 > kMostParts) {
                return refuse(
                    at(line, j + 1, QString::fromUtf8("więcej niż %1 części").arg(kMostParts)));
            }
            if (names[j] != QStringLiteral("p%1").arg(j - 1)) {
                return refuse(at(line, j + 1,
                                 QString::fromUtf8("oczekiwano kolumny „P%1”, jest %2")
                                     .arg(j - 1)
                                     .arg(quotedExcerpt(header[j]))));
            }
        }
        return true;
    }
    if (type1LayoutOf(names) || linearityLayoutOf(names) || attributeLayoutOf(names)) {
        return true;
    }
    return longLayoutOf(names, header, line);
}

// A type-1 study: "trial;value" or "value" alone (in either language).
bool Reader::type1LayoutOf(const QStringList& names) {
    const bool withTrial =
        names.size() == 2 && roleOf(names[0]) == kTrial && roleOf(names[1]) == kValue;
    if (!withTrial && !(names.size() == 1 && roleOf(names[0]) == kValue)) {
        return false;
    }
    type1_ = true;
    study_.kind = StudyKind::Type1;
    columns_[kTrial] = withTrial ? 0 : -1;
    columns_[kValue] = withTrial ? 1 : 0;
    return true;
}

// Bias and linearity: part, reference and value (in any order), a trial column or none.
bool Reader::linearityLayoutOf(const QStringList& names) {
    std::array<int, kRoles> columns{{-1, -1, -1, -1, -1, -1}};
    for (int c = 0; c < names.size(); ++c) {
        const std::optional<Role> role = roleOf(names[c]);
        if (!role || *role == kAppraiser || *role == kResult || columns[*role] >= 0) {
            return false;
        }
        columns[*role] = c;
    }
    if (columns[kPart] < 0 || columns[kReference] < 0 || columns[kValue] < 0) {
        return false;
    }
    columns_ = columns;
    linearity_ = true;
    study_.kind = StudyKind::Linearity;
    return true;
}

// An attribute study: appraiser, part, result (in any order), a trial and a reference
// column or none.
bool Reader::attributeLayoutOf(const QStringList& names) {
    std::array<int, kRoles> columns{{-1, -1, -1, -1, -1, -1}};
    for (int c = 0; c < names.size(); ++c) {
        const std::optional<Role> role = roleOf(names[c]);
        if (!role || *role == kValue || columns[*role] >= 0) {
            return false;
        }
        columns[*role] = c;
    }
    if (columns[kAppraiser] < 0 || columns[kPart] < 0 || columns[kResult] < 0) {
        return false;
    }
    columns_ = columns;
    attribute_ = true;
    study_.kind = StudyKind::Attribute;
    return true;
}

// One decision; without a trial column the rows of an appraiser and part count them.
bool Reader::takeAttribute(const Row& row) {
    const int wanted = static_cast<int>(
        std::count_if(columns_.begin(), columns_.end(), [](int c) { return c >= 0; }));
    if (row.cells.size() != wanted) {
        return refuse(at(
            row.line, qMin(static_cast<int>(row.cells.size()) + 1, wanted + 1),
            QString::fromUtf8("wiersz ma %1 kolumn zamiast %2").arg(row.cells.size()).arg(wanted)));
    }
    const QString who = textOf(row.cells[columns_[kAppraiser]]).trimmed();
    const QString result = textOf(row.cells[columns_[kResult]]).trimmed();
    if (who.isEmpty() || result.isEmpty()) {
        return refuse(at(row.line, who.isEmpty() ? columns_[kAppraiser] + 1 : columns_[kResult] + 1,
                         QString::fromUtf8(who.isEmpty() ? "brak oceniającego" : "brak decyzji")));
    }
    int part = 0;
    if (!whole(row.line, columns_[kPart] + 1, row.cells[columns_[kPart]], Attribute::kMostParts,
               &part, "części")) {
        return false;
    }
    int trial = ++decisionsOf_[{who, part}];
    if (columns_[kTrial] >= 0 && !whole(row.line, columns_[kTrial] + 1, row.cells[columns_[kTrial]],
                                        Attribute::kMostTrials, &trial, "powtórzenia")) {
        return false;
    }
    if (columns_[kReference] >= 0) {
        const QString reference = textOf(row.cells[columns_[kReference]]).trimmed();
        if (!reference.isEmpty() && study_.referenceDecisions.contains(part) &&
            study_.referenceDecisions.value(part) != reference) {
            return refuse(at(row.line, columns_[kReference] + 1,
                             QString::fromUtf8("część %1 ma już inną decyzję wzorcową").arg(part)));
        }
        if (!reference.isEmpty()) {
            study_.referenceDecisions.insert(part, reference);
        }
    }
    study_.readingAppraisers << who;
    study_.readingParts << part;
    study_.readingTrials << trial;
    study_.readings << Value(result);
    return true;
}

bool Reader::takeLinearity(const Row& row) {
    const int wanted = columns_[kTrial] < 0 ? 3 : 4;
    if (row.cells.size() != wanted) {
        return refuse(at(
            row.line, qMin(static_cast<int>(row.cells.size()) + 1, wanted + 1),
            QString::fromUtf8("wiersz ma %1 kolumn zamiast %2").arg(row.cells.size()).arg(wanted)));
    }
    int part = 0;
    if (!whole(row.line, columns_[kPart] + 1, row.cells[columns_[kPart]], Linearity::kMostParts,
               &part, "części")) {
        return false;
    }
    int trial = 0;
    if (columns_[kTrial] >= 0 && !whole(row.line, columns_[kTrial] + 1, row.cells[columns_[kTrial]],
                                        Linearity::kMostReadings, &trial, "powtórzenia")) {
        return false;
    }
    if (trial > 0 && partTrials_.contains({part, trial})) {
        return refuse(at(
            row.line, columns_[kTrial] + 1,
            QString::fromUtf8("powtórzony odczyt: część %1, powtórzenie %2").arg(part).arg(trial)));
    }
    partTrials_.insert({part, trial});
    std::optional<double> numbers[2];
    const int roles[2] = {kReference, kValue};
    for (int i = 0; i < 2; ++i) {
        const QString& text = row.cells[columns_[roles[i]]];
        numbers[i] = AnalysisFields::readNumber(text, decimal_);
        if (!numbers[i]) {
            return refuse(
                at(row.line, columns_[roles[i]] + 1,
                   text.trimmed().isEmpty()
                       ? QString::fromUtf8("brak wartości")
                       : QString::fromUtf8("%1 nie jest liczbą").arg(quotedExcerpt(text))));
        }
    }
    study_.readingParts << part;
    study_.readingReferences << *numbers[0];
    study_.readings << Value(*numbers[1]);
    return true;
}

bool Reader::finishLinearity() {
    const QSet<int> parts(study_.readingParts.cbegin(), study_.readingParts.cend());
    if (parts.size() < Linearity::kFewestParts) {
        return refuse(at(rows_.isEmpty() ? 1 : rows_.last().line, 1,
                         QString::fromUtf8("za mało części: %1 (badanie liniowości wymaga co "
                                           "najmniej %2)")
                             .arg(parts.size())
                             .arg(Linearity::kFewestParts)));
    }
    return true;
}

// One reading; without a trial column the rows count them.
bool Reader::takeType1(const Row& row) {
    const int wanted = columns_[kTrial] < 0 ? 1 : 2;
    if (row.cells.size() != wanted) {
        return refuse(at(
            row.line, qMin(static_cast<int>(row.cells.size()) + 1, wanted + 1),
            QString::fromUtf8("wiersz ma %1 kolumn zamiast %2").arg(row.cells.size()).arg(wanted)));
    }
    int trial = static_cast<int>(readings_.size()) + 1;
    if (columns_[kTrial] >= 0 &&
        !whole(row.line, 1, row.cells[0], Type1::kMostReadings, &trial, "odczytu")) {
        return false;
    }
    const QString& text = row.cells[columns_[kValue]];
    const int column = columns_[kValue] + 1;
    if (text.trimmed().isEmpty()) {
        return refuse(at(row.line, column, QString::fromUtf8("brak wartości")));
    }
    const std::optional<double> v = AnalysisFields::readNumber(text, decimal_);
    if (!v) {
        return refuse(
            at(row.line, column, QString::fromUtf8("%1 nie jest liczbą").arg(quotedExcerpt(text))));
    }
    if (readings_.contains(trial)) {
        return refuse(at(row.line, 1, QString::fromUtf8("powtórzony odczyt %1").arg(trial)));
    }
    readings_.insert(trial, Value(*v));
    return true;
}

// The readings 1..n, each once, at least as many as the study needs.
bool Reader::finishType1() {
    const int lastLine = rows_.isEmpty() ? 1 : rows_.last().line;
    if (readings_.size() < Type1::kFewestReadings) {
        return refuse(at(lastLine, 1,
                         QString::fromUtf8("za mało odczytów: %1 (badanie typu 1 wymaga co "
                                           "najmniej %2)")
                             .arg(readings_.size())
                             .arg(Type1::kFewestReadings)));
    }
    int expected = 1;
    for (auto it = readings_.cbegin(); it != readings_.cend(); ++it, ++expected) {
        if (it.key() != expected) {
            return refuse(at(lastLine, 1, QString::fromUtf8("brak odczytu %1").arg(expected)));
        }
        study_.readings << it.value();
    }
    return true;
}

// Part, appraiser and value columns in any order, a trial column or none.
bool Reader::longLayoutOf(const QStringList& names, const QStringList& header, int line) {
    for (int c = 0; c < names.size(); ++c) {
        const std::optional<Role> role = roleOf(names[c]);
        if (!role || columns_[*role] >= 0) {
            return refuse(at(line, c + 1,
                             QString::fromUtf8("nieznany nagłówek %1 (oczekiwano "
                                               "„appraiser;part;trial;value” w dowolnej "
                                               "kolejności albo „appraiser;trial;P1;…;Pn”)")
                                 .arg(quotedExcerpt(header.join(separator_)))));
        }
        columns_[*role] = c;
    }
    for (const Role needed : {kAppraiser, kPart, kValue}) {
        if (columns_[needed] < 0) {
            return refuse(at(line, 1,
                             QString::fromUtf8("brak kolumny oceniającego, części albo "
                                               "pomiaru w nagłówku %1")
                                 .arg(quotedExcerpt(header.join(separator_)))));
        }
    }
    return true;
}

bool Reader::whole(int line, int column, const QString& text, int most, int* out,
                   const char* what) {
    bool ok = false;
    *out = textOf(text).toInt(&ok);
    if (!ok || *out < 1 || *out > most) {
        return refuse(at(line, column,
                         QString::fromUtf8("%1 nie jest numerem %2 od 1 do %3 "
                                           "(czy kolumny nie są zamienione?)")
                             .arg(quotedExcerpt(text), QString::fromUtf8(what))
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
    if (trial == 0) {  // no trial column: the rows of one appraiser and part count them
        trial = ++trialsOf_[{a, part}];
        if (trial > kMostTrials) {
            return refuse(at(line, column,
                             QString::fromUtf8("więcej niż %1 powtórzenia: oceniający %2, "
                                               "część %3")
                                 .arg(kMostTrials)
                                 .arg(quotedExcerpt(who))
                                 .arg(part)));
        }
    }
    if (value.trimmed().isEmpty()) {
        return refuse(at(line, column, QString::fromUtf8("brak wartości")));
    }
    // Only a finite number is a measured value: "inf" and "nan" are refused too.
    const std::optional<double> v = AnalysisFields::readNumber(value, decimal_);
    if (!v) {
        return refuse(
            at(line, column, QString::fromUtf8("%1 nie jest liczbą").arg(quotedExcerpt(value))));
    }
    const auto key = std::make_tuple(a, trial - 1, part - 1);
    if (values_.contains(key)) {
        return refuse(at(line, column,
                         QString::fromUtf8("powtórzona wartość: oceniający %1, "
                                           "powtórzenie %2, część %3")
                             .arg(quotedExcerpt(who))
                             .arg(trial)
                             .arg(part)));
    }
    values_.insert(key, Value(*v));
    return true;
}

bool Reader::takeLong(const Row& row) {
    const int count = static_cast<int>(row.cells.size());
    const int wanted = static_cast<int>(
        std::count_if(columns_.begin(), columns_.end(), [](int c) { return c >= 0; }));
    if (count != wanted) {
        return refuse(
            at(row.line, qMin(count + 1, wanted + 1),
               QString::fromUtf8("wiersz ma %1 kolumn zamiast %2").arg(count).arg(wanted)));
    }
    int part = 0;
    int trial = 0;
    return whole(row.line, columns_[kPart] + 1, row.cells[columns_[kPart]], kMostParts, &part,
                 "części") &&
           (columns_[kTrial] < 0 ||
            whole(row.line, columns_[kTrial] + 1, row.cells[columns_[kTrial]], kMostTrials, &trial,
                  "powtórzenia")) &&
           store(row.line, columns_[kValue] + 1, row.cells[columns_[kAppraiser]], trial, part,
                 row.cells[columns_[kValue]]);
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

// The decimal: "." when "," separates cells, else "," where any value has one; the
// file's header fields are read with it too, never with the desktop's.
void Reader::findDecimal() {
    if (separator_ == QLatin1Char(',')) {
        decimal_ = QLatin1Char('.');
        study_.decimal = decimal_;
        return;
    }
    bool comma = false;
    bool point = false;
    for (const Row& row : rows_) {
        for (int c = 0; c < row.cells.size(); ++c) {
            const bool isValue =
                wide_ ? c >= 2 : c == columns_[kValue] || c == columns_[kReference];
            comma = comma || (isValue && row.cells[c].contains(QLatin1Char(',')));
            point = point || (isValue && row.cells[c].contains(QLatin1Char('.')));
        }
    }
    decimal_ = comma ? QLatin1Char(',') : QLatin1Char('.');
    if (comma || point) {
        study_.decimal = decimal_;
    }
}

bool Reader::takeRows() {
    findDecimal();
    for (const Row& row : rows_) {
        const bool taken = attribute_   ? takeAttribute(row)
                           : linearity_ ? takeLinearity(row)
                           : type1_     ? takeType1(row)
                           : wide_      ? takeWide(row)
                                        : takeLong(row);
        if (!taken) {
            return false;
        }
    }
    return attribute_ ? true : linearity_ ? finishLinearity() : type1_ ? finishType1() : finish();
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
    if (appraisers_.size() < CrossedDesign::kFewestAppraisers ||
        trials < CrossedDesign::kFewestTrials || parts < kFewestParts) {
        return refuse(at(lastLine, 1,
                         QString::fromUtf8("za mało danych: %1 oceniających, %2 "
                                           "powtórzeń, %3 części (najmniej %4, %5, %6)")
                             .arg(appraisers_.size())
                             .arg(trials)
                             .arg(parts)
                             .arg(CrossedDesign::kFewestAppraisers)
                             .arg(CrossedDesign::kFewestTrials)
                             .arg(kFewestParts)));
    }
    study_.parts = parts;
    study_.appraisers = appraisers_;
    study_.values.resize(appraisers_.size());
    for (int a = 0; a < appraisers_.size(); ++a) {
        study_.values[a].resize(parts);
        for (int t = 0; t < trials; ++t) {
            for (int j = 0; j < parts; ++j) {
                const auto key = std::make_tuple(a, t, j);
                if (!values_.contains(key)) {
                    return refuse(at(lastLine, wide_ ? j + 3 : columns_[kValue] + 1,
                                     QString::fromUtf8("brak wartości: oceniający %1, powtórzenie "
                                                       "%2, część %3")
                                         .arg(quotedExcerpt(appraisers_[a]))
                                         .arg(t + 1)
                                         .arg(j + 1)));
                }
                study_.values[a][j] << values_.value(key);
            }
        }
    }
    return true;
}

Read Reader::run(const QString& text) {
    qsizetype start = 0;
    for (int line = 1; start <= text.size(); ++line) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        end = end < 0 ? text.size() : end;
        QString current = text.mid(start, end - start);
        if (current.endsWith(QLatin1Char('\r'))) {
            current.chop(1);
        }
        if (!takeLine(line, current)) {
            return {std::nullopt, error_};  // the first fault ends the reading
        }
        start = end + 1;
    }
    if (!headerSeen_) {
        return {std::nullopt, QString::fromUtf8("Plik nie zawiera wiersza nagłówka kolumn.")};
    }
    if (!takeRows()) {
        return {std::nullopt, error_};
    }
    return {study_, {}};
}

QString sizeText(qint64 bytes) {
    return QString::number(static_cast<double>(bytes) / (1 << 20), 'f', 1)
        .replace(QLatin1Char('.'), QLatin1Char(','));
}

}  // namespace

Read read(QIODevice& in) {
    // Never more than a study could need: a longer stream is refused, not read whole.
    const QByteArray bytes = in.read(kMostBytes + 1);
    if (bytes.size() > kMostBytes) {
        return {std::nullopt, QString::fromUtf8("Plik jest większy niż %1 MB, a badanie zajmuje "
                                                "najwyżej kilka kB.")
                                  .arg(sizeText(kMostBytes))};
    }
    QString error;
    std::optional<QString> text = decoded(bytes, &error);
    if (!text) {
        return {std::nullopt, error};
    }
    return Reader().run(*text);
}

Read readFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return {std::nullopt, QString::fromUtf8("Plik nie istnieje.")};
    }
    // A device or a pipe is never opened: /dev/zero has no end, a FIFO waits for a writer.
    if (!info.isFile()) {
        return {std::nullopt,
                QString::fromUtf8("To nie jest zwykły plik (folder, urządzenie albo potok).")};
    }
    if (info.size() > kMostBytes) {
        return {std::nullopt, QString::fromUtf8("Plik ma %1 MB, a badanie zajmuje najwyżej kilka "
                                                "kB (dopuszczalne %2 MB).")
                                  .arg(sizeText(info.size()), sizeText(kMostBytes))};
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        return {std::nullopt,
                QString::fromUtf8("Nie można odczytać pliku: %1.").arg(systemErrorText(errno))};
    }
    return read(file);
}

}  // namespace CsvStudy
