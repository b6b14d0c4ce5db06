#pragma once

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// One SQLite connection. Every failure throws StoreError with SQLite's message.
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
        void reset();

    private:
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

private:
    sqlite3 *m_db = nullptr;
};
