#include "support/other_program_lock.h"

#include <sqlite3.h>

OtherProgramLock::OtherProgramLock(const QString& hostPath, Lock lock) {
  if (sqlite3_open_v2(hostPath.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) !=
      SQLITE_OK) {
    return;
  }
  const char* begin = lock == Lock::Write ? "BEGIN IMMEDIATE" : "BEGIN EXCLUSIVE";
  held_ = sqlite3_exec(db_, begin, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Closing the connection rolls its transaction back and lets the lock go.
OtherProgramLock::~OtherProgramLock() { sqlite3_close_v2(db_); }
