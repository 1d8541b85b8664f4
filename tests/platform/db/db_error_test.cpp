// Database errors start with the operator's sentence of their cause: one row per cause, each
// met through a real file and the layer path that meets it.
#include <linux/capability.h>
#include <sqlite3.h>
#include <sys/syscall.h>

#include <functional>

#include "platform/db/backup.h"
#include "platform/db/db_fixture.h"
#include "support/other_program_lock.h"

namespace vx::db {
namespace {

using testing::DbTest;
using Lock = OtherProgramLock::Lock;

// Opens a file with its permissions applied also to root, who otherwise reads and writes any.
std::shared_ptr<Database> OpenWithFilePermissions(const QString& path) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved[2] = {}, reduced[2] = {};
  syscall(SYS_capget, &header, saved);
  std::copy(saved, saved + 2, reduced);
  reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
  syscall(SYS_capset, &header, reduced);
  struct Restore {
    __user_cap_header_struct* header;
    __user_cap_data_struct* saved;
    ~Restore() { syscall(SYS_capset, header, saved); }
  } restore{&header, saved};
  return Database::Open(path);
}

TEST_F(DbTest, AnErrorStartsWithTheSentenceOfItsCauseAndKeepsTheTechnicalText) {
  db_->Execute(QStringLiteral("create table articolo (ean text(13), descr text(200))"));
  sqlite3_busy_timeout(db_->handle(), 50);  // another program's lock fails at once
  auto in = [&](const char* name) { return dir_.filePath(QString::fromUtf8(name)); };
  auto insert = [&] {
    db_->Execute(QStringLiteral("insert into articolo values (?, ?)"),
                 {Variant("1"), Variant(QString(150, QLatin1Char('x')))});
  };
  insert();
  auto write = [&](const QString& path, qint64 at, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(at) && f.write(bytes) == bytes.size());
  };
  const QString inUse =
      QStringLiteral("Il database '%1' è in uso da un altro programma.").arg(path_);
  const QString damaged = QStringLiteral("Il file '%1' non è un database o è danneggiato.");
  const struct {
    const char* cause;
    std::function<void()> fail;
    DbErrorKind kind;
    QString sentence;
    const char* technical;
  } cases[] = {
      {"another program's write lock, a write through a statement",
       [&] {
         OtherProgramLock other(path_, Lock::Write);
         insert();
       },
       DbErrorKind::InUse, inUse, "database is locked [SQL: insert into articolo"},
      {"another program's write lock, a transaction",
       [&] {
         OtherProgramLock other(path_, Lock::Write);
         Transaction tx(*db_);
       },
       DbErrorKind::InUse, inUse, "database is locked [SQL: BEGIN IMMEDIATE]"},
      {"busy: another program's exclusive lock, a record set",
       [&] {
         OtherProgramLock other(path_, Lock::Exclusive);
         db_->OpenRecordset(QStringLiteral("select * from articolo"));
       },
       DbErrorKind::InUse, inUse, "database is locked [SQL: select * from articolo]"},
      {"locked: a table dropped while it is read",
       [&] {
         Statement reading = db_->Prepare(QStringLiteral("select * from articolo"));
         reading.Step();
         db_->Execute(QStringLiteral("drop table articolo"));
       },
       DbErrorKind::InUse, inUse, "database table is locked [SQL: drop table articolo]"},
      {"a read-only file",
       [&] {
         BackupDatabase(path_, in("sola.mdb"));
         QFile::setPermissions(in("sola.mdb"), QFile::ReadOwner);
         OpenWithFilePermissions(in("sola.mdb"))->Execute(QStringLiteral("delete from articolo"));
       },
       DbErrorKind::ReadOnly,
       QStringLiteral("Il database '%1' è di sola lettura.").arg(in("sola.mdb")),
       "attempt to write a readonly database [SQL: delete from articolo]"},
      {"disk full: the file may not grow",
       [&] {
         sqlite3_exec(db_->handle(), "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr);
         for (int i = 0; i < 100; ++i) insert();
       },
       DbErrorKind::DiskFull,
       QStringLiteral("Disco pieno: non c'è più spazio per scrivere nel database '%1'.").arg(path_),
       "database or disk is full"},
      {"a file that is no database",
       [&] {
         write(MakeFile(QStringLiteral("testo.mdb")), 0, QByteArray(4096, 'x'));
         Database::Open(in("testo.mdb"));
       },
       DbErrorKind::Damaged, damaged.arg(in("testo.mdb")), "file is not a database"},
      {"a damaged database: its table's page overwritten",
       [&] {
         BackupDatabase(path_, in("rotto.mdb"));
         write(in("rotto.mdb"), 4096, QByteArray(4096, char(0xEE)));  // SQLite's page size
         Database::Open(in("rotto.mdb"))->OpenRecordset(QStringLiteral("select * from articolo"));
       },
       DbErrorKind::Damaged, damaged.arg(in("rotto.mdb")), "database disk image is malformed"},
      {"a file that may not be read",
       [&] {
         BackupDatabase(path_, in("chiuso.mdb"));
         QFile::setPermissions(in("chiuso.mdb"), {});
         OpenWithFilePermissions(in("chiuso.mdb"));
       },
       DbErrorKind::Missing,
       QStringLiteral("Il file '%1' non si può aprire: accesso negato.").arg(in("chiuso.mdb")),
       "unable to open database file"},
      {"a missing file", [&] { Database::Open(in("nessuno.mdb")); }, DbErrorKind::Missing,
       QStringLiteral("Il file '%1' non esiste.").arg(in("nessuno.mdb")), "/nessuno.mdb"},
      {"a missing folder", [&] { Database::Open(in("manca/dati.mdb")); }, DbErrorKind::Missing,
       QStringLiteral("La cartella '%1' non esiste.").arg(in("manca")), "/manca/dati.mdb"},
      {"a backup copy into a missing folder", [&] { BackupDatabase(path_, in("copie/dati.mdb")); },
       DbErrorKind::Missing, QStringLiteral("La cartella '%1' non esiste.").arg(in("copie")),
       "/copie/dati.mdb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cause);
    try {
      c.fail();
      ADD_FAILURE() << "no error";
    } catch (const DbError& e) {
      EXPECT_EQ(e.kind(), c.kind);
      EXPECT_TRUE(e.message().startsWith(c.sentence + QStringLiteral(" Dettaglio tecnico: ")))
          << e.what();
      EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.technical))) << e.what();
    }
  }
}

}  // namespace
}  // namespace vx::db
