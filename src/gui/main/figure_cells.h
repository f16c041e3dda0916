#pragma once

#include <QString>

#include "verdict.h"

#include <QStringList>
#include <QVector>

#include "figure_line.h"

class QLabel;
class QTableWidget;
class QTableWidgetItem;

// The pieces the pages of the study kinds share: a figure's cell (right-aligned, a judged
// one bold in its verdict colour) and a label of plain text that wraps (red for the reason
// a study has no figures).
namespace FigureCells {

QTableWidgetItem* figure(const QString& text, Verdict verdict = Verdict::None);
QLabel* note(const char* name);
QLabel* refusal(const char* name);
// A read-only table of those headings, its columns sized to their contents.
QTableWidget* table(const char* name, const QStringList& headings);
// A two-column table of figures: each caption and its value.
void fill(QTableWidget& table, const QVector<FigureLine>& lines);
// The table as tall as its first `rows` rows (all of them by default).
void fitHeight(QTableWidget& table, int rows = -1);

}  // namespace FigureCells
