#include "ui_environment.h"

#include <QDialog>

UiEnvironment UiEnvironment::desktop(Dialogs& dialogs) {
    UiEnvironment env;
    env.dialogs = &dialogs;
    env.showModal = [](QDialog& dialog) { dialog.exec(); };
    env.now = [] { return QDateTime::currentDateTime(); };
    return env;
}
