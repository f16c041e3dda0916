#include "widget_dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <QUrl>

namespace {

QMessageBox::Icon boxIcon(Dialogs::Icon icon) {
    switch (icon) {
        case Dialogs::Icon::Information:
            return QMessageBox::Information;
        case Dialogs::Icon::Question:
            return QMessageBox::Question;
        case Dialogs::Icon::Warning:
            return QMessageBox::Warning;
        case Dialogs::Icon::Critical:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

bool installPolishQtTranslation(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

// The active window, or the one the last box stood over: between two questions no
// window is active for a moment, and the second box would stand alone mid-screen.
QWidget* WidgetDialogs::parentForBox() {
    QWidget* parent = QApplication::activeWindow();
    if (!parent) {
        parent = QApplication::activeModalWidget();
    }
    if (!parent) {
        parent = lastParent_;
    }
    lastParent_ = parent;
    return parent;
}

void WidgetDialogs::beep() {
    QApplication::beep();
}

// Texts carry user data (analysis numbers, patterns, names): never read as markup.
void WidgetDialogs::message(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parentForBox());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// Every question of the program leads to losing something (a deletion, unsaved
// settings): Enter answers No.
bool WidgetDialogs::askYesNo(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No, parentForBox());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool WidgetDialogs::openAddress(const QString& address) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(address));
}
