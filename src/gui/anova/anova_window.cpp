#include "anova_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "file_saving.h"
#include "input_checks.h"
#include "number_reader.h"
#include "page_printer.h"
#include "page_render.h"
#include "verdict_colour.h"

namespace {

QLabel* wrappingLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

}  // namespace

AnovaWindow::AnovaWindow(const AnalysisScreen& screen, const ReportInputs& inputs,
                         const UiEnvironment& environment, PagePrinter& printer,
                         const QString& suggestedPdf, QWidget* parent)
    : QDialog(parent),
      screen_(screen),
      inputs_(inputs),
      env_(environment),
      printer_(printer),
      suggestedPdf_(suggestedPdf),
      alpha_(screen.anova ? screen.anova->alpha : AnalysisScreen::kAnovaAlpha) {
    setObjectName(QStringLiteral("AnovaWindow"));
    setWindowTitle(QStringLiteral("Analiza wariancji (ANOVA)"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildAlphaRow());
    method_ = wrappingLabel("Metoda");
    layout->addWidget(method_);
    layout->addWidget(buildTable("TabelaPelna",
                                 QString::fromUtf8("Tabela analizy wariancji — model z interakcją"),
                                 5, 6, &full_));
    interaction_ = wrappingLabel("Interakcja");
    layout->addWidget(interaction_);
    pooledFrame_ = buildTable(
        "TabelaPolaczona",
        QString::fromUtf8("Tabela analizy wariancji — interakcja połączona z powtarzalnością"), 4,
        6, &pooled_);
    layout->addWidget(pooledFrame_);
    layout->addWidget(
        buildTable("Skladniki", QString::fromUtf8("Składniki wariancji"), 7, 8, &components_));
    layout->addWidget(buildVerdictRow());
    comparison_ = wrappingLabel("Porownanie");
    difference_ = wrappingLabel("Roznica");
    layout->addWidget(comparison_);
    layout->addWidget(difference_);
    layout->addStretch(1);
    layout->addLayout(buildButtons());
    showTexts();
}

QWidget* AnovaWindow::buildAlphaRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QString::fromUtf8("Poziom &istotności α interakcji:"));
    alphaBox_ = new QComboBox;
    alphaBox_->setObjectName(QStringLiteral("Alfa"));
    alphaBox_->setEditable(true);
    alphaBox_->setInsertPolicy(QComboBox::NoInsert);
    alphaBox_->setMinimumContentsLength(8);  // a typed alpha shows whole: "0,0125"
    alphaBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    for (const double a : {0.05, 0.25}) {
        alphaBox_->addItem(AnovaTexts::alphaText(a, inputs_.regional));
    }
    alphaBox_->setEditText(AnovaTexts::alphaText(alpha_, inputs_.regional));
    // A typed alpha is taken as typed: no completion from the list ("0" is not 0,05).
    alphaBox_->setCompleter(nullptr);
    caption->setBuddy(alphaBox_);
    connect(alphaBox_, &QComboBox::activated, this, [this] { applyAlpha(); });
    // Enter and the focus leaving the box alike: a typed alpha never stands unapplied
    // beside tables computed at another one.
    connect(alphaBox_->lineEdit(), &QLineEdit::editingFinished, this, [this] { applyAlpha(); });
    layout->addWidget(caption);
    layout->addWidget(alphaBox_);
    layout->addStretch(1);
    return row;
}

QGroupBox* AnovaWindow::buildTable(const char* name, const QString& title, int rows, int columns,
                                   QTableWidget** table) {
    auto* frame = new QGroupBox(title);
    frame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(frame);
    auto* t = new QTableWidget(rows, columns);
    t->setObjectName(QString::fromLatin1(name));
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->setFocusPolicy(Qt::NoFocus);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(t, 0, Qt::AlignLeft);
    *table = t;
    return frame;
}

QWidget* AnovaWindow::buildVerdictRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto panel = [&](const char* name, const QString& caption) {
        auto* label = new QLabel;
        label->setObjectName(QString::fromLatin1(name));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAutoFillBackground(true);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000,00 %  ")));
        layout->addWidget(new QLabel(caption));
        layout->addWidget(label);
        return label;
    };
    rrPercent_ = panel("ProcentRR", QStringLiteral("R&R (% poziomu odniesienia):"));
    layout->addSpacing(fontMetrics().horizontalAdvance(QStringLiteral("MMMM")));
    ndc_ = panel("Ndc", QString::fromUtf8("Rozdzielczość (ndc):"));
    layout->addStretch(1);
    return row;
}

QLayout* AnovaWindow::buildButtons() {
    auto* layout = new QHBoxLayout;
    layout->addStretch(1);
    const auto button = [&](const char* name, const QString& caption, void (AnovaWindow::*slot)()) {
        auto* b = new QPushButton(caption);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        layout->addWidget(b);
        return b;
    };
    button("Drukuj", QStringLiteral("&Drukuj"), &AnovaWindow::printPage);
    button("ZapiszPdf", QString::fromUtf8("Zapisz &PDF…"), &AnovaWindow::savePdf);
    button("Zamknij", QStringLiteral("&Zamknij"), &QDialog::reject);
    return layout;
}

void AnovaWindow::fillTable(QTableWidget* table, const QStringList& headings,
                            const std::vector<AnovaTexts::Row>& rows) {
    table->setHorizontalHeaderLabels(headings);
    table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < table->rowCount(); ++r) {
        const AnovaTexts::Row& row = rows[static_cast<std::size_t>(r)];
        table->setItem(r, 0, new QTableWidgetItem(row.name));
        for (int c = 0; c < row.cells.size(); ++c) {
            auto* item = new QTableWidgetItem(row.cells[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c + 1, item);
        }
    }
    // The whole table shows, without scrolling: the window grows to hold it.
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    const QHeaderView* header = table->horizontalHeader();
    int width = 2 * table->frameWidth();
    for (int c = 0; c < table->columnCount(); ++c) {
        width += qMax(table->columnWidth(c), header->sectionSizeHint(c));
    }
    int height = 2 * table->frameWidth() + header->sizeHint().height();
    for (int r = 0; r < table->rowCount(); ++r) {
        height += table->rowHeight(r);
    }
    table->setFixedSize(width, height);
}

void AnovaWindow::showJudged(QLabel* panel, const AnovaTexts::Judged& judged) {
    panel->setText(judged.text.isEmpty() ? QString() : judged.text + QLatin1Char(' '));
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, verdictColour(judged.verdict));
    palette.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(palette);
}

void AnovaWindow::showTexts() {
    if (!inputs_.anova) {
        method_->setText(QString::fromUtf8("Analiza nie ma kompletu serii pomiarowych."));
        return;
    }
    const AnovaTexts::Texts& a = *inputs_.anova;
    method_->setText(a.method);
    fillTable(full_, a.tableHeadings, a.full);
    interaction_->setText(a.interactionSentence);
    pooledFrame_->setVisible(!a.pooled.empty());
    fillTable(pooled_, a.tableHeadings, a.pooled);
    fillTable(components_, a.componentHeadings, a.components);
    showJudged(rrPercent_, a.evaluation[AnovaTexts::Texts::kRr].anova);
    showJudged(ndc_, a.evaluation[AnovaTexts::Texts::kNdc].anova);
    comparison_->setText(a.comparison);
    difference_->setText(a.difference);
}

bool AnovaWindow::applyAlpha() {
    const QString text = alphaBox_->currentText().trimmed();
    if (refusing_ || text == AnovaTexts::alphaText(alpha_, inputs_.regional)) {
        return true;  // nothing new, or the focus left for the refusal's own message
    }
    const std::optional<double> typed = readLocaleNumber(text, inputs_.regional);
    if (!typed || !Anova::isAlpha(*typed)) {
        refusing_ = true;
        InputChecks::refuse(alphaBox_->lineEdit(),
                            QString::fromUtf8("Poziom istotności α musi być liczbą od %1 do %2.")
                                .arg(AnovaTexts::alphaText(Anova::kLowestAlpha, inputs_.regional),
                                     AnovaTexts::alphaText(Anova::kHighestAlpha, inputs_.regional)),
                            *env_.dialogs);
        alphaBox_->setEditText(AnovaTexts::alphaText(alpha_, inputs_.regional));
        refusing_ = false;
        return false;
    }
    alpha_ = *typed;
    if (const std::optional<Anova::Results> anova = screen_.anovaAt(alpha_)) {
        inputs_.anova = AnovaTexts::of(*anova, screen_.study, inputs_.regional);
    } else {
        inputs_.anova.reset();
    }
    showTexts();
    adjustSize();  // the pooled table may have come or gone
    return true;
}

void AnovaWindow::printPage() {
    const QString cause = printer_.print(inputs_, PageRender::Page::Anova);
    if (!cause.isEmpty()) {
        env_.dialogs->message(
            QString::fromUtf8("Strona nie została wydrukowana: %1.\n\nMożesz zapisać ją "
                              "w formacie PDF (przycisk „Zapisz PDF”) i wydrukować później.")
                .arg(cause),
            QStringLiteral("Uwaga !"), Dialogs::Icon::Warning);
    }
}

void AnovaWindow::savePdf() {
    FileSaving::save(
        env_, this,
        {QString::fromUtf8("Zapisz stronę ANOVA jako PDF"), suggestedPdf_,
         QStringLiteral("PDF (*.pdf)"), QString::fromUtf8("Nie udało się zapisać strony: %1.")},
        [this](const QString& path, QString* error) {
            return PageRender::writePdf(inputs_, path, error, PageRender::Page::Anova);
        });
}
