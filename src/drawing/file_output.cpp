#include "file_output.h"

#include <QSaveFile>
#include <cerrno>

#include "system_error.h"

namespace FileOutput {

namespace {

// The system's cause of a failed step, in Polish; errno as the step left it.
QString causeOf(const QFileDevice& file, int code) {
    if (code != 0) {
        return systemErrorText(code);
    }
    return file.error() == QFileDevice::NoError ? QString::fromUtf8("zapis przerwany")
                                                : QString::fromUtf8("błąd zapisu pliku");
}

}  // namespace

bool write(const QString& path, const std::function<bool(QIODevice&)>& fill, QString* error) {
    error->clear();  // the fill may give the first cause itself (a read that failed)
    QSaveFile file(path);
    const auto refuse = [&](int code) {
        *error = QString::fromUtf8("nie można zapisać pliku %1: %2").arg(path, causeOf(file, code));
        file.cancelWriting();
        return false;
    };
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        return refuse(errno);
    }
    errno = 0;
    if (!fill(file)) {
        const int code = errno;
        if (!error->isEmpty()) {
            file.cancelWriting();  // not the file's fault: the fill's own cause stands
            return false;
        }
        return refuse(code);
    }
    // The last buffered bytes reach the disk here; the commit would not notice their loss.
    errno = 0;
    if (!file.flush()) {
        return refuse(errno);
    }
    errno = 0;
    if (!file.commit()) {  // a write that failed on the way fails here too
        *error =
            QString::fromUtf8("nie można zapisać pliku %1: %2").arg(path, causeOf(file, errno));
        return false;
    }
    return true;
}

bool writeImage(const QImage& image, const QString& path, const char* format, QString* error) {
    return write(
        path, [&](QIODevice& device) { return image.save(&device, format); }, error);
}

}  // namespace FileOutput
