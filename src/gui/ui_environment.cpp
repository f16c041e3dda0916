#include "ui_environment.h"

#include <QDialog>
#include <QFileDialog>

#include "serial_gauge.h"

UiEnvironment UiEnvironment::desktop(Dialogs& dialogs) {
    UiEnvironment env;
    env.dialogs = &dialogs;
    env.showModal = [](QDialog& dialog) { dialog.exec(); };
    env.now = [] { return QDateTime::currentDateTime(); };
    env.chooseSaveFile = [](QWidget* parent, const QString& caption, const QString& suggested,
                            const QString& filter, QString* selectedFilter) {
        return QFileDialog::getSaveFileName(parent, caption, suggested, filter, selectedFilter);
    };
    env.chooseOpenFile = [](QWidget* parent, const QString& caption, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    };
    env.openGauge = [](const TransmissionSettings& settings,
                       QString* error) -> std::unique_ptr<GaugeSource> {
        return SerialGauge::open(settings, error);
    };
    return env;
}
