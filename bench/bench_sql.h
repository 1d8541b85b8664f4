// The bare-SQL side of the benchmarks: statements run straight on SQLite, a failure ending
// the benchmark with the statement that failed.
#pragma once

#include <sqlite3.h>

#include <QString>
#include <cstdio>
#include <cstdlib>

namespace bench {

inline void Exec(sqlite3* db, const QString& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::fprintf(stderr, "SQL error: %s\n%s\n", error ? error : "?", qPrintable(sql));
    sqlite3_free(error);
    std::exit(2);
  }
}

// The first column of the first row, as a number.
inline double Scalar(sqlite3* db, const QString& sql) {
  sqlite3_stmt* st = nullptr;
  double v = -1;
  if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK &&
      sqlite3_step(st) == SQLITE_ROW) {
    v = sqlite3_column_double(st, 0);
  } else {
    std::fprintf(stderr, "SQL error: %s\n%s\n", sqlite3_errmsg(db), qPrintable(sql));
    std::exit(2);
  }
  sqlite3_finalize(st);
  return v;
}

inline QString Quoted(const QString& s) { return "'" + QString(s).replace("'", "''") + "'"; }

}  // namespace bench
