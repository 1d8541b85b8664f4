// The frame every Excel price-list import shares: the supplier's workbook and catalogue
// database opened before anything is written, the row loop with its count, the cell
// conversions, the article, group, EAN and note writes, and the report of skipped rows.
//
// An import runs in one transaction: a database failure rolls it back whole. A cell that
// does not convert skips its row (the supplier's logic calls Skip, or a conversion does);
// the skipped rows are listed after the last row.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/variant.h"

namespace vx::db {
class Database;
}
namespace vx::workbook {
class Workbook;
class Sheet;
}  // namespace vx::workbook

namespace vx::pricelists {

// What the window hands an import: the texts of its boxes, read once at the start.
struct ImportRequest {
  QString numfatw;       // the workbook's name in the supplier's folder
  QString inizw;         // first sheet row
  QString finew;         // last sheet row
  bool fstampa = false;  // print the new article codes
  QString printerName;   // the text of the printer combo
};

// The article being written, as the window's boxes show it.
struct ArticleShown {
  QString ean, description, price, iva, imballo;
};

// The window's count and article boxes; an import without a window passes none.
class ImportDisplay {
 public:
  virtual ~ImportDisplay() = default;
  virtual void ShowCount(int count) = 0;
  virtual void ShowArticle(const ArticleShown& article) = 0;
};

struct ImportResult {
  bool completed = false;  // committed
  QString failure;         // why nothing was changed (a critical message)
  QStringList skipped;     // "riga r, colonna c: ..." in row order
  QStringList printed;     // the lines printed for new codes
  QString printError;      // a failed printout, after a committed import
  int rowsRead = 0;
};

// The messages after an import: the failure (critical), else the skipped rows (the first
// 20, then how many more) and a print failure. Nothing when all went well.
void ShowImportMessages(const ImportResult& result);
// The text of the skipped-rows message; "" when none was skipped.
QString SkippedRowsMessage(const QStringList& skipped);

// A supplier's fixed files: its folder on drive C and the names its sheet may have.
struct SupplierFiles {
  QString folder;          // "C:\varu\"
  QStringList sheetNames;  // the first one present is read
};

// Thrown by a conversion or Skip to leave the row; the loop lists it and goes on.
struct RowSkipped {};

// The name-value pairs of an article write, in the order they are written.
using Fields = std::vector<std::pair<QString, Variant>>;

class ImportFrame {
 public:
  ImportFrame(SupplierFiles files, const ImportRequest& request);
  ~ImportFrame();

  // Opens the database (with its four tables), the workbook and the sheet; false, with
  // result().failure set, when one can't be opened.
  bool Open();
  // Runs `before` and then rowLogic(r) for each row from the first to the last, in one
  // transaction, showing the count on display. Returns the result; the failure of a
  // database write rolls everything back.
  ImportResult& Run(ImportDisplay* display, const std::function<void()>& before,
                    const std::function<void(int)>& rowLogic);

  ImportResult& result() { return result_; }
  const QString& workbookPath() const { return workbookPath_; }
  const QString& databasePath() const { return databasePath_; }
  db::Database& database() { return *db_; }
  int firstRow() const { return first_; }
  int lastRow() const { return last_; }

  // The cell's value; an error value skips the row.
  Variant Value(int row, int column);
  // The cell's text (Variant::str()); an error value skips the row.
  QString Text(int row, int column);
  // Val of the cell's text.
  double ValOf(int row, int column);
  // Lists the row as skipped for the cell and leaves it (throws RowSkipped).
  [[noreturn]] void Skip(int row, int column, const Variant& value, const QString& reason);
  // Lists the row's cell without leaving the row (a part of the row is left out).
  void Note(int row, int column, const Variant& value, const QString& reason);

  // The conversions of the frame (each skips the row when the value does not convert):
  // the article code as a 32-bit whole number; the pack as Val of the text, 16-bit; the
  // EAN as the number formatted "0000000000000" (its first 13 characters); the VAT as Val
  // of the text formatted "00".
  qint32 Code(int row, int column);
  qint16 Pack(int row, int column);
  QString Ean(int row, int column);
  QString Vat(int row, int column);

  // Catalogue writes. Values are fitted to their columns before anything is written; a
  // value a column refuses skips the row (row and column name the cell it came from).
  bool ArticleExists(qint32 codart);
  // Adds the article (codart first) or edits the first row with the code.
  void WriteArticle(int row, qint32 codart, bool add, const Fields& fields,
                    const std::vector<int>& sourceColumns);
  // Adds the group when no row has its code.
  void AddGroupIfMissing(int row, int column, qint32 code, const QString& description);
  // The `listini` "01" row's note; nothing when the row is missing.
  void WriteNote(int row, int column, const Variant& note);
  // The code of an EAN's `codean` row (Empty when none), and a new `codean` row.
  Variant CodeOfEan(const QString& ean);
  void AddEan(int row, const Variant& codare, const QString& ean);
  // Deletes every row of the tables, in order.
  void DeleteAll(const QStringList& tables);

  // The article on the display (shown a few times a second and after the last row).
  void Show(const ArticleShown& article);
  // A line to print for a new code, printed after the import is committed.
  void PrintLater(const QString& line) { result_.printed << line; }

 private:
  Variant Conform(const QString& table, const QString& column, const Variant& value, int row,
                  int sourceColumn);
  void Refresh(bool force);
  // The statements the row loop runs, prepared once.
  struct Statements;
  Statements& St();

  SupplierFiles files_;
  ImportRequest request_;
  QString workbookPath_, databasePath_;
  int first_ = 0, last_ = 0;
  std::shared_ptr<db::Database> db_;
  std::unique_ptr<workbook::Workbook> book_;
  const workbook::Sheet* sheet_ = nullptr;
  ImportResult result_;
  ImportDisplay* display_ = nullptr;
  std::optional<ArticleShown> shown_;
  int count_ = 0;
  QElapsedTimer sinceShown_;
  std::unique_ptr<Statements> st_;
};

// The frame's first and last rows: Val of the boxes (the last limited to the most rows a
// sheet can have).
int RowOfText(const QString& text);

}  // namespace vx::pricelists
