#include "file_output.h"

#include <QSaveFile>

namespace FileOutput {

bool write(const QString& path, const std::function<bool(QIODevice&)>& fill, QString* error) {
    QSaveFile file(path);
    const auto refuse = [&](const QString& cause) {
        *error = QString::fromUtf8("nie można zapisać pliku %1: %2").arg(path, cause);
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly)) {
        return refuse(file.errorString());
    }
    if (!fill(file)) {
        return refuse(file.error() != QFileDevice::NoError ? file.errorString()
                                                           : QString::fromUtf8("zapis przerwany"));
    }
    // The last buffered bytes reach the disk here; the commit would not notice their loss.
    if (!file.flush()) {
        return refuse(file.errorString());
    }
    if (!file.commit()) {  // a write that failed on the way fails here too
        *error = QString::fromUtf8("nie można zapisać pliku %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool writeImage(const QImage& image, const QString& path, const char* format, QString* error) {
    return write(
        path, [&](QIODevice& device) { return image.save(&device, format); }, error);
}

}  // namespace FileOutput
