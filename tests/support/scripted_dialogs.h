#pragma once

#include <QStringList>
#include <QVector>
#include <functional>

#include "dialogs.h"

// Stands in for the message boxes: records every message and question (with whether a
// beep came right before it) and answers the questions from a prepared list.
class ScriptedDialogs : public Dialogs {
public:
    struct Call {
        bool question;
        QString text;
        QString title;
        Icon icon;
        bool afterBeep;
    };

    QVector<Call> calls;
    QVector<bool> answers;  // taken in order; No once they run out
    QStringList openedAddresses;
    bool browserAvailable = true;
    int beeps = 0;
    std::function<void()> onQuestion;  // runs while a question stands
    std::function<void()> onMessage;   // runs while a message stands

    void beep() override {
        ++beeps;
        beepPending_ = true;
    }
    void message(const QString& text, const QString& title, Icon icon) override {
        calls.push_back({false, text, title, icon, beepPending_});
        beepPending_ = false;
        if (onMessage) {
            onMessage();
        }
    }
    bool askYesNo(const QString& text, const QString& title, Icon icon) override {
        calls.push_back({true, text, title, icon, beepPending_});
        beepPending_ = false;
        if (onQuestion) {
            onQuestion();
        }
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    bool openAddress(const QString& address) override {
        openedAddresses << address;
        return browserAvailable;
    }

    QStringList texts() const {
        QStringList out;
        for (const Call& c : calls) {
            out << c.text;
        }
        return out;
    }

private:
    bool beepPending_ = false;
};
