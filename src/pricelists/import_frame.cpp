#include "pricelists/import_frame.h"

#include <QHash>
#include <cmath>

#include "common/shared_values.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/jet_types.h"
#include "platform/ui/msgbox.h"
#include "platform/workbook/workbook.h"

namespace vx::pricelists {

namespace {

constexpr int kMostRows = 1048576;
constexpr int kListedSkips = 20;
constexpr qint64 kShowEveryMs = 200;

QString ValueText(const Variant& v) {
  if (v.isEmpty() || v.isNull()) return QStringLiteral("cella vuota");
  return QLatin1Char('"') + v.str() + QLatin1Char('"');
}

}  // namespace

struct ImportFrame::Statements {
  QHash<QString, QHash<QString, db::JetType>> types;  // by table, then column
  std::optional<db::Statement> exists, groupFind, groupAdd, insert, update;
  QStringList insertNames, updateNames;
};

ImportFrame::Statements& ImportFrame::St() {
  if (!st_) st_ = std::make_unique<Statements>();
  return *st_;
}

int RowOfText(const QString& text) {
  const double v = Val(text);
  if (!std::isfinite(v) || v > kMostRows) return kMostRows;
  if (v < -kMostRows) return -kMostRows;
  return static_cast<int>(RoundHalfEven(v));
}

QString SkippedRowsMessage(const QStringList& skipped) {
  if (skipped.isEmpty()) return QString();
  QString m = QStringLiteral("Righe non importate:\n");
  m += skipped.mid(0, kListedSkips).join(QLatin1Char('\n'));
  if (skipped.size() > kListedSkips) {
    m += QStringLiteral("\n... e altre %1.").arg(skipped.size() - kListedSkips);
  }
  return m;
}

void ShowImportMessages(const ImportResult& result) {
  if (!result.failure.isEmpty()) {
    ui::MsgCritical(result.failure);
    return;
  }
  if (!result.skipped.isEmpty()) ui::MsgExclamation(SkippedRowsMessage(result.skipped));
  if (!result.printError.isEmpty()) ui::MsgCritical(result.printError);
}

ImportFrame::ImportFrame(SupplierFiles files, const ImportRequest& request)
    : files_(std::move(files)), request_(request) {
  workbookPath_ = files_.folder + request.numfatw;
  databasePath_ = files_.folder + QStringLiteral("dati.mdb");
  first_ = RowOfText(request.inizw);
  last_ = RowOfText(request.finew);
}

ImportFrame::~ImportFrame() = default;

bool ImportFrame::Open() {
  try {
    db_ = db::Database::OpenOnDrive(databasePath_);
  } catch (const db::DbError& e) {
    result_.failure = db::CannotOpenText(databasePath_, e);
    return false;
  }
  for (const char* table : {"articolo", "codean", "gruppi", "listini"}) {
    if (!db_->HasTable(QString::fromLatin1(table))) {
      result_.failure = QStringLiteral("Nell'archivio %1 manca la tabella %2.")
                            .arg(databasePath_, QString::fromLatin1(table));
      return false;
    }
  }
  try {
    book_ = workbook::Workbook::Open(workbookPath_);
    for (const QString& name : files_.sheetNames) {
      if (book_->HasSheet(name)) {
        sheet_ = &book_->SheetNamed(name);
        break;
      }
    }
  } catch (const workbook::WorkbookError& e) {
    result_.failure = QStringLiteral("Impossibile leggere il file Excel %1:\n%2.")
                          .arg(workbookPath_, e.message());
    return false;
  }
  if (!sheet_) {
    QStringList quoted;
    for (const QString& n : files_.sheetNames) quoted << QLatin1Char('"') + n + QLatin1Char('"');
    result_.failure = QStringLiteral("Nel file Excel %1 non c'è il foglio %2.")
                          .arg(workbookPath_, quoted.join(QStringLiteral(" o ")));
    return false;
  }
  return true;
}

ImportResult& ImportFrame::Run(ImportDisplay* display, const std::function<void()>& before,
                               const std::function<void(int)>& rowLogic,
                               const std::function<void()>& after) {
  display_ = display;
  sinceShown_.start();
  auto& g = common::G();
  const qint32 codrep = g.codrep;
  try {
    db::Transaction tx(*db_);
    if (before) before();
    for (int r = first_; r <= last_; ++r) {
      ++count_;
      result_.rowsRead = count_;
      g.codart = 0;
      Refresh(false);
      try {
        rowLogic(r);
      } catch (const RowSkipped&) {
      } catch (const ConversionError& e) {
        Note(r, 0, Variant(), e.message());
      }
    }
    if (after) after();
    tx.Commit();
    result_.completed = true;
  } catch (const db::DbError& e) {
    // The file named once: by the error's short form where it has one.
    const QString about = QStringLiteral("Errore nell'archivio ") + databasePath_;
    QString what = db::FileErrorText(about, e);
    if (what.isEmpty()) what = about + QStringLiteral(":\n") + e.message();
    result_.failure =
        what +
        QStringLiteral("\nL'importazione è stata annullata: l'archivio non è stato modificato.");
    result_.skipped.clear();
    result_.printed.clear();
    g.codrep = codrep;
  }
  Refresh(true);
  return result_;
}

void ImportFrame::Refresh(bool force) {
  if (!display_ || count_ == 0) return;
  if (!force && sinceShown_.elapsed() < kShowEveryMs) return;
  display_->ShowCount(count_);
  if (shown_) display_->ShowArticle(*shown_);
  sinceShown_.restart();
}

void ImportFrame::Show(const ArticleShown& article) { shown_ = article; }

Variant ImportFrame::Value(int row, int column) {
  Variant v = sheet_->Cell(row, column);
  if (v.isError()) Skip(row, column, v, QStringLiteral("valore di errore"));
  return v;
}

QString ImportFrame::Text(int row, int column) { return Value(row, column).str(); }

double ImportFrame::ValOf(int row, int column) {
  const Variant v = Value(row, column);
  // A whole number reads back as itself from its text; skip the round trip.
  if (v.isNumber()) {
    const double d = v.toDouble();
    if (std::fabs(d) < 1e15 && d == std::trunc(d)) return d;
  }
  return Val(v.str());
}

void ImportFrame::Note(int row, int column, const Variant& value, const QString& reason) {
  QString line = QStringLiteral("riga %1").arg(row);
  if (column > 0) line += QStringLiteral(", colonna %1: %2").arg(column).arg(ValueText(value));
  result_.skipped << line + QStringLiteral(" (") + reason + QLatin1Char(')');
}

void ImportFrame::Skip(int row, int column, const Variant& value, const QString& reason) {
  Note(row, column, value, reason);
  throw RowSkipped{};
}

qint32 ImportFrame::Code(int row, int column) {
  const Variant v = Value(row, column);
  try {
    return CLng(v.toDouble());
  } catch (const ConversionError&) {
    Skip(row, column, v, QStringLiteral("codice non valido"));
  }
}

qint16 ImportFrame::Pack(int row, int column) {
  const Variant v = Value(row, column);
  try {
    return CInt(Val(v.str()));
  } catch (const ConversionError&) {
    Skip(row, column, v, QStringLiteral("confezione oltre 32767"));
  }
}

QString ImportFrame::Ean(int row, int column) {
  const Variant v = Value(row, column);
  double number = 0;
  try {
    number = v.toDouble();
  } catch (const ConversionError&) {
    Skip(row, column, v, QStringLiteral("EAN non numerico"));
  }
  // A whole number of up to 13 digits, as the format gives it, without the format's cost.
  if (number >= 0 && number < 1e13 && number == std::floor(number)) {
    return QString::number(static_cast<qint64>(number)).rightJustified(13, QLatin1Char('0'));
  }
  return Format(Variant(number), QStringLiteral("0000000000000")).left(13);
}

QString ImportFrame::Vat(int row, int column) {
  const double v = ValOf(row, column);
  if (v >= 0 && v <= 99 && v == std::trunc(v)) {
    return QString::number(static_cast<int>(v)).rightJustified(2, QLatin1Char('0'));
  }
  return Format(Variant(v), QStringLiteral("00"));
}

Variant ImportFrame::Conform(const QString& table, const QString& column, const Variant& value,
                             int row, int sourceColumn) {
  QHash<QString, db::JetType>& columns = St().types[table];
  auto it = columns.find(column);
  if (it == columns.end()) {
    it = columns.insert(column, db::JetTypeFromDeclared(db_->ColumnType(table, column)));
  }
  try {
    return db::ConformForWrite(value, it.value(), column);
  } catch (const db::DbError&) {
  } catch (const ConversionError&) {
  }
  Skip(row, sourceColumn, value, QStringLiteral("valore non accettato dal campo %1").arg(column));
}

bool ImportFrame::ArticleExists(qint32 codart) {
  auto& st = St().exists;
  if (!st)
    st = db_->PrepareNative(QStringLiteral("select 1 from articolo where codart = ? limit 1"));
  st->Reset().Bind(1, Variant(codart));
  const bool found = st->Step();
  st->Reset();
  return found;
}

void ImportFrame::WriteArticle(int row, qint32 codart, bool add, const Fields& fields,
                               const std::vector<int>& sourceColumns) {
  std::vector<Variant> values;
  values.reserve(fields.size());
  for (size_t i = 0; i < fields.size(); ++i) {
    values.push_back(Conform(QStringLiteral("articolo"), fields[i].first, fields[i].second, row,
                             i < sourceColumns.size() ? sourceColumns[i] : 0));
  }
  QStringList names;
  names.reserve(static_cast<qsizetype>(fields.size()));
  for (const auto& f : fields) names << f.first;
  auto bracketed = [&] {
    QStringList b;
    for (const QString& n : names) b << QLatin1Char('[') + n + QLatin1Char(']');
    return b;
  };
  Statements& s = St();
  if (add) {
    if (!s.insert || s.insertNames != names) {
      QStringList marks(names.size() + 1, QStringLiteral("?"));
      s.insert = db_->PrepareNative(
          QStringLiteral("insert into articolo ([codart], %1) values (%2)")
              .arg(bracketed().join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
      s.insertNames = names;
    }
    db::Statement& st = *s.insert;
    st.Reset();
    st.Bind(1, Variant(codart));
    for (size_t i = 0; i < values.size(); ++i) st.Bind(static_cast<int>(i) + 2, values[i]);
    st.Run();
  } else {
    if (!s.update || s.updateNames != names) {
      s.update = db_->PrepareNative(
          QStringLiteral("update articolo set %1 where rowid = "
                         "(select rowid from articolo where codart = ? limit 1)")
              .arg(bracketed().join(QStringLiteral(" = ?, ")) + QStringLiteral(" = ?")));
      s.updateNames = names;
    }
    db::Statement& st = *s.update;
    st.Reset();
    for (size_t i = 0; i < values.size(); ++i) st.Bind(static_cast<int>(i) + 1, values[i]);
    st.Bind(static_cast<int>(values.size()) + 1, Variant(codart));
    st.Run();
  }
}

void ImportFrame::AddGroupIfMissing(int row, int column, qint32 code, const QString& description) {
  Statements& s = St();
  if (!s.groupFind) {
    s.groupFind =
        db_->PrepareNative(QStringLiteral("select 1 from gruppi where codice = ? limit 1"));
  }
  s.groupFind->Reset().Bind(1, Variant(code));
  const bool found = s.groupFind->Step();
  s.groupFind->Reset();
  if (found) return;
  const Variant text = Conform(QStringLiteral("gruppi"), QStringLiteral("descrizione"),
                               Variant(description), row, column);
  if (!s.groupAdd) {
    s.groupAdd = db_->PrepareNative(
        QStringLiteral("insert into gruppi ([codice], [descrizione]) values (?, ?)"));
  }
  s.groupAdd->Reset().Bind(1, Variant(code)).Bind(2, text);
  s.groupAdd->Run();
}

void ImportFrame::WriteNote(int row, int column, const Variant& note) {
  const Variant text =
      Conform(QStringLiteral("listini"), QStringLiteral("note"), note, row, column);
  const Variant end = Conform(QStringLiteral("listini"), QStringLiteral("datafine"),
                              Variant(QString()), row, column);
  auto st = db_->PrepareNative(
      QStringLiteral("update listini set [note] = ?, [datafine] = ? where rowid = "
                     "(select rowid from listini where codlis = '01' limit 1)"));
  st.Bind(1, text).Bind(2, end);
  st.Run();
}

Variant ImportFrame::CodeOfEan(const QString& ean) {
  auto st =
      db_->PrepareNative(QStringLiteral("select codare from codean where eanare = ? limit 1"));
  st.Bind(1, Variant(ean));
  Variant code;
  if (st.Step()) code = st.Column(0);
  st.Reset();
  return code;
}

void ImportFrame::AddEan(int row, const Variant& codare, const QString& ean) {
  const Variant code = Conform(QStringLiteral("codean"), QStringLiteral("codare"), codare, row, 0);
  const Variant text =
      Conform(QStringLiteral("codean"), QStringLiteral("eanare"), Variant(ean), row, 0);
  auto st =
      db_->PrepareNative(QStringLiteral("insert into codean ([codare], [eanare]) values (?, ?)"));
  st.Bind(1, code).Bind(2, text);
  st.Run();
}

void ImportFrame::DeleteAll(const QStringList& tables) {
  for (const QString& t : tables)
    db_->PrepareNative(QStringLiteral("delete from [%1]").arg(t)).Run();
}

}  // namespace vx::pricelists
