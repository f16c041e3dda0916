#include "readings_editor.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QVBoxLayout>

#include "analysis_fields.h"
#include "excerpt.h"
#include "gauge_source.h"
#include "readings_model.h"
#include "type1_study.h"

namespace {

QPushButton* button(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

// A cell of a spreadsheet's copy: empty, or a number with either decimal.
std::optional<std::optional<double>> cellValue(const QString& text) {
    const QString cell = text.trimmed();
    if (cell.isEmpty()) {
        return std::optional<double>();
    }
    if (const auto number = AnalysisFields::readNumber(cell)) {
        return std::optional<double>(*number);
    }
    return std::nullopt;
}

QVector<ReadingsModel::Column> columnsOf(StudyKind kind) {
    using C = ReadingsModel::Column;
    return kind == StudyKind::Linearity ? QVector<C>{C::Part, C::Reference, C::Value}
                                        : QVector<C>{C::Value};
}

}  // namespace

Odczyty::Odczyty(StudyKind kind, const QString& numer, const Readings& readings,
                 const RegionalSettings& regional, Dialogs& dialogs, Store store, QWidget* parent)
    : QDialog(parent),
      regional_(regional),
      dialogs_(dialogs),
      store_(std::move(store)),
      readings_(readings),
      kind_(kind),
      model_(new ReadingsModel(
          columnsOf(kind), regional,
          [this](int row, ReadingsModel::Column column, const QString& text) {
              return editCell(row, column, text);
          },
          this)),
      table_(new QTableView(this)),
      status_(new QLabel(this)) {
    setObjectName(QStringLiteral("Odczyty"));
    setWindowTitle((kind == StudyKind::Linearity
                        ? QString::fromUtf8("Odczyty badania liniowości — analiza %1")
                        : QString::fromUtf8("Odczyty badania typu 1 — analiza %1"))
                       .arg(numer));
    // Empty rows to type into (stored with the first change): a new study's first
    // readings, or the next one.
    shownRows_ = readings_.isEmpty() ? kRowsOfANewStudy : 1;
    table_->setObjectName(QStringLiteral("TabelaOdczytow"));
    table_->setModel(model_);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    status_->setObjectName(QStringLiteral("StanPrzyrzadu"));
    status_->setWordWrap(true);
    status_->hide();
    auto* add = button("DodajWiersz", "&Dodaj wiersz", this);
    auto* remove = button("UsunWiersz", "&Usuń zaznaczone", this);
    auto* back = button("Cofnij", "&Cofnij (Ctrl+Z)", this);
    auto* close = button("Zamknij", "&Zamknij", this);
    connect(add, &QPushButton::clicked, this, &Odczyty::addRow);
    connect(remove, &QPushButton::clicked, this, &Odczyty::deleteSelectedRows);
    connect(back, &QPushButton::clicked, this, &Odczyty::undo);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add, remove, back}) {
        buttons->addWidget(b);
    }
    buttons->addStretch();
    buttons->addWidget(close);
    auto* hint = new QLabel(
        kind == StudyKind::Linearity
            ? QString::fromUtf8("Wpisz część, jej wartość odniesienia i odczyt albo wklej "
                                "kolumny z arkusza (Ctrl+V). Każda zmiana jest od razu zapisana.")
            : QString::fromUtf8("Wpisz odczyty albo wklej kolumnę z arkusza (Ctrl+V). Każda "
                                "zmiana jest od razu zapisana."),
        this);
    hint->setWordWrap(true);
    auto* rows = new QHBoxLayout;
    rows->addWidget(table_, 1);
    rows->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(rows, 1);
    layout->addWidget(status_);
    resize(kind == StudyKind::Linearity ? 560 : 420, 560);
    showRows();
    table_->setCurrentIndex(model_->index(0, 0));
}

// The stored readings and the empty rows after them.
void Odczyty::showRows() {
    Readings rows = readings_;
    rows.resize(readings_.size() + shownRows_);
    model_->setRows(rows);
}

int Odczyty::currentRow() const {
    const QModelIndex current = table_->currentIndex();
    return current.isValid() ? current.row() : 0;
}

// Readings that come while the message stands are not taken, and are counted.
void Odczyty::refuse(const QString& message) {
    dialogs_.beep();
    messageShown_ = true;
    dialogs_.message(message, QString::fromLatin1(Dialogs::kWarningTitle), Dialogs::Icon::Critical);
    messageShown_ = false;
    if (missed_ > 0) {
        setStatus(QString::fromUtf8("%1 odczyt(ów) przyszło w czasie komunikatu i pominięto je")
                      .arg(missed_));
        missed_ = 0;
    }
}

// The readings become `next`: stored, then shown, the focus on the row given; the list
// before it kept for Ctrl+Z.
bool Odczyty::change(Readings next, int focusRow) {
    while (!next.isEmpty() && next.last().isEmpty() && next.size() > readings_.size()) {
        next.removeLast();  // empty rows typed past the stored ones are shown, not stored
    }
    if (next.size() > Type1::kMostReadings) {
        refuse(QString::fromUtf8("Badanie typu 1 przyjmuje najwyżej %1 odczytów.")
                   .arg(Type1::kMostReadings));
        return false;
    }
    if (const QString cause = store_(next); !cause.isEmpty()) {
        refuse(QString::fromUtf8("Nie udało się zapisać odczytów: %1.").arg(cause));
        return false;
    }
    undo_ << readings_;
    const int shown =
        std::max(static_cast<int>(readings_.size()) + shownRows_, static_cast<int>(next.size()));
    const int column = std::max(0, table_->currentIndex().column());
    readings_ = next;
    shownRows_ = std::max(0, shown - static_cast<int>(readings_.size()));
    showRows();
    table_->setCurrentIndex(model_->index(std::min(focusRow, model_->rowCount() - 1), column));
    return true;
}

bool Odczyty::editCell(int row, ReadingsModel::Column column, const QString& text) {
    const auto value = cellValue(text);
    if (!value) {
        refuse(QString::fromUtf8("Wiersz %1: %2 nie jest liczbą - Popraw")
                   .arg(row + 1)
                   .arg(quotedExcerpt(text.trimmed())));
        return false;
    }
    Readings next = readings_;
    if (row >= next.size()) {
        next.resize(row + 1);
    }
    ReadingsModel::field(next[row], column) = *value;
    return change(next, column == ReadingsModel::Column::Value ? row + 1 : row);
}

bool Odczyty::paste(const QString& text) {
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r?\n")));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) {
        lines.removeLast();
    }
    QVector<QVector<std::optional<double>>> cells;
    QStringList refused;
    for (int l = 0; l < lines.size(); ++l) {
        cells.append(QVector<std::optional<double>>());
        const QStringList line = lines[l].split(QRegularExpression(QStringLiteral("[\t;]")));
        for (int c = 0; c < line.size(); ++c) {
            const auto value = cellValue(line[c]);
            if (!value && refused.size() < 3) {
                refused << QString::fromUtf8("wiersz %1, kolumna %2: %3")
                               .arg(l + 1)
                               .arg(c + 1)
                               .arg(quotedExcerpt(line[c].trimmed()));
            }
            cells.last() << value.value_or(std::nullopt);
        }
    }
    if (!refused.isEmpty()) {
        refuse(QString::fromUtf8("Nie wklejono: w schowku są komórki, które nie są liczbami (%1).")
                   .arg(refused.join(QStringLiteral("; "))));
        return false;
    }
    return pasteCells(cells);
}

// A table of one column takes a block row by row; a wider one takes it column by column
// from the current cell.
bool Odczyty::pasteCells(const QVector<QVector<std::optional<double>>>& cells) {
    const QVector<ReadingsModel::Column>& columns = model_->columns();
    const int firstColumn = columns.size() == 1 ? 0 : std::max(0, table_->currentIndex().column());
    Readings next = readings_;
    int row = currentRow();
    for (const auto& line : cells) {
        const int rowsOfLine = columns.size() == 1 ? static_cast<int>(line.size()) : 1;
        if (columns.size() > 1 && firstColumn + line.size() > columns.size()) {
            refuse(QString::fromUtf8("Nie wklejono: w schowku jest więcej kolumn niż w tabeli."));
            return false;
        }
        next.resize(std::max(next.size(), static_cast<qsizetype>(row + rowsOfLine)));
        for (int c = 0; c < line.size(); ++c) {
            const int r = columns.size() == 1 ? row + c : row;
            const auto column = columns[columns.size() == 1 ? 0 : firstColumn + c];
            ReadingsModel::field(next[r], column) = line[c];
        }
        row += rowsOfLine;
    }
    return change(next, row);
}

bool Odczyty::undo() {
    if (undo_.isEmpty()) {
        return false;
    }
    const Readings previous = undo_.takeLast();
    if (const QString cause = store_(previous); !cause.isEmpty()) {
        undo_ << previous;
        refuse(QString::fromUtf8("Nie udało się zapisać odczytów: %1.").arg(cause));
        return false;
    }
    shownRows_ = std::max(0, model_->rowCount() - static_cast<int>(previous.size()));
    readings_ = previous;
    showRows();
    return true;
}

void Odczyty::addRow() {
    ++shownRows_;
    showRows();
    table_->setCurrentIndex(model_->index(model_->rowCount() - 1, 0));
}

void Odczyty::deleteSelectedRows() {
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        rows << index.row();
    }
    if (rows.isEmpty()) {
        rows << currentRow();
    }
    std::sort(rows.begin(), rows.end(), std::greater<>());
    Readings next = readings_;
    for (int row : rows) {
        if (row < next.size()) {
            next.removeAt(row);
        } else if (shownRows_ > 0) {
            --shownRows_;
        }
    }
    change(next, rows.last());
}

void Odczyty::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        paste(QApplication::clipboard()->text());
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        undo();
        return;
    }
    if (event->matches(QKeySequence::Delete) &&
        !table_->isPersistentEditorOpen(table_->currentIndex())) {
        deleteSelectedRows();
        return;
    }
    QDialog::keyPressEvent(event);
}

// A reading fills the first row without one, or a new row after the last, of the part
// (and reference) of the row above it.
void Odczyty::takeReading(double value) {
    if (messageShown_) {
        ++missed_;
        return;
    }
    Readings next = readings_;
    next.resize(std::max(next.size(), static_cast<qsizetype>(model_->rowCount())));
    int row = 0;
    while (row < next.size() && next[row].value) {
        ++row;
    }
    if (row >= next.size()) {
        next.resize(row + 1);
    }
    if (row > 0 && !next[row].part && !next[row].reference) {
        next[row].part = next[row - 1].part;
        next[row].reference = next[row - 1].reference;
    }
    next[row].value = value;
    if (change(next, row + 1)) {
        setStatus(QString::fromUtf8("odczyt %1: %2").arg(row + 1).arg(model_->textOf(value)));
    }
}

void Odczyty::setStatus(const QString& text) {
    status_->setText(gaugeDescription_ + QStringLiteral(": ") + text);
    status_->show();
}

void Odczyty::attachGauge(GaugeSource* gauge, const QString& description) {
    gaugeDescription_ = description;
    setStatus(QString::fromUtf8("czekam na pomiar"));
    connect(gauge, &GaugeSource::reading, this, &Odczyty::takeReading);
    connect(gauge, &GaugeSource::failed, this, [this](const QString& why) {
        dialogs_.beep();
        setStatus(why);
    });
}

void Odczyty::showGaugeProblem(const QString& description, const QString& problem) {
    gaugeDescription_ = description;
    setStatus(problem + QString::fromUtf8("; odczyty wprowadź z klawiatury"));
}
