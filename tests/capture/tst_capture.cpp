#include <QtTest>

#include "reading_parser.h"
#include "transmission_settings.h"

class CaptureTest : public QObject {
    Q_OBJECT

private slots:
    void settings_data();
    void settings();
    void readings_data();
    void readings();
    void linesArriveInPieces();
    void endlessLineIsDropped();
};

void CaptureTest::settings_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("port");  // empty: refused
    QTest::addColumn<QString>("normal");
    QTest::addColumn<QString>("refusal");  // a part of the message
    QTest::newRow("Mitutoyo, COM1") << "9600,n,8,1"
                                    << "RS232 - COM1"
                                    << "/dev/ttyS0"
                                    << "9600,n,8,1"
                                    << "";
    QTest::newRow("Sylvac, COM2") << "4800,E,7,2"
                                  << "RS232 - COM2"
                                  << "/dev/ttyS1"
                                  << "4800,e,7,2"
                                  << "";
    QTest::newRow("own port") << "19200,o,8,1,/dev/serial/by-id/usb-Sylvac"
                              << "Brak"
                              << "/dev/serial/by-id/usb-Sylvac"
                              << "19200,o,8,1"
                              << "";
    QTest::newRow("mark and space") << "1200,M,5,1,/dev/ttyUSB0"
                                    << "X"
                                    << "/dev/ttyUSB0"
                                    << "1200,m,5,1"
                                    << "";
    QTest::newRow("1.5 stop bits") << "9600,n,8,1.5"
                                   << "COM1"
                                   << ""
                                   << ""
                                   << "1,5 bitu stopu";
    QTest::newRow("parity") << "9600,x,8,1"
                            << "COM1"
                            << ""
                            << ""
                            << "parzystość „x”";
    QTest::newRow("data bits") << "9600,n,9,1"
                               << "COM1"
                               << ""
                               << ""
                               << "bity danych „9”";
    QTest::newRow("baud") << "szybko,n,8,1"
                          << "COM1"
                          << ""
                          << ""
                          << "prędkość „szybko”";
    QTest::newRow("no port") << "9600,n,8,1"
                             << "Suwmiarka"
                             << ""
                             << ""
                             << "nie podano portu";
    QTest::newRow("1,5 stop bits the Polish way") << "9600,n,8,1,5"
                                                  << "COM1"
                                                  << ""
                                                  << ""
                                                  << "1,5 bitu stopu";
    QTest::newRow("1,5 stop bits and a port") << "9600,n,8,1,5,/dev/ttyUSB0"
                                              << "COM1"
                                              << ""
                                              << ""
                                              << "1,5 bitu stopu";
    QTest::newRow("shape") << "9600;n;8;1"
                           << "COM1"
                           << ""
                           << ""
                           << "nie ma postaci";
}

void CaptureTest::settings() {
    QFETCH(QString, text);
    QFETCH(QString, profile);
    QFETCH(QString, port);
    QFETCH(QString, normal);
    QFETCH(QString, refusal);
    const ParsedSettings parsed = TransmissionSettings::parse(text, profile);
    if (port.isEmpty()) {
        QVERIFY(!parsed.settings);
        QVERIFY2(parsed.error.contains(refusal), qPrintable(parsed.error));
        return;
    }
    QVERIFY2(parsed.settings, qPrintable(parsed.error));
    QCOMPARE(parsed.settings->port, port);
    QCOMPARE(parsed.settings->text(), normal);
}

void CaptureTest::readings_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("kind");  // 0 reading, 1 device error, 2 refused
    QTest::addColumn<double>("value");
    QTest::newRow("Mitutoyo") << "01A+0000.123" << 0 << 0.123;
    QTest::newRow("Mitutoyo negative") << "01A-0012.500" << 0 << -12.5;
    QTest::newRow("Sylvac") << "+012.345" << 0 << 12.345;
    QTest::newRow("signed") << "-0.005" << 0 << -0.005;
    QTest::newRow("leading blank") << " 12.345" << 0 << 12.345;
    QTest::newRow("plain") << "12.345" << 0 << 12.345;
    QTest::newRow("comma") << "12,345" << 0 << 12.345;
    QTest::newRow("with unit") << "-18.78 lbFin" << 0 << -18.78;
    QTest::newRow("in mm") << "4.0031mm" << 0 << 4.0031;
    QTest::newRow("exponent") << "1.5E3" << 0 << 1500.0;
    QTest::newRow("exponent and unit") << "-2.5e-3 mm" << 0 << -0.0025;
    QTest::newRow("micrometres") << QString::fromUtf8("12.5 µm") << 0 << 12.5;
    QTest::newRow("ERR3") << "ERR3" << 1 << 0.0;
    QTest::newRow("comment") << "# battery low" << 1 << 0.0;
    QTest::newRow("garbage") << "abc" << 2 << 0.0;
    QTest::newRow("two numbers") << "1.2 3.4" << 2 << 0.0;
    QTest::newRow("ERR9") << "ERR9" << 2 << 0.0;
}

void CaptureTest::readings() {
    QFETCH(QString, line);
    QFETCH(int, kind);
    QFETCH(double, value);
    const ReadingParser::Line read = ReadingParser::read(line);
    QCOMPARE(static_cast<int>(read.kind), kind);
    if (kind == 0) {
        QCOMPARE(read.value, value);
    }
}

void CaptureTest::linesArriveInPieces() {
    ReadingParser parser;
    QVERIFY(parser.feed("01A+00").empty());
    auto lines = parser.feed("00.123\r\n+1");
    QCOMPARE(lines.size(), std::size_t(1));
    QCOMPARE(lines[0].value, 0.123);
    lines = parser.feed("2.5\rERR3\n\n-0,5\r\n");
    QCOMPARE(lines.size(), std::size_t(3));
    QCOMPARE(lines[0].value, 12.5);
    QCOMPARE(lines[1].kind, ReadingParser::Line::Kind::DeviceError);
    QCOMPARE(lines[2].value, -0.5);
    // UTF-8 as it comes from the port: "µm" is a unit, not "Âµm"
    lines = parser.feed("4.0031 \xC2\xB5m\r\n");
    QCOMPARE(lines.size(), std::size_t(1));
    QCOMPARE(lines[0].value, 4.0031);
}

// Bytes without a line end are not kept without limit: a line past 256 bytes is told once
// and dropped up to its end, and the next line reads.
void CaptureTest::endlessLineIsDropped() {
    ReadingParser parser;
    const QByteArray chunk(100'000, '7');
    std::vector<ReadingParser::Line> told;
    for (int i = 0; i < 100; ++i) {
        for (const ReadingParser::Line& line : parser.feed(chunk)) {
            told.push_back(line);
        }
    }
    QCOMPARE(told.size(), std::size_t(1));
    QVERIFY(told[0].tooLong && told[0].text.size() <= 40);
    const auto lines = parser.feed("77\r\n+1.5\r\n");
    QCOMPARE(lines.size(), std::size_t(1));
    QCOMPARE(lines[0].value, 1.5);
}

QTEST_GUILESS_MAIN(CaptureTest)
#include "tst_capture.moc"
