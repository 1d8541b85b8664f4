// Translation of Jet SQL texts into SQLite's dialect, and the Jet functions the texts call.
//
// Kept as written: bracketed names. Translated: `*`/`?` wildcards in LIKE (a literal % or _
// stays literal), #date# literals (to day numbers), & and + as Jet reads them (see
// jet_rewrite.cpp), double-quoted texts to single-quoted ones, True/False, isnull(x),
// odd spacing; DDL texts "create table [t] ([c] type)", "alter table t add [c] type(size)"
// and "create [unique] index" with Jet's type words (int, long, single, double, text(n),
// Date, memo, yesno, currency, byte, counter). Text columns compare without regard to case.
#pragma once

#include <QString>

struct sqlite3;

namespace vx::db {

QString TranslateJetSql(const QString& jetSql);

// Registers Trim, LTrim, RTrim, Val, IIf, Mid, Left, Right, Len, UCase, LCase, Format, Nz,
// Date, Now, Year, Month, Day, CStr, CLng, CInt, CDbl, CSng, Str, Int, Abs, Round (half to
// even) on a connection, and the helpers the translation calls (jet_cat, jet_add,
// jet_datetext, jet_likere, jet_fit).
void RegisterJetFunctions(sqlite3* db);

}  // namespace vx::db
