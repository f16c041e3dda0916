#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>
#include <functional>

// Files the program writes (pages, charts, pictures) are whole or absent: the content
// goes into a temporary file beside the target, which takes the target's name only when
// every write and the final commit succeeded. An existing file of that name survives a
// failed save, and a full disk is told, never reported as written.
namespace FileOutput {

// `fill` writes the content and returns false when it could not finish it; it may put
// its own cause in *error (a read that failed), which then stands as the first cause.
// False, with the cause in *error (the system's in Polish), when the file was not
// written.
bool write(const QString& path, const std::function<bool(QIODevice&)>& fill, QString* error);
// An image in a format Qt writes ("PNG", "BMP").
bool writeImage(const QImage& image, const QString& path, const char* format, QString* error);

}  // namespace FileOutput
