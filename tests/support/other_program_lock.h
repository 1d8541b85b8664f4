// Another program holding a lock on a database file through a connection of its own, for
// the length of a scope.
#pragma once

#include <QString>

struct sqlite3;

class OtherProgramLock {
 public:
  // Write: the others still read, none writes. Exclusive: none reads either.
  enum class Lock { Write, Exclusive };
  OtherProgramLock(const QString& hostPath, Lock lock);
  ~OtherProgramLock();
  OtherProgramLock(const OtherProgramLock&) = delete;
  OtherProgramLock& operator=(const OtherProgramLock&) = delete;

  bool held() const { return held_; }

 private:
  sqlite3* db_ = nullptr;
  bool held_ = false;
};
