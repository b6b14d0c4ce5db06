#pragma once

#include <QString>

struct sqlite3;

// A store file on disk shaped like a library saved over years: posts with a
// title, a few hundred characters of text and three pictures each, written
// with plain SQLite in one transaction (the records' own save would take
// minutes at this size). The byte files the rows name are not written.
namespace BenchStore {

constexpr int mediaPerPost = 3;

// Fills the store at `storePath`, which must hold no records yet.
void generate(const QString &storePath, int postCount);
// Every column of every row a query gives, as text; the bytes read.
qint64 readRows(sqlite3 *db, const char *sql);
// Every column of every post, medium and link read with plain SQLite, as a
// store that loads everything at open must at least do; the bytes read.
qint64 readEveryRow(const QString &storePath);
// The store file and its write-ahead log, in bytes.
qint64 fileSize(const QString &storePath);

} // namespace BenchStore
