#include "SqlDatabase.h"

#include "StoreError.h"

#include <QCoreApplication>

#include <sqlite3.h>

namespace {
// Another process (a backup tool, a second instance) may hold the lock briefly.
constexpr int busyTimeoutMs = 5000;

// What went wrong, in the user's words, from SQLite's last result code. The
// connection reports extended codes (SQLITE_IOERR_WRITE and kin); their low
// byte is the primary code that names the family.
QString userFailure(sqlite3 *db)
{
    switch (sqlite3_extended_errcode(db) & 0xff) {
    case SQLITE_FULL: return QCoreApplication::translate("StoreError", "收藏库所在的磁盘已满");
    case SQLITE_READONLY: return QCoreApplication::translate("StoreError", "收藏库是只读的，无法保存");
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return QCoreApplication::translate("StoreError", "收藏库正被另一个程序使用");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return QCoreApplication::translate("StoreError", "收藏库文件已损坏");
    case SQLITE_IOERR: return QCoreApplication::translate("StoreError", "读写收藏库时磁盘出错");
    case SQLITE_CANTOPEN:
    case SQLITE_PERM: return QCoreApplication::translate("StoreError", "无法打开收藏库文件");
    default: break;
    }
    return {};
}
} // namespace

SqlDatabase::SqlDatabase(const QString &path) : m_path(path.isEmpty() ? QStringLiteral(":memory:") : path)
{
    const QByteArray name = path.isEmpty() ? QByteArray(":memory:") : path.toUtf8();
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(name.constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        const QString message =
            m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        const QString userMessage = m_db ? userFailure(m_db) : QString();
        sqlite3_close(m_db);
        m_db = nullptr;
        throw StoreError(m_path + QStringLiteral(": ") + message, userMessage);
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
}

SqlDatabase::~SqlDatabase()
{
    sqlite3_close_v2(m_db);
}

void SqlDatabase::execute(const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) == SQLITE_OK)
        return;
    const QString message = QString::fromUtf8(error ? error : sqlite3_errmsg(m_db));
    sqlite3_free(error);
    throw StoreError(QStringLiteral("%1: %2: %3").arg(m_path, sql, message), userFailure(m_db));
}

QString SqlDatabase::failure(const QString &action) const
{
    return QStringLiteral("%1: %2: %3").arg(m_path, action, QString::fromUtf8(sqlite3_errmsg(m_db)));
}

void SqlDatabase::fail(const QString &action) const
{
    throw StoreError(failure(action), userFailure(m_db));
}

int SqlDatabase::userVersion()
{
    Statement query(*this, QStringLiteral("PRAGMA user_version"));
    return query.step() ? sqlite3_column_int(query.handle(), 0) : 0;
}

bool SqlDatabase::isReadOnly() const
{
    return sqlite3_db_readonly(m_db, "main") == 1;
}

SqlDatabase::Statement::Statement(SqlDatabase &database, const QString &sql) : m_database(database)
{
    if (sqlite3_prepare_v3(database.m_db, sql.toUtf8().constData(), -1, SQLITE_PREPARE_PERSISTENT,
                           &m_statement, nullptr) != SQLITE_OK)
        database.fail(sql);
}

SqlDatabase::Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

bool SqlDatabase::Statement::step()
{
    switch (sqlite3_step(m_statement)) {
    case SQLITE_ROW: return true;
    case SQLITE_DONE: return false;
    default: {
        const QString message = m_database.failure(QString::fromUtf8(sqlite3_sql(m_statement)));
        const QString userMessage = userFailure(m_database.m_db);
        reset();
        throw StoreError(message, userMessage);
    }
    }
}

void SqlDatabase::Statement::run()
{
    while (step()) {
    }
    reset();
}

int SqlDatabase::Statement::changes() const
{
    return sqlite3_changes(sqlite3_db_handle(m_statement));
}

void SqlDatabase::Statement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

SqlDatabase::Transaction::Transaction(SqlDatabase &database) : m_database(database)
{
    database.execute(QStringLiteral("BEGIN IMMEDIATE"));
}

SqlDatabase::Transaction::~Transaction()
{
    if (m_open)
        sqlite3_exec(m_database.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqlDatabase::Transaction::commit()
{
    m_database.execute(QStringLiteral("COMMIT"));
    m_open = false;
}
