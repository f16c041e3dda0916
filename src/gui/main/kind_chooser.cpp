#include "kind_chooser.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The kinds a new analysis may be, in the order they are offered.
struct Choice {
    StudyKind kind;
    const char* name;
    const char* caption;
    const char* description;
};

const Choice kChoices[] = {
    {StudyKind::Crossed, "RodzajRR", "&1. R&&R – średnia i rozstęp",
     "2–3 oceniających, 2–3 powtórzenia, 5–10 części; także metodą ANOVA"},
    {StudyKind::Type1, "RodzajTyp1", "&2. Badanie typu 1",
     "jeden wzorzec mierzony 10–1000 razy (zwykle 50): Cg, Cgk, obciążenie"},
    {StudyKind::Linearity, "RodzajLiniowosc", "&3. Obciążenie i liniowość",
     "2–20 części o znanych wartościach odniesienia z całego zakresu, po 2–50 odczytów"},
};

}  // namespace

RodzajBadania::RodzajBadania(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RodzajBadania"));
    setWindowTitle(QStringLiteral("Rodzaj badania"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8("Wybierz rodzaj nowej analizy:")));
    for (const Choice& c : kChoices) {
        auto* button = new QRadioButton(QString::fromUtf8(c.caption));
        button->setObjectName(QString::fromLatin1(c.name));
        auto* description = new QLabel(QString::fromUtf8(c.description));
        description->setIndent(24);
        description->setEnabled(false);  // the grey of a note
        layout->addWidget(button);
        layout->addWidget(description);
        choices_ << button;
    }
    choices_.first()->setChecked(true);
    auto* buttons = new QHBoxLayout;
    auto* next = new QPushButton(QStringLiteral("&Dalej"));
    next->setObjectName(QStringLiteral("Dalej"));
    next->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"));
    cancel->setObjectName(QStringLiteral("Anuluj"));
    connect(next, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(next);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

StudyKind RodzajBadania::kind() const {
    for (int i = 0; i < choices_.size(); ++i) {
        if (choices_[i]->isChecked()) {
            return kChoices[i].kind;
        }
    }
    return StudyKind::Crossed;
}

void RodzajBadania::choose(StudyKind kind) {
    for (int i = 0; i < choices_.size(); ++i) {
        choices_[i]->setChecked(kChoices[i].kind == kind);
    }
}
