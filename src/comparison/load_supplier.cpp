#include "comparison/load_supplier.h"

#include <QDate>
#include <QElapsedTimer>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "common/cost_conversion.h"
#include "comparison/loader_values.h"
#include "comparison/written_orders.h"
#include "comparison/yield_batch.h"
#include "data/comparison_load.h"
#include "platform/clock.h"
#include "platform/conv.h"
#include "platform/db/database.h"

namespace vx::comparison {

namespace {

// A failure with the text of its status line (after "ERRORE: "); empty when already told.
struct LoadFailure {
  QString message;
};

struct Article {
  Variant desart, umart, imbart, ivart, tipart, przart, przoff, data1, data2;
};

// A supplier's catalogue: its database and the two lookups the load makes in it.
struct Catalogue {
  std::shared_ptr<db::Database> db;
  db::Statement article;  // by codart
  db::Statement ean;      // codean row by eanare
};

struct SupplierRow {
  QString descr;
  QString percorso;
  Variant perce;
};

// What one supplier J contributes to the article in hand.
struct Take {
  bool taken = false;
  bool converted = false;  // the cost goes through the factor and action
  double price = 0;
  double percentage = 0;
  double factor = 1;
  QString action = QStringLiteral("M");
  bool offer = false;
};

const QString kSelectArticle = QStringLiteral(
    "select desart, umart, imbart, ivart, tipart, przart, przoff, data1, data2 "
    "from articolo where codart = ?");
const QString kSelectEan = QStringLiteral("select codare from codean where eanare = ?");
const QString kSelectEligible = QStringLiteral(
    "select codare, eanare from codean where eanare not like '000000*' and "
    "eanare not like '000002*' ");
const QString kSelectSupplier =
    QStringLiteral("select descr, percorso, perce from fornitori where codice = ?");
const QString kSelectConversion = QStringLiteral(
    "select eanalternativo, eanalternativo2, eanalternativo3, eanalternativo4, "
    "fatconv, fatconv2, fatconv3, fatconv4, azione, azione2, azione3, azione4 "
    "from eanconv where ean = ? and codfor = ?");
const QString kSelectOwnConversion = QStringLiteral(
    "select fatconv, azione, eanalternativo from eanconv where ean = ? and codfor = ?");
const QString kSelectRow =
    QStringLiteral("select rowid, costo1, costo2, costo3, costo4 from articoli where vedovo = ?");

// The key "codart = " & code compares as a number: a code text is read as one, and a code
// that is no number names no article.
std::optional<Variant> ArticleKey(const Variant& code) {
  if (code.isNumber()) return code;
  if (!code.isText()) return std::nullopt;
  const QString t = code.str().trimmed();
  bool ok = false;
  if (const qlonglong n = t.toLongLong(&ok); ok) return Variant(n);
  if (const double d = t.toDouble(&ok); ok) return Variant(d);
  return std::nullopt;
}

std::optional<Article> FindArticle(db::Statement& st, const Variant& code) {
  const auto key = ArticleKey(code);
  if (!key) return std::nullopt;
  st.Reset();
  st.Bind(1, *key);
  std::optional<Article> a;
  if (st.Step()) {
    a = Article{st.Column(0), st.Column(1), st.Column(2), st.Column(3), st.Column(4),
                st.Column(5), st.Column(6), st.Column(7), st.Column(8)};
  }
  st.Reset();
  return a;
}

double DayOf(const Variant& v) { return std::floor(v.toDayNumber()); }

// The VAT rate as Format(rate, "00") writes it. A text of one or two digits, what catalogues
// hold, is padded here: the general formatter costs more than the rest of a new row's values.
QString TwoDigitRate(const Variant& rate) {
  if (rate.isText()) {
    const QString t = rate.str();
    const auto digit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    if (t.size() == 2 && digit(t[0]) && digit(t[1])) return t;
    if (t.size() == 1 && digit(t[0])) return QLatin1Char('0') + t;
  }
  return Format(rate, QStringLiteral("00"));
}

// Today's day number, read afresh at most once a second (reading the clock costs more
// than the rest of an article's price rule).
class TodayCache {
 public:
  double operator()() {
    if (!timer_.isValid() || timer_.elapsed() >= 1000) {
      day_ = QDate(1899, 12, 30).daysTo(Today());
      timer_.start();
    }
    return day_;
  }

 private:
  QElapsedTimer timer_;
  double day_ = 0;
};

// The price rule: the offer price inside its period (both days included), else the list
// price. A Null or unreadable offer price or day means no offer.
void TakePrice(const Article& a, double today, Take& t) {
  t.price = NumberIn(a.przart).value_or(0);
  t.offer = false;
  if (a.przoff.isNull() || a.data1.isNull() || a.data2.isNull()) return;
  const auto offer = NumberIn(a.przoff);
  if (!offer || *offer == 0) return;
  try {
    if (DayOf(a.data1) <= today && today <= DayOf(a.data2)) {
      t.price = *offer;
      t.offer = true;
    }
  } catch (const ConversionError&) {
    // A day that is no date: no offer.
  }
}

class Loader {
 public:
  Loader(db::Database& main, const SlotLoad& req, common::ProgressSink& sink)
      : main_(main), req_(req), sink_(sink) {}

  LoadOutcome Run();

 private:
  std::optional<SupplierRow> Supplier(int code);
  Catalogue& CatalogueAt(const QString& percorso);
  Catalogue* AlternativeCatalogue(const SupplierRow& supplier);
  bool Convert(const QString& ean, std::array<Take, 5>& takes);
  QString ConvertOwn(const QString& ean, Take& t);
  Catalogue& OwnCatalogue(const SupplierRow& supplier,
                          std::vector<std::pair<Variant, Variant>>& eans);
  void TakeAlternative(int j, const QString& altEan, Take& t);
  void Write(const QString& ean, const Article& own, const std::array<Take, 5>& takes);
  void ResolveColumns();

  db::Database& main_;
  const SlotLoad& req_;
  common::ProgressSink& sink_;
  LoadOutcome out_;
  std::map<QString, Catalogue> catalogues_;
  std::set<QString> unreadable_;          // alternative suppliers' files that could not be opened
  std::map<int, db::Statement> writeSt_;  // by shape, see Write
  YieldBatch* batch_ = nullptr;
  TodayCache today_;
  db::Statement supplierSt_, conversionSt_, rowSt_;
  int supplierCode_ = 0;
  std::array<ColumnFit, 5> costKind_{};
  ColumnFit desartKind_, umartKind_, ivartKind_, tipoartKind_, promoKind_;
};

std::optional<SupplierRow> Loader::Supplier(int code) {
  supplierSt_.Reset();
  supplierSt_.Bind(1, Variant(code));
  std::optional<SupplierRow> row;
  if (supplierSt_.Step()) {
    row = SupplierRow{supplierSt_.Column(0).str(), supplierSt_.Column(1).str(),
                      supplierSt_.Column(2)};
  }
  supplierSt_.Reset();
  return row;
}

Catalogue& Loader::CatalogueAt(const QString& percorso) {
  auto it = catalogues_.find(percorso);
  if (it != catalogues_.end()) return it->second;
  Catalogue c;
  c.db = db::Database::OpenOnDrive(percorso);
  c.article = c.db->Prepare(kSelectArticle);
  c.ean = c.db->Prepare(kSelectEan);
  if (batch_) batch_->AddReader(c.db);
  return catalogues_.emplace(percorso, std::move(c)).first->second;
}

// An alternative supplier's catalogue, or null when its file cannot be opened (or holds no
// catalogue): that is told once per load, and the supplier's alternatives then resolve to
// nothing.
Catalogue* Loader::AlternativeCatalogue(const SupplierRow& supplier) {
  const QString& percorso = supplier.percorso;
  if (unreadable_.count(percorso)) return nullptr;
  try {
    return &CatalogueAt(percorso);
  } catch (const db::DbError& e) {
    unreadable_.insert(percorso);
    const QString why = db::CannotOpenText(percorso, e);
    sink_.Fault({percorso, why, supplier.descr, req_.slot, false},
                QStringLiteral("ERRORE: ") + why);
    return nullptr;
  }
}

void Loader::ResolveColumns() {
  for (int j = 1; j <= 4; ++j)
    costKind_[j] = FitOf(main_, "articoli", QStringLiteral("costo%1").arg(j));
  desartKind_ = FitOf(main_, "articoli", "desart");
  umartKind_ = FitOf(main_, "articoli", "umart");
  ivartKind_ = FitOf(main_, "articoli", "ivart");
  tipoartKind_ = FitOf(main_, "articoli", "tipoart");
  promoKind_ = FitOf(main_, "articoli", "promo1");
}

// Step 8: the conversion row of the EAN and slot; true when it named any alternative EAN.
bool Loader::Convert(const QString& ean, std::array<Take, 5>& takes) {
  conversionSt_.Reset();
  conversionSt_.Bind(1, ean).Bind(2, req_.slot);
  if (!conversionSt_.Step()) {
    conversionSt_.Reset();
    return false;
  }
  std::array<Variant, 12> c;
  for (int i = 0; i < 12; ++i) c[i] = conversionSt_.Column(i);
  conversionSt_.Reset();

  bool any = false;
  for (int j = 1; j <= 4; ++j) {
    const Variant& alt = c[j - 1];
    if (alt.isNull() || alt.str().trimmed().isEmpty()) continue;
    Take& t = takes[j];
    t.taken = true;
    t.converted = true;
    t.factor = NumberIn(c[4 + j - 1]).value_or(0);
    t.action = c[8 + j - 1].str();
    if (j == 1) out_.lastAction = t.action;
    TakeAlternative(j, Ean13(alt), t);
    any = true;
  }
  return any;
}

// The own-slot model: the first conversion row of the EAN and slot converts the slot's own
// price (an empty factor leaves it as it is); a non-blank alternative EAN takes the price.
// Returns the EAN the price is filed under.
QString Loader::ConvertOwn(const QString& ean, Take& t) {
  conversionSt_.Reset();
  conversionSt_.Bind(1, ean).Bind(2, req_.slot);
  if (!conversionSt_.Step()) {
    conversionSt_.Reset();
    return ean;
  }
  const Variant factor = conversionSt_.Column(0);
  const Variant action = conversionSt_.Column(1);
  const Variant alt = conversionSt_.Column(2);
  conversionSt_.Reset();
  t.action = action.isNull() ? QString() : action.str().left(1);
  out_.lastAction = t.action;
  if (const auto f = NumberIn(factor)) {
    t.converted = true;
    t.factor = *f;
  }
  if (!alt.isNull() && !alt.str().trimmed().isEmpty()) return Ean13(alt);
  return ean;
}

// The supplier's own catalogue and its eligible EANs (fixed when the load starts); a
// catalogue that cannot be read fails the load, told as the fault of its file.
Catalogue& Loader::OwnCatalogue(const SupplierRow& supplier,
                                std::vector<std::pair<Variant, Variant>>& eans) {
  const QString& percorso = supplier.percorso;
  const QString notLoadable =
      QStringLiteral("Impossibile caricare il fornitore con codice %1. ").arg(req_.supplierCode);
  if (percorso.trimmed().isEmpty()) {
    throw LoadFailure{notLoadable + QStringLiteral("Percorso del database non indicato.")};
  }
  try {
    Catalogue& own = CatalogueAt(percorso);
    db::Statement st = own.db->Prepare(kSelectEligible);
    while (st.Step()) eans.emplace_back(st.Column(0), st.Column(1));
    st.Reset();
    return own;
  } catch (const db::DbError& e) {
    const QString why = db::CannotOpenText(percorso, e);
    sink_.Fault({percorso, why, supplier.descr, req_.slot, true},
                QStringLiteral("ERRORE: ") + notLoadable + why);
    throw LoadFailure{QString()};
  }
}

// Supplier J's price of the article listed under the alternative EAN; price 0 when the
// supplier, its database, the EAN or the article is not there.
void Loader::TakeAlternative(int j, const QString& altEan, Take& t) {
  const auto supplier = Supplier(j);
  if (!supplier) return;
  t.percentage = NumberIn(supplier->perce).value_or(0);
  Catalogue* cat = AlternativeCatalogue(*supplier);
  if (!cat) return;
  cat->ean.Reset();
  cat->ean.Bind(1, altEan);
  if (!cat->ean.Step()) {
    cat->ean.Reset();
    return;
  }
  const Variant code = cat->ean.Column(0);
  cat->ean.Reset();
  if (const auto a = FindArticle(cat->article, code)) TakePrice(*a, today_(), t);
}

// Steps 11 to 15: the comparison row of the EAN, added or edited.
void Loader::Write(const QString& ean, const Article& own, const std::array<Take, 5>& takes) {
  static const auto kNames = [] {
    std::array<std::array<QString, 5>, 3> n;
    for (int j = 1; j <= 4; ++j) {
      n[0][j] = QStringLiteral("forn%1").arg(j);
      n[1][j] = QStringLiteral("costo%1").arg(j);
      n[2][j] = QStringLiteral("promo%1").arg(j);
    }
    return n;
  }();
  static const QString kVedovo = QStringLiteral("vedovo"), kDesart = QStringLiteral("desart"),
                       kUmart = QStringLiteral("umart"), kImballo = QStringLiteral("imballo"),
                       kIvart = QStringLiteral("ivart"), kTipoart = QStringLiteral("tipoart");
  rowSt_.Reset();
  rowSt_.Bind(1, ean);
  std::optional<Variant> rowid;
  std::array<Variant, 5> oldCosts;
  if (rowSt_.Step()) {
    rowid = rowSt_.Column(0);
    for (int j = 1; j <= 4; ++j) oldCosts[j] = rowSt_.Column(j);
  }
  rowSt_.Reset();

  // The statement's shape (which columns it sets) keys its prepared statement.
  int shape = rowid ? 0 : 1;
  std::array<const QString*, 20> columns;  // at most 18: a new row priced by every slot
  int count = 0;
  std::array<Variant, 21> values;
  auto set = [&](const QString& column, Variant v) {
    columns[count] = &column;
    values[count++] = std::move(v);
  };
  if (!rowid) {
    set(kVedovo, ean);
    set(kDesart, Fit(desartKind_, own.desart));
    set(kUmart, Fit(umartKind_, own.umart));
    set(kImballo, own.imbart);
    // Formatting Null gives Null, not an empty text.
    set(kIvart, own.ivart.isNull() ? own.ivart : Fit(ivartKind_, Variant(TwoDigitRate(own.ivart))));
  }
  if (req_.writeOfferAndType) {
    set(kTipoart, req_.byType ? Fit(tipoartKind_, own.tipart) : Variant("1"));
  }
  const common::ZeroFactor zero = req_.conversion == ConversionModel::OwnSlot
                                      ? common::ZeroFactor::MultiplyToZero
                                      : common::ZeroFactor::KeepCost;
  for (int j = 1; j <= 4; ++j) {
    const Take& t = takes[j];
    if (t.taken) {
      double cost = CostOf(t.price, t.percentage);
      if (t.converted) cost = common::ConvertCost(cost, t.factor, t.action, zero);
      set(kNames[0][j], req_.supplierColumn == SupplierColumn::SupplierCode ? supplierCode_ : j);
      set(kNames[1][j], Fit(costKind_[j], cost));
      if (req_.writeOfferAndType) {
        set(kNames[2][j],
            Fit(promoKind_, Variant(t.offer ? QStringLiteral("P") : QStringLiteral(" "))));
      }
      shape |= 1 << (1 + j);
    } else if (rowid && oldCosts[j].isText() && oldCosts[j].str().isEmpty()) {
      set(kNames[1][j], 0);
      shape |= 1 << (5 + j);
    }
  }
  if (rowid && req_.useDescription) {
    set(kDesart, Fit(desartKind_, own.desart));
    shape |= 1 << 10;
  }

  auto it = writeSt_.find(shape);
  if (it == writeSt_.end()) {
    QStringList names;
    for (int i = 0; i < count; ++i) names << *columns[i];
    QString sql;
    if (rowid) {
      sql = QStringLiteral("update articoli set ") + names.join(QStringLiteral(" = ?, ")) +
            QStringLiteral(" = ? where rowid = ?");
    } else {
      sql = QStringLiteral("insert into articoli (") + names.join(QStringLiteral(", ")) +
            QStringLiteral(") values (") +
            QStringList(count, QStringLiteral("?")).join(QStringLiteral(", ")) +
            QStringLiteral(")");
    }
    it = writeSt_.emplace(shape, main_.Prepare(sql)).first;
  }
  if (rowid) values[count++] = *rowid;
  db::Statement& st = it->second;
  for (int i = 0; i < count; ++i) st.Bind(i + 1, values[i]);
  st.Run();
  ++out_.written;
}

LoadOutcome Loader::Run() {
  const LoadFailure notLoadable{
      QStringLiteral("Impossibile caricare il fornitore con codice %1.").arg(req_.supplierCode)};
  try {
    if (req_.slot < 1 || req_.slot > 4) {
      throw LoadFailure{QStringLiteral("Fornitore %1# inesistente.").arg(req_.slot)};
    }
    supplierSt_ = main_.Prepare(kSelectSupplier);
    const double code = Val(req_.supplierCode);
    std::optional<SupplierRow> supplier;
    if (code == std::floor(code) && std::abs(code) < 2147483647.0) {
      supplierCode_ = static_cast<int>(code);
      supplier = Supplier(supplierCode_);
    }
    if (!supplier) throw notLoadable;
    sink_.Status(QStringLiteral("Inizio caricamento dati del fornitore %1.").arg(supplier->descr));

    std::vector<std::pair<Variant, Variant>> eans;
    Catalogue& own = OwnCatalogue(*supplier, eans);
    if (eans.empty()) throw notLoadable;
    out_.eligible = static_cast<int>(eans.size());
    sink_.Status(QStringLiteral("Per questo fornitore ci sono %1 articoli da elaborare ...")
                     .arg(out_.eligible));
    sink_.Begin(out_.eligible);

    ResolveColumns();
    conversionSt_ = main_.Prepare(req_.conversion == ConversionModel::OwnSlot ? kSelectOwnConversion
                                                                              : kSelectConversion);
    rowSt_ = main_.Prepare(kSelectRow);

    // From the first row written until the differences pass ends, the table is partial;
    // the orders written from the packages it held no longer apply.
    data::MarkLoadBegun(main_);
    if (req_.conversion == ConversionModel::OwnSlot) {
      ForgetWrittenOrders(main_, {1, 2, 3});  // the three-supplier pass leaves slot 4's packages
    } else {
      ForgetWrittenOrders(main_);
    }

    YieldBatch batch(main_, sink_);
    batch_ = &batch;
    for (const auto& entry : catalogues_) batch.AddReader(entry.second.db);
    try {
      for (const auto& [codare, eanare] : eans) {
        const auto article = FindArticle(own.article, codare);
        if (!article) {
          batch.RowDone();
          continue;
        }
        std::array<Take, 5> takes;
        out_.lastAction = QStringLiteral("M");
        QString ean = Ean13(eanare);
        if (req_.conversion == ConversionModel::OwnSlot) {
          Take& t = takes[req_.slot];
          t.taken = true;
          t.percentage = req_.percentage;
          TakePrice(*article, today_(), t);
          if (req_.applyConversion) ean = ConvertOwn(ean, t);
        } else if (!(req_.applyConversion && Convert(ean, takes))) {
          Take& t = takes[req_.slot];
          t.taken = true;
          t.percentage = req_.percentage;
          TakePrice(*article, today_(), t);
        }
        out_.lastEan = ean;
        Write(ean, *article, takes);
        sink_.Step();
        batch.RowDone();
      }
      batch.Finish();
      batch_ = nullptr;
    } catch (...) {
      batch_ = nullptr;
      // Every row is written by one statement: what is done so far is whole, keep it.
      try {
        batch.Finish();
      } catch (...) {
      }
      throw;
    }
    out_.completed = true;
    sink_.Status(QStringLiteral("Fine caricamento dati del fornitore."));
  } catch (const LoadFailure& f) {
    if (!f.message.isEmpty()) sink_.Status(QStringLiteral("ERRORE: ") + f.message);
  } catch (const db::DbError& e) {
    sink_.Status(QStringLiteral("ERRORE: caricamento del fornitore con codice %1 interrotto: %2")
                     .arg(req_.supplierCode, e.message()));
  } catch (const std::exception& e) {
    sink_.Status(QStringLiteral("ERRORE: caricamento del fornitore con codice %1 interrotto: %2")
                     .arg(req_.supplierCode, QString::fromUtf8(e.what())));
  }
  sink_.End();
  sink_.Yield();
  return out_;
}

}  // namespace

LoadOutcome LoadSupplier(db::Database& main, const SlotLoad& request, common::ProgressSink& sink) {
  return Loader(main, request, sink).Run();
}

}  // namespace vx::comparison
