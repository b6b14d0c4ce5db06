#pragma once

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// One SQLite connection. Every failure throws StoreError with SQLite's message
// and the database's path.
class SqlDatabase {
public:
    // A prepared statement, reset after each use.
    class Statement {
    public:
        Statement(SqlDatabase &database, const QString &sql);
        ~Statement();
        Statement(const Statement &) = delete;
        Statement &operator=(const Statement &) = delete;

        sqlite3_stmt *handle() const { return m_statement; }
        // Advances to the next row; false once the statement is done.
        bool step();
        // Runs a statement that returns no rows, then resets it for reuse.
        void run();
        // Rows changed by the last run.
        int changes() const;
        void reset();

    private:
        const SqlDatabase &m_database;
        sqlite3_stmt *m_statement = nullptr;
    };

    // Rolls back unless committed.
    class Transaction {
    public:
        explicit Transaction(SqlDatabase &database);
        ~Transaction();
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;

        void commit();

    private:
        SqlDatabase &m_database;
        bool m_open = true;
    };

    // A file path, or nothing for a private in-memory database.
    explicit SqlDatabase(const QString &path);
    ~SqlDatabase();
    SqlDatabase(const SqlDatabase &) = delete;
    SqlDatabase &operator=(const SqlDatabase &) = delete;

    void execute(const QString &sql);
    [[noreturn]] void fail(const QString &action) const;
    // The schema version the file records (0 for a new file). Reading it is
    // the first read of the file, so a file that is no database fails here.
    int userVersion();
    // Whether SQLite could open the file for reading only.
    bool isReadOnly() const;

private:
    QString failure(const QString &action) const;

    QString m_path;
    sqlite3 *m_db = nullptr;
};
