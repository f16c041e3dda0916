#include "transmission_settings.h"

#include "excerpt.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

std::optional<QSerialPort::Parity> parityOf(const QString& text) {
    const QString p = text.trimmed().toLower();
    if (p == QLatin1String("n")) {
        return QSerialPort::NoParity;
    }
    if (p == QLatin1String("e")) {
        return QSerialPort::EvenParity;
    }
    if (p == QLatin1String("o")) {
        return QSerialPort::OddParity;
    }
    if (p == QLatin1String("m")) {
        return QSerialPort::MarkParity;
    }
    if (p == QLatin1String("s")) {
        return QSerialPort::SpaceParity;
    }
    return std::nullopt;
}

// A port named by the profile: "RS232 - COM1" is the first serial port.
QString portOfProfile(const QString& profileName) {
    static const QRegularExpression com(QStringLiteral("COM(\\d+)\\s*$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(profileName);
    const int n = m.hasMatch() ? m.captured(1).toInt() : 0;
    return n >= 1 ? QStringLiteral("/dev/ttyS%1").arg(n - 1) : QString();
}

ParsedSettings refused(const QString& why) {
    return {std::nullopt, QString::fromUtf8("Błędne ustawienia transmisji: %1.").arg(why)};
}

}  // namespace

ParsedSettings TransmissionSettings::parse(const QString& text, const QString& profileName) {
    const QStringList parts = text.split(QLatin1Char(','));
    // 1,5 stop bits, written "1.5" or the Polish way "1,5" (which splits in two)
    const QString stop = parts.value(3).trimmed();
    if (stop == QLatin1String("1.5") ||
        (stop == QLatin1String("1") && parts.value(4).trimmed() == QLatin1String("5"))) {
        return refused(QString::fromUtf8("1,5 bitu stopu nie jest obsługiwane w systemie Linux"));
    }
    if (parts.size() < 4 || parts.size() > 5) {
        return refused(QString::fromUtf8("%1 nie ma postaci „prędkość,parzystość,bity danych,"
                                         "bity stopu[,port]”")
                           .arg(quotedExcerpt(text)));
    }
    TransmissionSettings s;
    bool ok = false;
    s.baud = parts[0].trimmed().toInt(&ok);
    if (!ok || s.baud <= 0) {
        return refused(
            QString::fromUtf8("prędkość %1 nie jest liczbą bodów").arg(quotedExcerpt(parts[0])));
    }
    const std::optional<QSerialPort::Parity> parity = parityOf(parts[1]);
    if (!parity) {
        return refused(QString::fromUtf8("parzystość %1 (dozwolone n, e, o, m, s)")
                           .arg(quotedExcerpt(parts[1])));
    }
    s.parity = *parity;
    const int data = parts[2].trimmed().toInt(&ok);
    if (!ok || data < 5 || data > 8) {
        return refused(
            QString::fromUtf8("bity danych %1 (dozwolone 5 do 8)").arg(quotedExcerpt(parts[2])));
    }
    s.dataBits = static_cast<QSerialPort::DataBits>(data);
    if (stop != QLatin1String("1") && stop != QLatin1String("2")) {
        return refused(
            QString::fromUtf8("bity stopu %1 (dozwolone 1 lub 2)").arg(quotedExcerpt(parts[3])));
    }
    s.stopBits = stop == QLatin1String("1") ? QSerialPort::OneStop : QSerialPort::TwoStop;
    s.port = parts.size() == 5 ? parts[4].trimmed() : portOfProfile(profileName);
    if (s.port.isEmpty()) {
        return refused(
            QString::fromUtf8("nie podano portu (dopisz „,/dev/ttyUSB0” albo nazwij "
                              "profil „… COM1”)"));
    }
    return {s, {}};
}

QString TransmissionSettings::text() const {
    const char* parities = "n?eosm";  // by QSerialPort::Parity
    return QStringLiteral("%1,%2,%3,%4")
        .arg(baud)
        .arg(QLatin1Char(parities[parity]))
        .arg(static_cast<int>(dataBits))
        .arg(stopBits == QSerialPort::TwoStop ? 2 : 1);
}
