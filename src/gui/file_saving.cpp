#include "file_saving.h"

namespace FileSaving {

void save(const UiEnvironment& env, QWidget* parent, const Request& request,
          const std::function<bool(const QString& path, QString* error)>& write) {
    const QString path =
        env.chooseSaveFile(parent, request.caption, request.suggested, request.filter, nullptr);
    if (path.isEmpty()) {
        return;  // cancelled
    }
    QString error;
    if (!write(path, &error)) {
        env.dialogs->message(request.failure.arg(error), QStringLiteral("Uwaga !"),
                             Dialogs::Icon::Warning);
        return;
    }
    env.dialogs->message(QStringLiteral("Zapisano w ") + path, QStringLiteral("Info"),
                         Dialogs::Icon::Information);
}

}  // namespace FileSaving
