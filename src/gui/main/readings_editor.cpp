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

}  // namespace

Odczyty::Odczyty(const QString& numer, const Readings& readings, const RegionalSettings& regional,
                 Dialogs& dialogs, Store store, QWidget* parent)
    : QDialog(parent),
      regional_(regional),
      dialogs_(dialogs),
      store_(std::move(store)),
      readings_(readings),
      model_(new ReadingsModel(
          regional, [this](int row, const QString& text) { return editCell(row, text); }, this)),
      table_(new QTableView(this)),
      status_(new QLabel(this)) {
    setObjectName(QStringLiteral("Odczyty"));
    setWindowTitle(QString::fromUtf8("Odczyty badania typu 1 — analiza %1").arg(numer));
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
        QString::fromUtf8("Wpisz odczyty albo wklej kolumnę z arkusza (Ctrl+V). Każda zmiana "
                          "jest od razu zapisana."),
        this);
    hint->setWordWrap(true);
    auto* rows = new QHBoxLayout;
    rows->addWidget(table_, 1);
    rows->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(rows, 1);
    layout->addWidget(status_);
    resize(420, 560);
    Readings shown = readings_;
    shown.resize(readings_.size() + shownRows_);
    model_->setReadings(shown);
    table_->setCurrentIndex(model_->index(0, 0));
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
    while (!next.isEmpty() && !next.last() && next.size() > readings_.size()) {
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
    readings_ = next;
    shownRows_ = std::max(0, shown - static_cast<int>(readings_.size()));
    Readings rows = readings_;
    rows.resize(readings_.size() + shownRows_);
    model_->setReadings(rows);
    table_->setCurrentIndex(model_->index(std::min(focusRow, model_->rowCount() - 1), 0));
    return true;
}

bool Odczyty::editCell(int row, const QString& text) {
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
    next[row] = *value;
    return change(next, row + 1);
}

bool Odczyty::paste(const QString& text) {
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r?\n")));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) {
        lines.removeLast();
    }
    Readings values;
    QStringList refused;
    for (int l = 0; l < lines.size(); ++l) {
        const QStringList cells = lines[l].split(QRegularExpression(QStringLiteral("[\t;]")));
        for (int c = 0; c < cells.size(); ++c) {
            const auto value = cellValue(cells[c]);
            if (!value && refused.size() < 3) {
                refused << QString::fromUtf8("wiersz %1, kolumna %2: %3")
                               .arg(l + 1)
                               .arg(c + 1)
                               .arg(quotedExcerpt(cells[c].trimmed()));
            }
            values << value.value_or(std::nullopt);
        }
    }
    if (!refused.isEmpty()) {
        refuse(QString::fromUtf8("Nie wklejono: w schowku są komórki, które nie są liczbami (%1).")
                   .arg(refused.join(QStringLiteral("; "))));
        return false;
    }
    const int first = currentRow();
    Readings next = readings_;
    next.resize(std::max(next.size(), static_cast<qsizetype>(first + values.size())));
    for (int i = 0; i < values.size(); ++i) {
        next[first + i] = values[i];
    }
    return change(next, first + static_cast<int>(values.size()));
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
    readings_ = previous;
    Readings rows = readings_;
    rows.resize(std::max(model_->rowCount(), static_cast<int>(readings_.size())));
    shownRows_ = static_cast<int>(rows.size() - readings_.size());
    model_->setReadings(rows);
    return true;
}

void Odczyty::addRow() {
    ++shownRows_;
    Readings rows = readings_;
    rows.resize(readings_.size() + shownRows_);
    model_->setReadings(rows);
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

// A reading fills the first empty cell, or a new row after the last.
void Odczyty::takeReading(double value) {
    if (messageShown_) {
        ++missed_;
        return;
    }
    int row = 0;
    while (row < model_->rowCount() &&
           !model_->data(model_->index(row, 0), Qt::EditRole).toString().isEmpty()) {
        ++row;
    }
    Readings next = readings_;
    if (row >= next.size()) {
        next.resize(row + 1);
    }
    next[row] = value;
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
