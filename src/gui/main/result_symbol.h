#pragma once

#include <QWidget>

// The symbol beside a result label (Image1): R with a subscript p, R with a double bar,
// X with the subscript DIFF, or a plain abbreviation (R&R, EV, AV, PV, TV, RF), drawn
// in a serif font so it stays crisp at any resolution.
class ResultSymbol : public QWidget {
    Q_OBJECT

public:
    enum class Kind { RangeOfAverages, MeanRange, AveragesDifference, Text };

    ResultSymbol(Kind kind, const QString& text, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont symbolFont() const;

    Kind kind_;
    QString text_;
};
