#pragma once

#include <QDialog>
#include <QVector>

#include "dialogs.h"
#include "gauge_receiver.h"
#include "value.h"

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class GaugeSource;
class Session;

// Dane, the series editor: the appraiser and one value box per part, laid out in
// twips (a box every 330 twips, the buttons 390 below the
// last box). The command that opens it writes the row when the dialog result flag is
// true afterwards: "&Zapisz" sets it when Sprawdz passes.
class Dane : public QDialog, public GaugeReceiver {
    Q_OBJECT

public:
    static constexpr const char* kNewCaption = "Nowa seria danych";
    static constexpr const char* kEditCaption = "Popraw serię danych";

    enum class Mode { New, Edit };

    // parts: N of the selected analysis (its value boxes are made here); the mode gives
    // the caption.
    Dane(Session& session, Dialogs& dialogs, Mode mode, int parts, QWidget* parent = nullptr);

    bool isNewMode() const { return mode_ == Mode::New; }
    bool Sprawdz();

    QLineEdit* appraiserBox() const { return appraiser_; }
    const QVector<QLineEdit*>& valueBoxes() const { return values_; }
    // Correcting: box i shows the stored value as the number pattern writes it.
    void showStoredValue(int i, const Value& stored, const QString& shown);
    // What box i stores: the stored value itself while its text is the one shown for it
    // (the pattern may have rounded it), otherwise the typed text.
    Value valueToStore(int i) const;
    int buttonTopTwips() const { return buttonTop_; }

    // Readings of the gauge go into the value box with the focus (the first empty one
    // while the appraiser box has it) and move the focus on; after the last box it goes
    // to "Zapisz", which a reading never presses. A refused line or a device error beeps
    // and is shown; nothing is filled. Readings that come while a message of the editor
    // stands, or after every box is filled, are not taken and are counted in the status
    // line; when the message closes the focus goes to the first empty box.
    void attachGauge(GaugeSource* gauge, const QString& description) override;
    // The named gauge could not be used: said in the status line; the keyboard works.
    void showGaugeProblem(const QString& description, const QString& problem) override;
    QLabel* gaugeStatus() const { return status_; }
    void takeReading(double value);
    // The outer height of the delivered layout (caption bar included).
    int heightTwips() const { return height_; }

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int widthForCaption(const QString& caption) const;
    void addStatusLine();
    void setStatus(const QString& text);
    void fitStatusLine();
    int editorHeight() const;  // twips, without the status line
    QLineEdit* boxForReading() const;
    QLineEdit* firstEmptyBox() const;
    void moveFocusAfter(QLineEdit* box);
    // A value typed with the other decimal than the desktop's, as a wedge gauge types it,
    // is rewritten with the desktop's; false when it cannot be told apart from grouping
    // ("0,125" on a desktop whose decimal is ".").
    bool acceptOtherDecimal(QLineEdit* box);
    bool keyOnSaveButton(QKeyEvent* key);
    bool appraiserHasAllTrials();
    bool tooManyAppraisers();
    void save();

    Session& session_;
    Dialogs& dialogs_;
    Mode mode_;
    QLineEdit* appraiser_ = nullptr;
    QVector<QLineEdit*> values_;
    QVector<Value> stored_;         // correcting: the stored values...
    QVector<QString> shownStored_;  // ...and their texts as shown (null: none)
    int buttonTop_ = 0;
    int height_ = 0;
    QPushButton* save_ = nullptr;
    QLabel* status_ = nullptr;  // the gauge's state, when the analysis names one
    QString gaugeDescription_;
    bool checking_ = false;  // Sprawdz runs: its message may stand
    int missed_ = 0;         // readings not taken while a message stood
    int dropped_ = 0;        // readings after every box was filled
    QString typedOnButton_;  // keys a wedge typed after the last box
};
