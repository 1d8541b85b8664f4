// The operator's sentence that database errors start with, one row per common cause, each
// met through a real file and the layer path that meets it.
#include <linux/capability.h>
#include <sqlite3.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <functional>

#include "platform/db/backup.h"
#include "platform/db/db_fixture.h"
#include "support/other_program_lock.h"

namespace vx::db {
namespace {

using testing::DbTest;

// File permissions apply for the scope also to root, who otherwise writes a read-only file.
class FilePermissionsApply {
 public:
  FilePermissionsApply() {
    if (geteuid() != 0) return;
    syscall(SYS_capget, &header_, saved_);
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    dropped_ = syscall(SYS_capset, &header_, reduced) == 0;
  }
  ~FilePermissionsApply() {
    if (dropped_) syscall(SYS_capset, &header_, saved_);
  }

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2] = {};
  bool dropped_ = false;
};

class DbErrorTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    db_->Execute(QStringLiteral("create table articolo (ean text(13), descr text(200))"));
    Transaction tx(*db_);
    for (int i = 0; i < 200; ++i) {
      db_->Execute(QStringLiteral("insert into articolo values (?, ?)"),
                   {Variant(QString::number(i)), Variant(QString(150, QLatin1Char('x')))});
    }
    tx.Commit();
    sqlite3_busy_timeout(db_->handle(), 50);  // another program's lock fails at once
  }
};

TEST_F(DbErrorTest, AnErrorStartsWithTheSentenceOfItsCauseAndKeepsTheTechnicalText) {
  const QString db = QStringLiteral("Il database '%1' ").arg(path_);
  struct Case {
    const char* cause;
    std::function<void()> fail;
    DbErrorKind kind;
    QString sentence;
    QString technical;
  } cases[] = {
      {"another program holds a write lock: a write through a statement",
       [&] {
         OtherProgramLock other(path_, OtherProgramLock::Lock::Write);
         ASSERT_TRUE(other.held());
         db_->Execute(QStringLiteral("delete from articolo where ean = ?"), {Variant("1")});
       },
       DbErrorKind::InUse, db + "è in uso da un altro programma.", "database is locked"},
      {"another program holds a write lock: a transaction",
       [&] {
         OtherProgramLock other(path_, OtherProgramLock::Lock::Write);
         ASSERT_TRUE(other.held());
         Transaction tx(*db_);
       },
       DbErrorKind::InUse, db + "è in uso da un altro programma.", "database is locked"},
      {"busy: another program's exclusive lock, a record set reads",
       [&] {
         OtherProgramLock other(path_, OtherProgramLock::Lock::Exclusive);
         ASSERT_TRUE(other.held());
         db_->OpenRecordset(QStringLiteral("select * from articolo"));
       },
       DbErrorKind::InUse, db + "è in uso da un altro programma.", "database is locked"},
      {"locked: a table dropped while it is being read",
       [&] {
         Statement reading = db_->Prepare(QStringLiteral("select * from articolo"));
         reading.Step();
         db_->Execute(QStringLiteral("drop table articolo"));
       },
       DbErrorKind::InUse, db + "è in uso da un altro programma.", "[SQL: drop table articolo]"},
      {"a read-only file",
       [&] {
         const QString copy = dir_.filePath(QStringLiteral("sola_lettura.mdb"));
         BackupDatabase(path_, copy);
         QFile::setPermissions(copy, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
         std::shared_ptr<Database> readOnly;
         {
           FilePermissionsApply apply;
           readOnly = Database::Open(copy);
         }
         readOnly->Execute(QStringLiteral("delete from articolo"));
       },
       DbErrorKind::ReadOnly,
       QStringLiteral("Il database '%1' è di sola lettura.")
           .arg(dir_.filePath(QStringLiteral("sola_lettura.mdb"))),
       "attempt to write a readonly database [SQL: delete from articolo]"},
      {"disk full",
       [&] {
         // The file may not grow: the rows fill its last page, then need one more.
         sqlite3_exec(db_->handle(), "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr);
         for (int i = 0; i < 100; ++i) {
           db_->Execute(QStringLiteral("insert into articolo values (?, ?)"),
                        {Variant("nuovo"), Variant(QString(200, QLatin1Char('y')))});
         }
       },
       DbErrorKind::DiskFull,
       QStringLiteral("Disco pieno: non c'è più spazio per scrivere nel database '%1'.").arg(path_),
       "database or disk is full"},
      {"a file that is no database",
       [&] {
         const QString text = MakeFile(QStringLiteral("testo.mdb"));
         QFile f(text);
         ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         f.write(QByteArray(4096, 'x'));
         f.close();
         Database::Open(text);
       },
       DbErrorKind::Damaged,
       QStringLiteral("Il file '%1' non è un database o è danneggiato.")
           .arg(dir_.filePath(QStringLiteral("testo.mdb"))),
       "file is not a database"},
      {"a damaged database",
       [&] {
         const QString copy = dir_.filePath(QStringLiteral("danneggiato.mdb"));
         BackupDatabase(path_, copy);
         QFile f(copy);
         ASSERT_TRUE(f.open(QIODevice::ReadWrite));
         Statement size = db_->PrepareNative(QStringLiteral("PRAGMA page_size"));
         ASSERT_TRUE(size.Step());
         const int page = int(size.Column(0).toLong());
         f.seek(page);  // the table's first page
         f.write(QByteArray(page, char(0xEE)));
         f.close();
         Database::Open(copy)->OpenRecordset(QStringLiteral("select * from articolo"));
       },
       DbErrorKind::Damaged,
       QStringLiteral("Il file '%1' non è un database o è danneggiato.")
           .arg(dir_.filePath(QStringLiteral("danneggiato.mdb"))),
       "malformed"},
      {"a missing file", [&] { Database::Open(dir_.filePath(QStringLiteral("nessuno.mdb"))); },
       DbErrorKind::Missing,
       QStringLiteral("Il file '%1' non esiste.").arg(dir_.filePath(QStringLiteral("nessuno.mdb"))),
       dir_.filePath(QStringLiteral("nessuno.mdb"))},
      {"a missing folder", [&] { Database::Open(dir_.filePath(QStringLiteral("manca/dati.mdb"))); },
       DbErrorKind::Missing,
       QStringLiteral("La cartella '%1' non esiste.").arg(dir_.filePath(QStringLiteral("manca"))),
       dir_.filePath(QStringLiteral("manca/dati.mdb"))},
      {"a backup copy into a missing folder",
       [&] { BackupDatabase(path_, dir_.filePath(QStringLiteral("copie/dati.mdb"))); },
       DbErrorKind::Missing,
       QStringLiteral("La cartella '%1' non esiste.").arg(dir_.filePath(QStringLiteral("copie"))),
       dir_.filePath(QStringLiteral("copie/dati.mdb"))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cause);
    try {
      c.fail();
      ADD_FAILURE() << "no error";
    } catch (const DbError& e) {
      EXPECT_EQ(e.kind(), c.kind);
      EXPECT_TRUE(e.message().startsWith(c.sentence + QStringLiteral(" Dettaglio tecnico: ")))
          << e.what();
      EXPECT_TRUE(e.message().contains(c.technical)) << e.what();
    }
  }
}

}  // namespace
}  // namespace vx::db
