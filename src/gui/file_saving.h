#pragma once

#include <QString>
#include <functional>

#include "ui_environment.h"

class QWidget;

// A window's page, picture or record saved where the user chooses: the file chooser, the
// writer, then the path told on success or the cause on failure; nothing when cancelled.
namespace FileSaving {

struct Request {
    QString caption;    // of the file chooser
    QString suggested;  // the file it proposes
    QString filter;
    QString failure;  // the message on failure, "%1" for the cause
};

void save(const UiEnvironment& environment, QWidget* parent, const Request& request,
          const std::function<bool(const QString& path, QString* error)>& write);

}  // namespace FileSaving
