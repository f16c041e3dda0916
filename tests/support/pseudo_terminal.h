#pragma once

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>
#include <QString>
#include <QtTest>

// A pseudo-terminal pair stands for a serial cable: the test writes a gauge's frames into
// the master side, the program reads the slave side as a port.
struct PseudoTerminal {
    int master = -1;
    int slave = -1;
    QString path;

    PseudoTerminal() {
        if (openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
            path = QString::fromLocal8Bit(ttyname(slave));
            // a program the test starts must not hold the cable's ends
            fcntl(master, F_SETFD, FD_CLOEXEC);
            fcntl(slave, F_SETFD, FD_CLOEXEC);
        }
    }
    ~PseudoTerminal() {
        closeMaster();
        if (slave >= 0) {
            close(slave);
        }
    }
    void send(const QByteArray& bytes) const {
        QVERIFY(write(master, bytes.constData(), static_cast<size_t>(bytes.size())) ==
                bytes.size());
    }
    void closeMaster() {
        if (master >= 0) {
            close(master);
            master = -1;
        }
    }
};
