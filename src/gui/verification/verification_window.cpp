#include "verification_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "file_saving.h"
#include "verdict_colour.h"
#include "verification_page.h"

VerificationWindow::VerificationWindow(const Verification::Record& record,
                                       const UiEnvironment& environment,
                                       const QString& suggestedPdf, QWidget* parent)
    : QDialog(parent), record_(record), env_(environment), suggestedPdf_(suggestedPdf) {
    setObjectName(QStringLiteral("Weryfikacja"));
    setWindowTitle(QString::fromUtf8("Weryfikacja obliczeń"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildSummary());
    layout->addWidget(buildTable(), 1);
    layout->addLayout(buildButtons());
    resize(860, 620);
}

QWidget* VerificationWindow::buildSummary() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* build = new QLabel(
        QString::fromUtf8("Kalmet %1, wersja źródeł %2; %3; Qt %4; SQLite %5; sprawdzono %6")
            .arg(record_.version, record_.commit, record_.system, record_.qt, record_.sqlite,
                 record_.made));
    build->setObjectName(QStringLiteral("Kompilacja"));
    build->setTextFormat(Qt::PlainText);
    build->setWordWrap(true);
    auto* summary = new QLabel(record_.summary());
    summary->setObjectName(QStringLiteral("Podsumowanie"));
    summary->setTextFormat(Qt::PlainText);
    summary->setAutoFillBackground(true);
    summary->setMargin(6);
    QPalette palette = summary->palette();
    palette.setColor(QPalette::Window, verdictColour(Verification::verdictOf(record_)));
    palette.setColor(QPalette::WindowText, Qt::black);
    summary->setPalette(palette);
    QFont font = summary->font();
    font.setBold(true);
    summary->setFont(font);
    layout->addWidget(build);
    layout->addWidget(summary);
    return box;
}

QTableWidget* VerificationWindow::buildTable() {
    auto* table = new QTableWidget(0, 7);
    table->setObjectName(QStringLiteral("Wielkosci"));
    table->setHorizontalHeaderLabels({QString::fromUtf8("Wielkość"), QStringLiteral("Odniesienie"),
                                      QStringLiteral("Rodzaj"), QStringLiteral("Obliczona"),
                                      QString::fromUtf8("Różnica"), QStringLiteral("Dopuszczalna"),
                                      QStringLiteral("Wynik")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    for (const Verification::Study& study : record_.studies) {
        addSpanningRow(table, study.title + QStringLiteral(" — ") + study.values, true);
        if (!study.failure.isEmpty()) {
            addSpanningRow(table, QString::fromUtf8("Nie obliczono: %1").arg(study.failure), true);
        }
        for (const Verification::Check& check : study.checks) {
            addSpanningRow(table, check.method, true);
            addSpanningRow(table, QString::fromUtf8("Źródło: %1").arg(check.source), false);
            for (const Verification::Figure& figure : check.figures) {
                addFigureRow(table, figure);
                if (!figure.why.isEmpty()) {
                    addSpanningRow(
                        table,
                        QString::fromUtf8("Większa różnica dopuszczalna: %1").arg(figure.why),
                        false);
                }
            }
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->resizeRowsToContents();
    return table;
}

void VerificationWindow::addSpanningRow(QTableWidget* table, const QString& text, bool bold) {
    const int row = table->rowCount();
    table->insertRow(row);
    auto* item = new QTableWidgetItem(text);
    QFont font = item->font();
    font.setBold(bold);
    item->setFont(font);
    item->setToolTip(text);
    table->setItem(row, 0, item);
    table->setSpan(row, 0, 1, table->columnCount());
}

void VerificationWindow::addFigureRow(QTableWidget* table, const Verification::Figure& figure) {
    const int row = table->rowCount();
    table->insertRow(row);
    table->setItem(row, 0, new QTableWidgetItem(figure.name));
    const QString cells[] = {figure.reference, Verification::sourceWord(figure.source),
                             figure.computed, figure.difference,
                             QString::fromUtf8("±") + figure.allowed};
    for (int c = 0; c < 5; ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        item->setTextAlignment(c == 1 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, c + 1, item);
    }
    auto* verdict = new QTableWidgetItem(Verification::outcomeWord(figure.outcome));
    verdict->setTextAlignment(Qt::AlignCenter);
    verdict->setBackground(verdictColour(Verification::verdictOf(figure.outcome)));
    verdict->setForeground(Qt::black);
    table->setItem(row, 6, verdict);
}

QLayout* VerificationWindow::buildButtons() {
    auto* layout = new QHBoxLayout;
    layout->addStretch(1);
    auto* save = new QPushButton(QString::fromUtf8("Zapisz &PDF…"));
    save->setObjectName(QStringLiteral("ZapiszPdf"));
    save->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &VerificationWindow::savePdf);
    // Figures that were never computed make no record to sign.
    save->setEnabled(!record_.incomplete());
    auto* close = new QPushButton(QStringLiteral("&Zamknij"));
    close->setObjectName(QStringLiteral("Zamknij"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(save);
    layout->addWidget(close);
    return layout;
}

void VerificationWindow::savePdf() {
    FileSaving::save(
        env_, this,
        {QString::fromUtf8("Zapisz protokół weryfikacji jako PDF"), suggestedPdf_,
         QStringLiteral("PDF (*.pdf)"), QString::fromUtf8("Nie udało się zapisać protokołu: %1.")},
        [this](const QString& path, QString* error) {
            return VerificationPage::writePdf(record_, path, error);
        });
}
