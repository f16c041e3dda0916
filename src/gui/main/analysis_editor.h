#pragma once

#include <QDialog>
#include <QVector>
#include <array>
#include <optional>
#include <utility>

#include "dialogs.h"
#include "study.h"

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class RecordSet;
class Session;

// NowaA, the analysis editor: the number, N, K, R, the date and conditions, the part
// and characteristic with the way the reference level is chosen, and the instrument.
// The command that opens it fills it, shows it, and writes the row only when the
// dialog result flag is true afterwards: "&Zapisz" sets it when Sprawdz passes.
class NowaA : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kNewCaption = "Nowa analiza";
    static constexpr const char* kEditCaption = "Popraw analizę";

    enum class Mode { New, Edit };

    // The mode gives the caption.
    NowaA(Session& session, Dialogs& dialogs, Mode mode = Mode::New, QWidget* parent = nullptr);

    Mode mode() const { return mode_; }
    bool isNewMode() const { return mode_ == Mode::New; }

    // New mode: the proposed number and today's date, put in whole.
    void propose(const QString& number, const QString& date);
    // Edit mode: every control from the analysis row, each field as plain text; the
    // number, N, K, R and the date cannot be changed.
    void fillFrom(const RecordSet& analysis);
    // Combo4: "Brak", then the profiles in record-set order; the last profile named
    // selectedName is selected (a null name selects "Brak").
    void fillProfiles(RecordSet& profiles, const QString& selectedName);
    // New mode for imported series: N, K and R are the file's and cannot be changed.
    void fixCounts(int parts, int appraisers, int trials);
    // New mode for an imported file: its "#" fields (by column name) in their controls,
    // numbers read with the file's decimal and shown with the regional one; the number,
    // N, K and R are not taken from them.
    void fillFields(const QVector<std::pair<QString, QString>>& fields,
                    std::optional<QChar> decimal);
    // Writes what this mode stores into the record set's current (or new) row, in the
    // editor's order: each field as the text of its control (a text the field cannot
    // hold is not stored), then CoRef and Setings. The row is not committed here.
    void storeInto(RecordSet& analysis);
    QString analysisNumber() const;
    // Shows only the inputs the reference mode needs and captions Label1 element 0.
    void setReferenceMode(int mode);
    // The header fields of the kind of study: the crossed study's counts and reference
    // mode, or a type-1 study's master and resolution with both tolerance limits.
    void setKind(StudyKind kind);
    StudyKind kind() const { return kind_; }
    // The checks, in order; false after the first failure has been reported.
    bool Sprawdz();
    bool checkType1Fields();
    bool checkLinearityFields();

    QLineEdit* box(const char* name) const;
    QComboBox* list(const char* name) const;

    struct Place;  // a control's place in the editor

public slots:
    void reject() override;

private:
    void save();
    QLineEdit* addBox(const char* name, int maxLength = 0);
    QComboBox* addList(const char* name, const QStringList& items);
    QComboBox* addCountList(const char* name, int first, int last);  // first..last
    QLabel* addLabel(int index, const QString& caption);
    void layOut();
    QWidget* addControl(const Place& place);
    QLayout* addButtons(QWidget* previous);
    void centreOnScreen();

    QString controlText(const char* name) const;
    QString profileTransmission(const QString& name);

    Session& session_;
    Dialogs& dialogs_;
    Mode mode_;
    std::array<QLabel*, 25> labels_{};
    StudyKind kind_ = StudyKind::Crossed;
};
