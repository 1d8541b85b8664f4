// The Corvalia price list: three fixed-column text files (type B: articles with their
// price, type T: barcodes, type A: VAT code, unit and pack) that rebuild the supplier's
// catalogue tables `articolo` and `codean` from nothing.
//
// The files are found, read and checked, and the catalogue opened, before anything is
// touched: a file that is no regular file of a sane size, no whole Windows-1252 text, or that
// holds no line its pass would use, stops the run. The emptying and the three passes then run in
// the caller's one transaction, so that a failure leaves the catalogue as it was. Each pass reports
// on the sink: its opening line, the bar (one step per line read, short lines included), the count
// of lines it could not use and its closing line.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>
#include <vector>

#include "common/progress.h"

namespace vx::db {
class Database;
}

namespace vx::pricelists {

// A failure found before anything was touched, with the Italian text that names the file,
// the path or the table concerned.
class CorvaliaError : public std::runtime_error {
 public:
  explicit CorvaliaError(const QString& message) : std::runtime_error(message.toStdString()) {}
  QString message() const { return QString::fromStdString(what()); }
};

// One text file as read.
struct CorvaliaFile {
  QString path;  // the Windows path it was read from
  QString name;  // its file name, for messages
  QStringList lines;
  bool ended = true;  // false when the last line has no line end: the file may be cut short
};

// A line that a pass could not use: its code (or the type B price) is no number, or it is
// the last line, without its line end and shorter than the file's records.
struct DamagedLine {
  QString file;  // file name
  int line = 0;  // from 1
  bool incomplete = false;
};

struct PassOutcome {
  int added = 0;            // rows added
  int edited = 0;           // rows changed
  int damaged = 0;          // lines whose code or price is no number
  bool incomplete = false;  // the last line was cut short
  QString lastKey;          // type T: the last barcode key looked up ("" when none)
  qint32 lastCode = 0;      // type A: the last article code read (0 when none)
};

// The first name, sorted without regard to case, that matches the pattern ("B*.txt") in
// the folder; "" when none does.
QString FirstMatchingFile(const QString& folder, const QString& pattern);

// Reads the file whole (Windows-1252; CR LF, CR or LF; a DOS end mark ends the text when only
// blanks and line ends follow it); CorvaliaError naming the file with the reason when it is no
// regular file of a price list's size or can't be read, when it is no Windows-1252 text (a NUL
// byte, a UTF-16 byte-order mark), and when a DOS end mark inside it is followed by more text.
CorvaliaFile ReadCorvaliaFile(const QString& path);

// The catalogue database with its tables `articolo` and `codean`, opened by the data-drive
// rule (a path that leads out of the data root, through a link too, is neither read nor
// written); CorvaliaError naming the path or the missing table.
std::shared_ptr<db::Database> OpenCorvaliaCatalogue(const QString& path);

// The 13-character key of a type T barcode: a number (blanks around allowed) formatted
// with 13 digits and leading zeros, any other text as it is; then cut or padded with
// blanks to 13 characters.
QString CorvaliaEanKey(const QString& barcode);

// The four steps, in this order. Database failures are thrown as db::DbError: the
// caller's transaction then rolls back.
void EmptyCorvaliaCatalogue(db::Database& target, common::ProgressSink& sink);
// `supplier` is the picked supplier's description: its first 35 characters (padded with
// blanks) go to `desfor`.
PassOutcome ImportCorvaliaTypeB(db::Database& target, const CorvaliaFile& file,
                                const QString& supplier, common::ProgressSink& sink,
                                std::vector<DamagedLine>& damaged);
PassOutcome ImportCorvaliaTypeT(db::Database& target, const CorvaliaFile& file,
                                common::ProgressSink& sink, std::vector<DamagedLine>& damaged);
PassOutcome ImportCorvaliaTypeA(db::Database& target, const CorvaliaFile& file,
                                common::ProgressSink& sink, std::vector<DamagedLine>& damaged);

struct CorvaliaFiles {
  CorvaliaFile a, b, t;
};

// CorvaliaError naming the first file (B, T, then A) that holds no line its pass would use:
// its emptying would leave the catalogue without what the file should put back.
void CheckCorvaliaFiles(const CorvaliaFiles& files);

struct CorvaliaOutcome {
  PassOutcome b, t, a;
  std::vector<DamagedLine> damaged;
};

// CheckCorvaliaFiles, then the four steps in one transaction on the target; db::DbError
// after rolling back.
CorvaliaOutcome ImportCorvalia(db::Database& target, const CorvaliaFiles& files,
                               const QString& supplier, common::ProgressSink& sink);

}  // namespace vx::pricelists
