#pragma once

#include <QDialog>
#include <QVector>

#include "study.h"

class QRadioButton;

// "Rodzaj badania": the kind of a new analysis, asked before its editor opens. "&Dalej"
// accepts the kind chosen (the R&R study at first), "&Anuluj" or Escape gives up.
class RodzajBadania : public QDialog {
    Q_OBJECT

public:
    explicit RodzajBadania(QWidget* parent = nullptr);
    StudyKind kind() const;
    void choose(StudyKind kind);

private:
    QVector<QRadioButton*> choices_;
};
