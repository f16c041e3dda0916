#include "typing_limit.h"

#include <QLineEdit>
#include <QVariant>

namespace {

const char* const kLimitProperty = "typingLimit";

// The user may keep what is there, but not grow it past the limit.
void allowCurrentText(QLineEdit* box) {
    const int limit = TypingLimit::of(box);
    if (limit > 0) {
        box->setMaxLength(qMax(limit, static_cast<int>(box->text().size())));
    }
}

}  // namespace

namespace TypingLimit {

void apply(QLineEdit* box, int limit) {
    box->setProperty(kLimitProperty, limit);
    allowCurrentText(box);
    QObject::connect(box, &QLineEdit::textEdited, box, [box] { allowCurrentText(box); });
}

void put(QLineEdit* box, const QString& text) {
    if (of(box) > 0) {
        box->setMaxLength(qMax(of(box), static_cast<int>(text.size())));
    }
    box->setText(text);
}

int of(const QLineEdit* box) {
    return box->property(kLimitProperty).toInt();
}

}  // namespace TypingLimit
