#pragma once

#include <QDialog>
#include <memory>

#include "ui_environment.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class GaugeSource;
class Database;
class RecordSet;

// "Przyrządy pomiarowe": the data-transmission profiles of the table Trans, listed,
// added, changed and deleted, each change stored at once in a transaction of its own. A
// profile is a name and a settings text ("9600,n,8,1", and the port after a comma),
// checked before it is stored; the port is picked from those the system lists or typed
// as a path. "Test" opens the port with the settings as typed and shows the next reading,
// or why none can come, in the window's own status line. A profile that analyses name is
// deleted only after a question (No by default); those analyses keep the settings they
// copied.
class GaugeProfilesWindow : public QDialog {
    Q_OBJECT

public:
    GaugeProfilesWindow(RecordSet& profiles, Database& database, const UiEnvironment& environment,
                        QWidget* parent = nullptr);
    ~GaugeProfilesWindow() override;

    // The settings text the boxes make: the settings, then ",PORT" when a port is given.
    QString transmissionText() const;

    void newProfile();
    bool saveProfile();
    void deleteProfile();
    void testGauge();

private:
    QWidget* buildFields();
    QLayout* buildButtons();
    void fillList(int select);
    void showProfile(int row);
    bool checked();
    void setStatus(const QString& text);
    void tell(const QString& text);

    RecordSet& profiles_;
    Database& database_;
    UiEnvironment env_;
    QListWidget* list_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* settings_ = nullptr;
    QComboBox* port_ = nullptr;
    QLabel* status_ = nullptr;
    int editing_ = -1;  // the profile's place in the record set; -1: a new one
    std::unique_ptr<GaugeSource> testing_;
};
