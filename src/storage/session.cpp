#include "session.h"

#include <QDir>
#include <QFileInfo>

#include "program_lock.h"
#include "record_sets.h"
#include "schema_additions.h"

Session::Opened Session::openFolder(const QString& applicationFolder,
                                    const RegionalSettings& regional) {
    return openFile(QDir(applicationFolder).filePath(QString::fromLatin1(kDatabaseFileName)),
                    regional);
}

Session::Opened Session::openFile(const QString& path, const RegionalSettings& regional,
                                  Database::Access access,
                                  const std::optional<QString>& onlyAnalysis, Additions additions) {
    std::unique_ptr<Session> session(new Session(regional));
    session->shared_.applicationFolder = QFileInfo(path).absolutePath();
    const bool writing = access == Database::Access::ReadWrite;
    const auto alreadyOpen = [&path] {
        return Opened{
            nullptr, QString::fromUtf8("Nie można otworzyć bazy danych „%1”: plik jest już otwarty "
                                       "w innym uruchomionym programie Kalmet. Zakończ tamten "
                                       "program i spróbuj ponownie.")
                         .arg(path)};
    };
    if (writing && ProgramLock::isHeldByAnother(path)) {
        return alreadyOpen();
    }
    auto opened = Database::open(path, regional, access);
    if (!opened.database) {
        return {nullptr, opened.error};
    }
    if (writing) {
        ProgramLock::Attempt attempt = ProgramLock::take(path);
        if (attempt.heldByAnother) {
            return alreadyOpen();
        }
        if (!attempt.lock) {
            return {nullptr, QString::fromUtf8("Nie można otworzyć bazy danych „%1”: %2.")
                                 .arg(path, attempt.cause)};
        }
        session->programLock_ = std::move(attempt.lock);
    }
    session->db_ = std::move(opened.database);
    QString cause;  // the first read that failed, as the engine said it
    session->analyses_ = onlyAnalysis
                             ? RecordSets::analysesNumbered(*session->db_, *onlyAnalysis, &cause)
                             : RecordSets::analyses(*session->db_, &cause);
    if (cause.isEmpty()) {
        session->settings_ = RecordSets::settings(*session->db_, &cause);
    }
    if (cause.isEmpty()) {
        session->profiles_ = RecordSets::profiles(*session->db_, &cause);
    }
    if (!session->analyses_ || !session->settings_ || !session->profiles_) {
        return {nullptr, QString::fromUtf8("Nie można odczytać tabel bazy danych „%1”: %2.")
                             .arg(path, cause.isEmpty() ? session->db_->lastError() : cause)};
    }
    if (const QString refusal = session->loadSettings(path); !refusal.isEmpty()) {
        return {nullptr, refusal};
    }
    // The program's additions join the file once, on the program's own connection,
    // and only when the start is not refused (a refused file stays as it was).
    if (writing && additions == Additions::Add && !SchemaAdditions::hasKinds(*session->db_)) {
        if (const QString failure = SchemaAdditions::add(*session->db_); !failure.isEmpty()) {
            return {nullptr, QString::fromUtf8("Nie można dodać tabel programu do bazy "
                                               "danych „%1”: %2")
                                 .arg(path, failure)};
        }
        // The record sets learn the columns just added.
        session->analyses_ =
            onlyAnalysis ? RecordSets::analysesNumbered(*session->db_, *onlyAnalysis, &cause)
                         : RecordSets::analyses(*session->db_, &cause);
        session->settings_ = RecordSets::settings(*session->db_, &cause);
        if (!session->analyses_ || !session->settings_) {
            return {nullptr, QString::fromUtf8("Nie można odczytać tabel bazy danych „%1”: %2.")
                                 .arg(path, cause)};
        }
        session->shared_.load(*session->settings_);
    }
    session->db_->setLongestWait(kLongestWaitMs);
    return {std::move(session), {}};
}

// Settings that cannot be read would make every verdict of the run wrong (empty limits,
// no pattern): the start is refused with the cause. So are patterns longer than the
// settings window allows, which only another program can have stored.
QString Session::loadSettings(const QString& path) {
    RecordSet& row = *settings_;
    row.clearReadError();
    shared_.load(row);
    QString cause = row.readError();
    if (cause.isEmpty() && !row.hasCurrentRow()) {
        cause = QString::fromUtf8("tabela Ustawienia nie ma wiersza ustawień");
    }
    for (const char* pattern : {"FD", "FP"}) {
        const QString text = row.field(QString::fromLatin1(pattern)).toText(shared_.regional);
        if (cause.isEmpty() && text.size() > kPatternLength) {
            cause = QString::fromUtf8("zapis %1 ma %2 znaków, a dozwolonych jest najwyżej %3")
                        .arg(QLatin1String(pattern))
                        .arg(text.size())
                        .arg(kPatternLength);
        }
    }
    if (cause.isEmpty()) {
        return {};
    }
    return QString::fromUtf8("Nie można odczytać ustawień z bazy danych „%1”: %2.")
        .arg(path, cause);
}

QString Session::openSeries(const QString& numer) {
    series_.reset();  // the previous set goes first: one series set at a time
    QString error;
    series_ = RecordSets::series(*db_, numer, &error);
    return series_ ? QString() : error;
}

QStringList Session::analysisNumbers() const {
    QStringList numbers;
    for (const Value& numer : analyses_->column(QStringLiteral("Numer"))) {
        numbers << numer.toText(shared_.regional);
    }
    return numbers;
}

void Session::reloadAnalyses() {
    if (auto fresh = RecordSets::analyses(*db_)) {
        analyses_ = std::move(fresh);
    }
}
