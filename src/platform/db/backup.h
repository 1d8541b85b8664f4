// A backup copy of a database file.
#pragma once

#include <QString>

namespace vx::db {

// Copies the committed data of the database at source into a database file at target (Windows
// or host paths), replacing a file of that name. The copy goes through SQLite's online backup
// on a read-only connection of its own, so that a write transaction still open on another
// connection is neither half copied nor copied uncommitted. It is written into a temporary
// file beside the target and renamed over it only when complete: a failed copy leaves no part
// of a file and an older file of that name as it was. DbError with the reason on failure,
// also when target names the source itself.
void BackupDatabase(const QString& source, const QString& target);

}  // namespace vx::db
