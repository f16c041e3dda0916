#include "gauge_profiles_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "excerpt.h"
#include "gauge_source.h"
#include "input_checks.h"
#include "number_pattern.h"
#include "record_set.h"
#include "record_sets.h"
#include "serial_ports.h"
#include "transmission_settings.h"

namespace {

const QString kNoProfile = QStringLiteral("Brak");  // the analysis editor's "no gauge"

QLabel* caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

GaugeProfilesWindow::GaugeProfilesWindow(RecordSet& profiles, Database& database,
                                         const UiEnvironment& environment, QWidget* parent)
    : QDialog(parent), profiles_(profiles), database_(database), env_(environment) {
    setObjectName(QStringLiteral("PrzyrzadyPomiarowe"));
    setWindowTitle(QString::fromUtf8("Przyrządy pomiarowe"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    list_ = new QListWidget;
    list_->setObjectName(QStringLiteral("Profile"));
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(caption(QStringLiteral("&Profile:"), list_));
    listColumn->addWidget(list_);
    // the list as wide as its longest name, the fields the rest
    list_->setMinimumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("RS232 - COM1 Mitutoyo")));
    row->addLayout(listColumn, 0);
    row->addWidget(buildFields(), 1);
    layout->addLayout(row);
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("Status"));
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status_->setMinimumHeight(2 * fontMetrics().lineSpacing() + 6);
    layout->addWidget(status_);
    layout->addLayout(buildButtons());
    connect(list_, &QListWidget::currentRowChanged, this, &GaugeProfilesWindow::showProfile);
    fillList(0);
    list_->setMinimumWidth(qMax(list_->minimumWidth(), list_->sizeHintForColumn(0) + 24));
    resize(820, 400);
}

GaugeProfilesWindow::~GaugeProfilesWindow() = default;

QWidget* GaugeProfilesWindow::buildFields() {
    auto* box = new QWidget;
    auto* form = new QFormLayout(box);
    name_ = new QLineEdit;
    name_->setObjectName(QStringLiteral("Nazwa"));
    settings_ = new QLineEdit;
    settings_->setObjectName(QStringLiteral("Ustawienia"));
    settings_->setPlaceholderText(QStringLiteral("9600,n,8,1"));
    port_ = new QComboBox;
    port_->setObjectName(QStringLiteral("Port"));
    port_->setEditable(true);
    port_->setInsertPolicy(QComboBox::NoInsert);
    port_->setCompleter(nullptr);
    port_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    port_->setMinimumContentsLength(28);
    port_->addItem(QString());
    for (const SerialPortChoice& choice : listSerialPorts()) {
        port_->addItem(choice.path);
        port_->setItemData(port_->count() - 1, choice.description, Qt::ToolTipRole);
    }
    form->addRow(caption(QStringLiteral("&Nazwa:"), name_), name_);
    form->addRow(
        caption(QString::fromUtf8("&Ustawienia (prędkość,parzystość,bity,stop):"), settings_),
        settings_);
    form->addRow(caption(QStringLiteral("P&ort (lista albo ścieżka):"), port_), port_);
    auto* hint = new QLabel(QString::fromUtf8(
        "Bez portu profil o nazwie kończącej się na „COMn” używa /dev/ttyS(n−1)."));
    hint->setWordWrap(true);
    form->addRow(hint);
    return box;
}

QLayout* GaugeProfilesWindow::buildButtons() {
    auto* layout = new QHBoxLayout;
    const auto button = [&](const char* name, const QString& text, auto slot) {
        auto* b = new QPushButton(text);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        layout->addWidget(b);
    };
    button("Nowy", QStringLiteral("No&wy"), &GaugeProfilesWindow::newProfile);
    button("Zapisz", QStringLiteral("&Zapisz"), [this] { saveProfile(); });
    button("Usun", QString::fromUtf8("U&suń"), &GaugeProfilesWindow::deleteProfile);
    button("Test", QStringLiteral("&Test"), &GaugeProfilesWindow::testGauge);
    layout->addStretch(1);
    button("Zamknij", QStringLiteral("Za&mknij"), &QDialog::reject);
    return layout;
}

void GaugeProfilesWindow::fillList(int select) {
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (profiles_.moveFirst(); !profiles_.isEof(); profiles_.moveNext()) {
        list_->addItem(profiles_.field(QStringLiteral("Nazwa")).toText(database_.regional()));
    }
    if (list_->count() == 0) {
        newProfile();
        return;
    }
    const int row = qBound(0, select, list_->count() - 1);
    list_->setCurrentRow(row);
    showProfile(row);
}

// A stored text "9600,n,8,1,/dev/ttyUSB0" is shown as its settings and its port.
void GaugeProfilesWindow::showProfile(int row) {
    if (row < 0) {
        return;
    }
    profiles_.moveFirst();
    profiles_.move(row);
    editing_ = row;
    const RegionalSettings& rs = database_.regional();
    name_->setText(profiles_.field(QStringLiteral("Nazwa")).toText(rs));
    const QStringList parts =
        profiles_.field(QStringLiteral("Transmisja")).toText(rs).split(QLatin1Char(','));
    settings_->setText(parts.mid(0, 4).join(QLatin1Char(',')));
    port_->setEditText(parts.mid(4).join(QLatin1Char(',')));
}

QString GaugeProfilesWindow::transmissionText() const {
    const QString port = port_->currentText().trimmed();
    const QString settings = settings_->text().trimmed();
    return port.isEmpty() ? settings : settings + QLatin1Char(',') + port;
}

void GaugeProfilesWindow::newProfile() {
    editing_ = -1;
    list_->clearSelection();
    name_->clear();
    settings_->setText(QStringLiteral("9600,n,8,1"));
    port_->setEditText(QString());
    name_->setFocus();
}

// A name, not "Brak" (the editor's "no gauge"), no other profile's name, and settings
// the gauge capture can use.
bool GaugeProfilesWindow::checked() {
    const QString name = name_->text().trimmed();
    if (name.isEmpty()) {
        InputChecks::refuse(name_, QStringLiteral("Nie wprowadzono NAZWY PROFILU - Popraw"),
                            *env_.dialogs);
        return false;
    }
    for (int row = 0; row < list_->count(); ++row) {
        if (row != editing_ && list_->item(row)->text() == name) {
            InputChecks::refuse(name_,
                                QString::fromUtf8("Profil o tej nazwie już istnieje - Popraw"),
                                *env_.dialogs);
            return false;
        }
    }
    if (name == kNoProfile) {
        InputChecks::refuse(
            name_, QString::fromUtf8("Nazwa „Brak” oznacza analizę bez przyrządu - Popraw"),
            *env_.dialogs);
        return false;
    }
    const ParsedSettings parsed = TransmissionSettings::parse(transmissionText(), name);
    if (!parsed.settings) {
        InputChecks::refuse(settings_, parsed.error, *env_.dialogs);
        return false;
    }
    return true;
}

bool GaugeProfilesWindow::saveProfile() {
    if (!checked()) {
        return false;
    }
    if (editing_ < 0) {
        profiles_.addNew();
    } else {
        profiles_.moveFirst();
        profiles_.move(editing_);
    }
    const bool stored =
        profiles_.setField(QStringLiteral("Nazwa"), Value(name_->text().trimmed())) &&
        profiles_.setField(QStringLiteral("Transmisja"), Value(transmissionText())) &&
        profiles_.update();
    if (!stored) {
        const QString cause = profiles_.lastError();
        profiles_.cancelUpdate();
        tell(QString::fromUtf8("Profil nie został zapisany: %1.").arg(cause));
        return false;
    }
    const int row = editing_ < 0 ? profiles_.recordCount() - 1 : editing_;
    fillList(row);
    setStatus(QString::fromUtf8("Zapisano profil %1.").arg(quotedExcerpt(name_->text())));
    return true;
}

void GaugeProfilesWindow::deleteProfile() {
    if (editing_ < 0) {
        tell(QString::fromUtf8("Nie wybrano profilu do usunięcia."));
        return;
    }
    const QString name = list_->item(editing_)->text();
    const int naming = RecordSets::countAnalysesNaming(database_, name).value_or(0);
    const QString question =
        naming > 0 ? QString::fromUtf8(
                         "Profil %1 wskazują analizy (%2); zachowają one zapisane "
                         "ustawienia transmisji.\n\nCzy usunąć profil ?")
                         .arg(quotedExcerpt(name))
                         .arg(naming)
                   : QString::fromUtf8("Czy usunąć profil %1 ?").arg(quotedExcerpt(name));
    if (!env_.dialogs->askYesNo(question, QStringLiteral("Uwaga !"), Dialogs::Icon::Question)) {
        return;
    }
    profiles_.moveFirst();
    profiles_.move(editing_);
    if (!profiles_.deleteCurrent()) {
        tell(QString::fromUtf8("Profil nie został usunięty: %1.").arg(profiles_.lastError()));
        return;
    }
    fillList(editing_);
    setStatus(QString::fromUtf8("Usunięto profil %1.").arg(quotedExcerpt(name)));
}

// The port opened with the settings as typed: the next reading, or why none can come.
void GaugeProfilesWindow::testGauge() {
    testing_.reset();
    const ParsedSettings parsed = TransmissionSettings::parse(transmissionText(), name_->text());
    if (!parsed.settings) {
        setStatus(parsed.error);
        return;
    }
    QString error;
    testing_ = env_.openGauge(*parsed.settings, &error);
    if (!testing_) {
        setStatus(error);
        return;
    }
    const QString port = parsed.settings->port;
    setStatus(QString::fromUtf8("%1, %2 — czekam na pomiar…").arg(port, parsed.settings->text()));
    const auto done = [this] {
        QTimer::singleShot(0, this, [this] { testing_.reset(); });  // not inside its own signal
    };
    connect(testing_.get(), &GaugeSource::reading, this, [this, port, done](double value) {
        setStatus(QString::fromUtf8("%1 — odczyt %2: przyrząd działa.")
                      .arg(port, formatGeneralNumber(value, database_.regional())));
        done();
    });
    connect(testing_.get(), &GaugeSource::failed, this, [this, port, done](const QString& why) {
        setStatus(QStringLiteral("%1 — %2").arg(port, why));
        done();
    });
}

void GaugeProfilesWindow::setStatus(const QString& text) {
    status_->setText(text);
    status_->setToolTip(text);
}

void GaugeProfilesWindow::tell(const QString& text) {
    env_.dialogs->message(text, QString::fromLatin1(Dialogs::kWarningTitle),
                          Dialogs::Icon::Warning);
}
