#include "control_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "control_chart.h"
#include "file_saving.h"
#include "number_pattern.h"

ControlWindow::ControlWindow(const ReportInputs& inputs, const UiEnvironment& environment,
                             const QString& suggestedName, std::vector<HistoryRow> history,
                             QWidget* parent)
    : QDialog(parent),
      inputs_(inputs),
      env_(environment),
      suggestedName_(suggestedName),
      history_(std::move(history)) {
    setObjectName(QStringLiteral("ControlWindow"));
    setWindowTitle(QStringLiteral("Karty kontrolne"));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    canvas_ = new QLabel;
    canvas_->setObjectName(QStringLiteral("Karty"));
    canvas_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    canvas_->setMinimumSize(640, 420);
    layout->addWidget(canvas_, 1);
    layout->addWidget(buildButtons());
    resize(1000, 720);
}

QWidget* ControlWindow::buildButtons() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QString::fromUtf8("&Rozstęp poza granicą:"));
    flags_ = new QComboBox;
    flags_->setObjectName(QStringLiteral("Rozstepy"));
    caption->setBuddy(flags_);
    if (inputs_.control) {
        const NumberPattern pattern(inputs_.numberPattern);
        for (const ControlLimits::Flag& f : inputs_.control->flaggedRanges) {
            flags_->addItem(QString::fromUtf8("%1, część %2 (R = %3)")
                                .arg(inputs_.appraisers.value(f.appraiser))
                                .arg(f.part + 1)
                                .arg(pattern.format(f.range, inputs_.regional)));
        }
    }
    const auto button = [&](const char* name, const QString& text, void (ControlWindow::*slot)()) {
        auto* b = new QPushButton(text);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    remeasure_ =
        button("PowtorzPomiar", QString::fromUtf8("&Powtórz pomiar"), &ControlWindow::remeasure);
    const bool flagged = flags_->count() > 0;
    flags_->setEnabled(flagged);
    remeasure_->setEnabled(flagged);
    layout->addWidget(caption);
    layout->addWidget(flags_);
    layout->addWidget(remeasure_);
    layout->addStretch(1);
    layout->addWidget(
        button("ZapiszPng", QString::fromUtf8("Zapisz P&NG…"), &ControlWindow::savePng));
    layout->addWidget(
        button("ZapiszPdf", QString::fromUtf8("Zapisz P&DF…"), &ControlWindow::savePdf));
    layout->addWidget(
        button("Historia", QString::fromUtf8("&Historia zmian…"), &ControlWindow::showHistory));
    layout->addWidget(button("Zamknij", QStringLiteral("&Zamknij"), &QDialog::reject));
    return row;
}

void ControlWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    redraw();
}

// The charts at the canvas's size: they grow and shrink with the window.
void ControlWindow::redraw() {
    const QSize size = canvas_->size().expandedTo(QSize(1, 1));
    picture_ = ControlChart::picture(inputs_, size);
    canvas_->setPixmap(QPixmap::fromImage(picture_));
}

void ControlWindow::save(const QString& caption, const QString& extension, const QString& filter) {
    FileSaving::save(env_, this,
                     {caption, suggestedName_ + extension, filter,
                      QString::fromUtf8("Nie udało się zapisać kart: %1.")},
                     [this](const QString& path, QString* error) {
                         return ControlChart::writeFile(inputs_, path, error);
                     });
}

void ControlWindow::savePng() {
    save(QString::fromUtf8("Zapisz karty kontrolne jako PNG"), QStringLiteral(".png"),
         QStringLiteral("PNG (*.png)"));
}

void ControlWindow::savePdf() {
    save(QString::fromUtf8("Zapisz karty kontrolne jako PDF"), QStringLiteral(".pdf"),
         QStringLiteral("PDF (*.pdf)"));
}

void ControlWindow::remeasure() {
    const int index = flags_->currentIndex();
    if (!inputs_.control || index < 0) {
        return;
    }
    chosen_ = inputs_.control->flaggedRanges.at(static_cast<std::size_t>(index));
    accept();
}

void ControlWindow::showHistory() {
    QDialog view(this);
    view.setObjectName(QStringLiteral("HistoriaZmian"));
    view.setWindowTitle(QStringLiteral("Historia zmian"));
    auto* layout = new QVBoxLayout(&view);
    if (history_.empty()) {
        layout->addWidget(
            new QLabel(QString::fromUtf8("Wartości pomiarów tej analizy nie były "
                                         "poprawiane.")));
    }
    auto* table = new QTableWidget(static_cast<int>(history_.size()), 7);
    table->setObjectName(QStringLiteral("Historia"));
    table->setHorizontalHeaderLabels({QStringLiteral("Kiedy"), QString::fromUtf8("Oceniający"),
                                      QString::fromUtf8("Część"), QString::fromUtf8("Powtórzenie"),
                                      QString::fromUtf8("Było"), QStringLiteral("Jest"),
                                      QStringLiteral("Dlaczego")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    for (int r = 0; r < table->rowCount(); ++r) {
        const QStringList& cells = history_[static_cast<std::size_t>(r)].cells;
        for (int c = 0; c < cells.size() && c < table->columnCount(); ++c) {
            table->setItem(r, c, new QTableWidgetItem(cells[c]));
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table);
    auto* close = new QPushButton(QStringLiteral("&Zamknij"));
    connect(close, &QPushButton::clicked, &view, &QDialog::reject);
    layout->addWidget(close, 0, Qt::AlignRight);
    view.resize(820, 360);
    env_.showModal(view);
}
