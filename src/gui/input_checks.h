#pragma once

#include <QString>

#include "dialogs.h"
#include "regional_settings.h"

class QLineEdit;

// The editors' checks of one input box. On failure each sounds the beep, shows the
// message (title "UWAGA !!!", critical icon), gives the box the focus and returns false.
namespace InputChecks {

// Any character counts, blanks too.
bool requireText(QLineEdit* box, const QString& message, Dialogs& dialogs);
// The whole text must read as a number in the user's regional format.
bool requireNumber(QLineEdit* box, const QString& message, Dialogs& dialogs,
                   const RegionalSettings& regional);
// The beep, the message and the focus, for checks of their own.
void refuse(QLineEdit* box, const QString& message, Dialogs& dialogs, bool beep = true);

}  // namespace InputChecks
