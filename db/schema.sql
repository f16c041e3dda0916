-- The delivered database of Kalmet III: four tables, the one settings row, two sample
-- transmission profiles, no analyses. The build turns this into KALMET.MDB beside the
-- executable, and never over an existing file.

CREATE TABLE Analiza (
    Numer       TEXT,
    LiczbaN     INTEGER,
    LiczbaK     INTEGER,
    LiczbaR     INTEGER,
    Data        TEXT,
    Temperatura TEXT,
    Wilgotnosc  TEXT,
    NazwaC      TEXT,
    NumerC      TEXT,
    Parametr    TEXT,
    Jednostka   TEXT,
    WN          REAL,
    GWG         REAL,
    DWG         REAL,
    CoRef       INTEGER,
    NazwaP      TEXT,
    NumerP      TEXT,
    ZakresP     TEXT,
    BladP       TEXT,
    NazwaT      TEXT,
    Setings     TEXT
);
CREATE INDEX Analiza_Numer ON Analiza (Numer);

CREATE TABLE DanePom (
    ID       TEXT,
    Operator TEXT,
    P1       REAL,
    P2       REAL,
    P3       REAL,
    P4       REAL,
    P5       REAL,
    P6       REAL,
    P7       REAL,
    P8       REAL,
    P9       REAL,
    P10      REAL,
    ObX      REAL
);
CREATE INDEX DanePom_ID_Operator ON DanePom (ID, Operator);

CREATE TABLE Ustawienia (
    Firma TEXT,
    FD    TEXT,
    FP    TEXT,
    POK   REAL,
    PSR   REAL,
    IK1   REAL,
    IK2   REAL,
    FRTol INTEGER,
    Proc  INTEGER,
    PW1   INTEGER,
    PW2   INTEGER,
    PW3   INTEGER,
    PW4   INTEGER,
    PW5   INTEGER
);

CREATE TABLE Trans (
    Nazwa      TEXT,
    Transmisja TEXT
);

INSERT INTO Ustawienia (Firma, FD, FP, POK, PSR, IK1, IK2, FRTol, Proc, PW1, PW2, PW3, PW4, PW5)
VALUES ('Nazwa firmy', 'yyyy-mm-dd', '0.000', 10, 30, 5, 3, 15, 99, 1, 1, 1, 1, 1);

INSERT INTO Trans (Nazwa, Transmisja) VALUES ('RS232 - COM1', '9600,n,8,1');
INSERT INTO Trans (Nazwa, Transmisja) VALUES ('RS232 - COM2', '4800,e,7,2');
