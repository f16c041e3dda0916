#include "input_checks.h"

#include <QLineEdit>

#include "number_reader.h"

namespace InputChecks {

void refuse(QLineEdit* box, const QString& message, Dialogs& dialogs, bool beep) {
    if (beep) {
        dialogs.beep();
    }
    dialogs.message(message, QString::fromLatin1(Dialogs::kWarningTitle), Dialogs::Icon::Critical);
    box->setFocus();
}

bool requireText(QLineEdit* box, const QString& message, Dialogs& dialogs) {
    if (!box->text().isEmpty()) {
        return true;
    }
    refuse(box, message, dialogs);
    return false;
}

bool requireNumber(QLineEdit* box, const QString& message, Dialogs& dialogs,
                   const RegionalSettings& regional) {
    if (isNumeric(box->text(), regional)) {
        return true;
    }
    refuse(box, message, dialogs);
    return false;
}

}  // namespace InputChecks
