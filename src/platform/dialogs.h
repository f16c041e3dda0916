#pragma once

#include <QString>

// Every message box, yes/no question, beep and shell "Open" of the program goes
// through this one interface. The program shows real message boxes; tests install a
// scripted stand-in that records each call and answers the questions.
class Dialogs {
public:
    enum class Icon { Information, Question, Warning, Critical };

    // The title of the program's warnings and refusals.
    static constexpr const char* kWarningTitle = "UWAGA !!!";

    virtual ~Dialogs() = default;
    virtual void beep() = 0;
    // A message with an OK button.
    virtual void message(const QString& text, const QString& title, Icon icon) = 0;
    // A question with Yes and No buttons, No the default; true only for Yes. Texts
    // are shown as plain text.
    virtual bool askYesNo(const QString& text, const QString& title, Icon icon) = 0;
    // Opens a web address (a host name, no scheme needed) in the desktop's browser;
    // false when no browser took it.
    virtual bool openAddress(const QString& address) = 0;
};
