#pragma once

#include <unistd.h>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>
#include <QTemporaryDir>

// A real small file system (a 1 MiB tmpfs) in a temporary folder, for what a full disk
// does; only root can mount it, elsewhere `mounted()` is false and the test skips.
class SmallDisk {
public:
    SmallDisk() {
        mounted_ = geteuid() == 0 &&
                   QProcess::execute(
                       QStringLiteral("mount"),
                       {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                        QStringLiteral("size=1m"), QStringLiteral("tmpfs"), dir_.path()}) == 0;
    }
    ~SmallDisk() {
        if (mounted_) {
            QProcess::execute(QStringLiteral("umount"), {dir_.path()});
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Fills the disk with a filler file until at most `keep` bytes are free.
    bool fill(qint64 keep = 0) {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::Append)) {
            return false;
        }
        const QByteArray block(4096, 'x');
        while (QStorageInfo(dir_.path()).bytesAvailable() > keep &&
               filler.write(block) == block.size() && filler.flush()) {
        }
        return true;
    }
    // Room again.
    bool empty() { return QFile::remove(filePath(QStringLiteral("filler"))); }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};
