#include "comparison/orders.h"

#include <QDate>
#include <QStringList>
#include <algorithm>
#include <exception>

#include "common/cost_conversion.h"
#include "comparison/order_values.h"
#include "comparison/written_orders.h"
#include "platform/clock.h"
#include "platform/conv.h"
#include "platform/paths.h"

namespace vx::comparison {

namespace {

QString Digit(int slot) { return QString::number(slot); }

// The conversion columns of slot N in `eanconv`: no digit for slot 1, the digit otherwise.
QString SlotSuffix(int slot) { return slot == 1 ? QString() : Digit(slot); }

// Every row of the comparison table with packages for the slot, whatever the grid shows,
// by type and then by the order of the terminal readings; an empty type or sequence sorts
// first. The columns are those the grid query names Ean, Imb, Iva, CostoN, ColliN, tipoart.
std::vector<ArticleRow> ReadArticleRows(db::Database& main, int slot) {
  auto st = main.Prepare(QStringLiteral("select [vedovo], [imballo], [ivart], [costo%1], "
                                        "[colli%1], [tipoart] from articoli where colli%1 > 0 "
                                        "and not isnull(colli%1) ORDER by tipoart,sequenza")
                             .arg(slot));
  std::vector<ArticleRow> rows;
  while (st.Step()) {
    rows.push_back({st.Column(0), st.Column(1), st.Column(2), st.Column(3), st.Column(4),
                    st.Column(5), Variant(), Variant()});
  }
  st.Reset();
  return rows;
}

// The store as the supplier's customer: `clienti` row 1, else the store itself.
struct Customer {
  qint64 number = 1;
  QString name;
  QString priceList = QStringLiteral("01");
};

Customer ReadCustomer(db::Database& sup, const QString& storeName) {
  Customer c;
  c.name = storeName;
  auto st = sup.Prepare(
      QStringLiteral("select codcliente, dsccliente, listino from clienti where codcliente = 1"));
  if (st.Step()) {
    c.number = WholeOf(st.Column(0));
    c.name = TextOf(st.Column(1)).left(35);
    c.priceList = TextOf(st.Column(2));
  }
  st.Reset();
  return c;
}

// The header of order `numero`: the existing one is rewritten, else one is added.
void WriteHeader(db::Database& sup, qint16 year, const QDate& date, const Customer& c,
                 qint32 numero) {
  auto update = sup.Prepare(QStringLiteral(
      "update testa set anno = ?, numero = ?, dataor = ?, cliente = ?, dsccliente = ?, "
      "codsede = ?, dscsede = ?, codlis = ?, fl3ts = ? where anno = ? and numero = ?"));
  auto bindNine = [&](db::Statement& st) {
    st.Bind(1, Variant(int(year)))
        .Bind(2, Variant(numero))
        .Bind(3, Variant(date))
        .Bind(4, Variant(c.number))
        .Bind(5, Variant(c.name))
        .Bind(6, Variant(0))
        .Bind(7, Variant(QStringLiteral("")))
        .Bind(8, Variant(c.priceList))
        .Bind(9, Variant("I"));
  };
  bindNine(update);
  update.Bind(10, Variant(int(year))).Bind(11, Variant(numero));
  if (update.Run() > 0) return;
  auto insert = sup.Prepare(QStringLiteral(
      "insert into testa (anno, numero, dataor, cliente, dsccliente, codsede, dscsede, "
      "codlis, fl3ts) values (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
  bindNine(insert);
  insert.Run();
}

// Writes the lines of one slot; the prepared statements are made once per order.
class LineWriter : public OrderLineWriter {
 public:
  LineWriter(db::Database& main, db::Database& sup, int slot)
      : conv_(main.Prepare(QStringLiteral("select [eanalternativo%1], [fatconv%1], [azione%1] "
                                          "from eanconv where ean = ? ORDER BY codfor")
                               .arg(SlotSuffix(slot)))),
        codean_(sup.Prepare(QStringLiteral("select codare from codean where eanare = ?"))),
        articolo_(sup.Prepare(QStringLiteral("select desart from articolo where codart = ?"))),
        insertFull_(sup),
        insertBare_(sup.Prepare(QStringLiteral(
            "insert into movimenti (bannoc, bnumer, bns, unitaM, imballo, quantita, iva, "
            "eanrig, colli, desfor, desgru) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"))),
        readPrice_(sup.Prepare(QStringLiteral(
            "select prezzo from movimenti where bannoc = ? and bnumer = ? and bns = ?"))),
        writeTotal_(sup.Prepare(QStringLiteral(
            "update movimenti set totrig = ? where bannoc = ? and bnumer = ? and bns = ?"))),
        quantita_(
            ColumnKindOf(sup.ColumnType(QStringLiteral("movimenti"), QStringLiteral("quantita")))),
        colli_(ColumnKindOf(sup.ColumnType(QStringLiteral("movimenti"), QStringLiteral("colli")))),
        totrig_(
            ColumnKindOf(sup.ColumnType(QStringLiteral("movimenti"), QStringLiteral("totrig")))) {}

  void Write(qint16 year, qint32 numero, int bns, const ArticleRow& row,
             common::SharedValues& values) override {
    const double factor = Convert(row.ean, values);
    const QString ean = values.ean_corrente.str();
    const CatalogueEntry entry = LookUp(ean);

    const FormattedNumber quantita = FormatOrderValue(NumberOf(row.packages));
    const double pieces = NumberOf(row.imb) * quantita.number;
    if (entry.found == Found::NoArticle) {
      WriteWithoutArticle(year, numero, bns, row, ean, quantita, pieces);
      return;
    }

    Variant article;
    QString description;
    FormattedNumber price;
    if (entry.found == Found::NoEan) {
      article = Variant(999999);
      description = MissingArticleDescription();
      price = FormatOrderValue(0);
    } else {
      article = entry.code;
      description = entry.description;
      price = FormatOrderValue(
          common::ConvertToSupplierPrice(NumberOf(row.cost), factor, values.azione_conv.str()));
    }
    insertFull_.Insert(year, numero, bns,
                       {article, price, description, QStringLiteral("CT"), row.imb, quantita,
                        row.iva, ean, pieces});
  }

 private:
  enum class Found { NoEan, Article, NoArticle };
  struct CatalogueEntry {
    Found found = Found::NoEan;
    Variant code;         // `codare` of the EAN's `codean` row
    QString description;  // first 30 characters of the article's `desart`
  };

  // The first conversion row of the EAN (lowest codfor) with slot N's own columns: its
  // alternative EAN, when not blank, becomes `ean_corrente`; its action `azione_conv`.
  // Returns the factor: 1 without a row, 0 (no conversion) for an empty one.
  double Convert(const Variant& rowEan, common::SharedValues& values) {
    values.ean_corrente = rowEan.str();
    values.azione_conv = "M";
    double factor = 1;
    conv_.Reset().Bind(1, Variant(values.ean_corrente.str()));
    if (conv_.Step()) {
      const QString alternative = TextOf(conv_.Column(0));
      if (!alternative.trimmed().isEmpty()) values.ean_corrente = alternative;
      factor = NumberOf(conv_.Column(1));
      values.azione_conv = TextOf(conv_.Column(2));
    }
    conv_.Reset();
    return factor;
  }

  CatalogueEntry LookUp(const QString& ean) {
    CatalogueEntry entry;
    codean_.Reset().Bind(1, Variant(ean));
    const bool hasEan = codean_.Step();
    if (hasEan) entry.code = NumberVariant(NumberOf(codean_.Column(0)));
    codean_.Reset();
    if (!hasEan) return entry;
    entry.found = Found::NoArticle;
    articolo_.Reset().Bind(1, entry.code);
    if (articolo_.Step()) {
      entry.found = Found::Article;
      entry.description = TextOf(articolo_.Column(0)).left(30);
    }
    articolo_.Reset();
    return entry;
  }

  // The EAN's code names no article: the catalogue columns keep what the table gives a
  // new line, and the total is worked out from the price the line then holds.
  void WriteWithoutArticle(qint16 year, qint32 numero, int bns, const ArticleRow& row,
                           const QString& ean, const FormattedNumber& quantita, double pieces) {
    insertBare_.Reset();
    BindKey(insertBare_, year, numero, bns);
    insertBare_.Bind(4, Variant("CT"))
        .Bind(5, row.imb)
        .Bind(6, Stored(quantita_, quantita))
        .Bind(7, row.iva)
        .Bind(8, Variant(ean))
        .Bind(9, StoredNumber(colli_, pieces))
        .Bind(10, Variant(" "))
        .Bind(11, Variant(" "));
    insertBare_.Run();
    readPrice_.Reset();
    BindKey(readPrice_, year, numero, bns);
    const double price = readPrice_.Step() ? NumberOf(readPrice_.Column(0)) : 0;
    readPrice_.Reset();
    writeTotal_.Reset()
        .Bind(1, Stored(totrig_, FormatOrderValue(Held(colli_, pieces) * price)))
        .Bind(2, Variant(int(year)))
        .Bind(3, Variant(numero))
        .Bind(4, Variant(bns));
    writeTotal_.Run();
  }

  static void BindKey(db::Statement& st, qint16 year, qint32 numero, int bns) {
    st.Bind(1, Variant(int(year))).Bind(2, Variant(numero)).Bind(3, Variant(bns));
  }

  db::Statement conv_, codean_, articolo_;
  MovementInsert insertFull_;
  db::Statement insertBare_, readPrice_, writeTotal_;
  ColumnKind quantita_, colli_, totrig_;
};

// The highest order number of the year in the supplier's `testa`; Null when it has none.
Variant HighestOrder(db::Database& sup, qint16 year) {
  auto st = sup.Prepare(QStringLiteral("select max(numero) as num from testa where anno = ?"));
  st.Reset().Bind(1, Variant(int(year)));
  const Variant num = st.Step() ? st.Column(0) : Variant::null();
  st.Reset();
  return num;
}

// A split starts a new order when the switch is on and the type changes between two rows
// that both have one (a Null type never starts one, nor does the row after it).
bool StartsNewOrder(int split, const Variant& previous, const Variant& current) {
  if (split == 0 || IsAbsent(current) || IsAbsent(previous)) return false;
  const QString prev = previous.str();
  return !prev.trimmed().isEmpty() && prev != current.str();
}

}  // namespace

MovementInsert::MovementInsert(db::Database& sup)
    : insert_(sup.Prepare(QStringLiteral(
          "insert into movimenti (bannoc, bnumer, bns, articoli, prezzo, descrizione, "
          "unitaM, imballo, quantita, iva, eanrig, colli, totrig, desfor, desgru) "
          "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"))),
      prezzo_(ColumnKindOf(sup.ColumnType(QStringLiteral("movimenti"), QStringLiteral("prezzo")))),
      quantita_(
          ColumnKindOf(sup.ColumnType(QStringLiteral("movimenti"), QStringLiteral("quantita")))),
      colli_(ColumnKindOf(sup.ColumnType(QStringLiteral("movimenti"), QStringLiteral("colli")))),
      totrig_(ColumnKindOf(sup.ColumnType(QStringLiteral("movimenti"), QStringLiteral("totrig")))) {
}

void MovementInsert::Insert(qint16 year, qint32 numero, int bns, const MovementLine& line) {
  // The total of the line as it holds the pieces and the price.
  const FormattedNumber total =
      FormatOrderValue(Held(colli_, line.pieces) * Held(prezzo_, line.price.number));
  insert_.Reset();
  insert_.Bind(1, Variant(int(year)))
      .Bind(2, Variant(numero))
      .Bind(3, Variant(bns))
      .Bind(4, line.article)
      .Bind(5, Stored(prezzo_, line.price))
      .Bind(6, Variant(line.description))
      .Bind(7, Variant(line.unit))
      .Bind(8, line.imb)
      .Bind(9, Stored(quantita_, line.quantita))
      .Bind(10, line.iva)
      .Bind(11, Variant(line.ean))
      .Bind(12, StoredNumber(colli_, line.pieces))
      .Bind(13, Stored(totrig_, total))
      .Bind(14, Variant(" "))
      .Bind(15, Variant(" "));
  insert_.Run();
}

OrderPolicy FourSupplierOrders() {
  OrderPolicy p;
  p.rows = ReadArticleRows;
  p.split = true;
  p.lines = [](db::Database& main, db::Database& sup, int slot) {
    return std::unique_ptr<OrderLineWriter>(new LineWriter(main, sup, slot));
  };
  return p;
}

QString NewOrderQuestion() {
  return QStringLiteral(
      "Vuoi creare un nuovo ordine (SI=Verrà creato un nuovo ordine NO=Verranno aggiunti "
      "all'ultimo ordine esistente) ?");
}

QString NewOrderCaption() { return QStringLiteral("Creazione ordine"); }

QString MissingDatabaseText(const QString& path) {
  return QStringLiteral("Attenzione ... archivio dati ") + path + QStringLiteral(" non esiste.");
}

QString OrderFailedText(const QString& supplier, const QString& path, const QString& reason) {
  return QStringLiteral(
             "ATTENZIONE !!! L'ordine per il fornitore %1 non è stato creato: "
             "l'archivio dati %2 non è stato modificato.\n\n%3")
      .arg(supplier, path, reason);
}

QString MissingArticleDescription() { return QStringLiteral("AAAAA !!!! articolo inesistente"); }

QString SlotPackagesCriteria(int slot) {
  const QString n = Digit(slot);
  return QStringLiteral("not isnull(colli") + n + QStringLiteral(") and colli") + n +
         QStringLiteral(" > 0 ");
}

SlotOrderResult WriteSlotOrder(int slot, common::SharedValues& values, OrderPrompts& prompts,
                               const OrderPolicy& policy) {
  SlotOrderResult result;
  result.slot = slot;
  result.supplier = QStringLiteral("n. %1").arg(slot);
  auto fail = [&](const std::exception& e) {
    result.outcome = OrderOutcome::Failed;
    result.orders.clear();
    result.lines = 0;
    result.error = QString::fromUtf8(e.what());
    prompts.OrderFailed(result.supplier, result.databasePath, result.error);
  };

  // The supplier row: the highest supplier code stored in the slot's column.
  std::shared_ptr<db::Database> main;
  int split = 0;
  try {
    main = db::Database::Open(values.percorso_db);
    auto supplier = main->Prepare(
        QStringLiteral("select descr, percorso, creazioneordine from fornitori where codice = "
                       "(select max([forn%1]) from articoli)")
            .arg(slot));
    if (!supplier.Step()) {
      supplier.Reset();
      return result;
    }
    if (const QString name = TextOf(supplier.Column(0)).trimmed(); !name.isEmpty()) {
      result.supplier = name;
    }
    result.databasePath = TextOf(supplier.Column(1));
    split = policy.split ? static_cast<int>(WholeOf(supplier.Column(2))) : 0;
    supplier.Reset();
  } catch (const std::exception& e) {
    fail(e);
    return result;
  }

  const QString& path = result.databasePath;
  if (path.trimmed().isEmpty() || !fs::Exists(path) || fs::IsFolder(path)) {
    result.outcome = OrderOutcome::MissingDatabase;
    prompts.MissingDatabase(path);
    return result;
  }

  const qint32 keptNumber = values.numero_ordine;
  const auto keptEan = values.ean_corrente;
  const auto keptAction = values.azione_conv;
  try {
    auto sup = db::Database::OpenOnDrive(path);
    const Customer customer = ReadCustomer(*sup, values.ragione_sociale.str());

    // One date for the whole order, so that its headers and lines carry the same year.
    const QDate today = Today();
    const qint16 year = static_cast<qint16>(today.year());

    // The question comes first, with no lock held while the operator answers it; the
    // number itself is taken below, under the supplier's write lock.
    const bool newOrder = IsAbsent(HighestOrder(*sup, year)) || prompts.AskNewOrder();

    // The main database is read for the whole order and takes the order's record. Every
    // run locks it before the supplier's database, so that two programs writing orders at
    // once queue one behind the other instead of each holding what the other waits for.
    db::Transaction mainTx(*main);
    db::Transaction transaction(*sup);
    // Another program's order committed since the question counts: a new order takes the
    // number after the highest one now, and added lines go after the highest line now.
    const Variant highest = HighestOrder(*sup, year);
    const qint32 last = IsAbsent(highest) ? 0 : static_cast<qint32>(WholeOf(highest));
    values.numero_ordine = newOrder || last == 0 ? last + 1 : last;
    WriteHeader(*sup, year, today, customer, values.numero_ordine);
    result.orders.push_back(values.numero_ordine);

    auto lastLine = sup->Prepare(
        QStringLiteral("select max(bns) as num from movimenti where bannoc = ? and bnumer = ?"));
    lastLine.Reset().Bind(1, Variant(int(year))).Bind(2, Variant(values.numero_ordine));
    int line = lastLine.Step() ? static_cast<int>(WholeOf(lastLine.Column(0))) : 0;
    lastLine.Reset();

    std::vector<WrittenOrder> written;
    auto startRecord = [&](int firstLine) {
      written.push_back(
          {slot, result.supplier, path, int(year), values.numero_ordine, firstLine, firstLine - 1});
    };
    startRecord(line + 1);

    const std::vector<ArticleRow> rows = policy.rows(*main, slot);
    const std::unique_ptr<OrderLineWriter> writer = policy.lines(*main, *sup, slot);
    Variant previousType(QString{});
    for (const ArticleRow& row : rows) {
      if (StartsNewOrder(split, previousType, row.tipoart)) {
        ++values.numero_ordine;
        WriteHeader(*sup, year, today, customer, values.numero_ordine);
        result.orders.push_back(values.numero_ordine);
        line = 0;
        startRecord(1);
      }
      ++line;
      writer->Write(year, values.numero_ordine, line, row, values);
      written.back().lastLine = line;
      ++result.lines;
      previousType = row.tipoart;
    }
    // The record is committed before the order: a stop between the two commits leaves an
    // unconfirmed record, which counts only if the order's lines are there.
    RecordWrittenOrders(*main, written);
    mainTx.Commit();
    transaction.Commit();
    result.outcome = OrderOutcome::Written;
  } catch (const std::exception& e) {
    values.numero_ordine = keptNumber;
    values.ean_corrente = keptEan;
    values.azione_conv = keptAction;
    fail(e);
    return result;
  }
  try {
    ConfirmWrittenOrders(*main, slot);
  } catch (const db::DbError&) {
    // The order is committed; its unconfirmed record still counts, since its lines are there.
  }
  return result;
}

SlotOrderResult FailedSlot(int slot, const QString& supplier, const QString& error) {
  SlotOrderResult r;
  r.slot = slot;
  r.outcome = OrderOutcome::Failed;
  r.supplier =
      supplier.trimmed().isEmpty() ? QStringLiteral("n. %1").arg(slot) : supplier.trimmed();
  r.error = error;
  return r;
}

bool OrderInPlace(const SlotOrderResult& r) {
  return r.outcome == OrderOutcome::Written || r.outcome == OrderOutcome::AlreadyWritten;
}

bool AllOrdersWritten(const std::vector<SlotOrderResult>& results) {
  for (const SlotOrderResult& r : results) {
    if (!OrderInPlace(r)) return false;
  }
  return true;
}

QString ClosingQuestion(const std::vector<SlotOrderResult>& results) {
  if (AllOrdersWritten(results)) {
    return QStringLiteral("Elaborazione completata con successo. Vuoi pulire i colli?");
  }
  QStringList names;
  for (const SlotOrderResult& r : results) {
    if (!OrderInPlace(r)) names << r.supplier;
  }
  return QStringLiteral("Elaborazione terminata con errori: ordini non creati per ") +
         names.join(QStringLiteral(", ")) +
         QStringLiteral(". Vuoi pulire i colli degli ordini creati?");
}

void ClearWrittenPackages(db::Database& main, const std::vector<int>& written,
                          const PackageRows& rows) {
  if (written.empty()) return;  // (an empty list would forget every slot's orders)
  QString zero, others;
  for (int n = 1; n <= rows.slotCount; ++n) {
    if (std::find(written.begin(), written.end(), n) != written.end()) {
      zero += (zero.isEmpty() ? QString() : QStringLiteral(", ")) +
              QStringLiteral("colli%1 = 0").arg(n);
    } else {
      others += QStringLiteral(" and (isnull(colli%1) or colli%1 = 0)").arg(n);
    }
  }
  const QString where = QStringLiteral(" where (") + rows.where + QStringLiteral(")");
  db::Transaction transaction(main);
  // The rows left without packages are told apart before the packages go (clearing them may
  // take a row out of `where`), then cleared and unmarked.
  main.Execute(QStringLiteral("update articoli set sel = '#'") + where + others);
  main.Execute(QStringLiteral("update articoli set ") + zero + where +
               QStringLiteral(" or sel = '#'"));
  main.Execute(QStringLiteral("update articoli set sel = ' ' where sel = '#'"));
  ForgetWrittenOrders(main, written);
  transaction.Commit();
}

}  // namespace vx::comparison
