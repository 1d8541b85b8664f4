#include "comparison/written_orders.h"

#include <QStringList>
#include <map>

#include "platform/db/database.h"
#include "platform/paths.h"

namespace vx::comparison {

namespace {

const QString kTable = QStringLiteral("ordiniconfronto");

void EnsureTable(db::Database& main) {
  if (main.HasTable(kTable)) return;
  main.Execute(QStringLiteral(
      "create table [ordiniconfronto] ([slot] long, [fornitore] text(50), [percorso] memo, "
      "[anno] long, [numero] long, [primariga] long, [ultimariga] long, [confermato] long)"));
}

// True when the supplier's database holds every line the record names (the header alone
// when it names none).
bool SupplierHolds(const WrittenOrder& o) {
  if (o.path.trimmed().isEmpty() || !fs::Exists(o.path)) return false;
  try {
    auto sup = db::Database::OpenOnDrive(o.path);
    if (o.lastLine < o.firstLine) {
      auto st =
          sup->Prepare(QStringLiteral("select count(*) from testa where anno = ? and numero = ?"));
      st.Bind(1, Variant(o.year)).Bind(2, Variant(o.number));
      const bool held = st.Step() && st.Column(0).toLong() > 0;
      st.Reset();
      return held;
    }
    auto st = sup->Prepare(QStringLiteral(
        "select count(*) from movimenti where bannoc = ? and bnumer = ? and bns >= ? and "
        "bns <= ?"));
    st.Bind(1, Variant(o.year))
        .Bind(2, Variant(o.number))
        .Bind(3, Variant(o.firstLine))
        .Bind(4, Variant(o.lastLine));
    const bool held = st.Step() && st.Column(0).toLong() == o.lastLine - o.firstLine + 1;
    st.Reset();
    return held;
  } catch (const db::DbError&) {
    // A supplier database that cannot be read now: count the record, so that the operator
    // is asked rather than an order possibly written twice.
    return true;
  }
}

}  // namespace

void RecordWrittenOrders(db::Database& main, const std::vector<WrittenOrder>& orders) {
  if (orders.empty()) return;
  EnsureTable(main);
  auto insert = main.Prepare(QStringLiteral(
      "insert into ordiniconfronto (slot, fornitore, percorso, anno, numero, primariga, "
      "ultimariga, confermato) values (?, ?, ?, ?, ?, ?, ?, 0)"));
  for (const WrittenOrder& o : orders) {
    insert.Reset()
        .Bind(1, Variant(o.slot))
        .Bind(2, Variant(o.supplier.left(50)))
        .Bind(3, Variant(o.path))
        .Bind(4, Variant(o.year))
        .Bind(5, Variant(o.number))
        .Bind(6, Variant(o.firstLine))
        .Bind(7, Variant(o.lastLine));
    insert.Run();
  }
}

void ConfirmWrittenOrders(db::Database& main, int slot) {
  if (!main.HasTable(kTable)) return;
  main.Execute(QStringLiteral("update ordiniconfronto set confermato = 1 where slot = ?"),
               {Variant(slot)});
}

std::vector<WrittenOrder> WrittenOrdersOf(db::Database& main, int slot) {
  std::vector<WrittenOrder> orders;
  if (!main.HasTable(kTable)) return orders;
  std::vector<qint64> unconfirmed;  // rowids of records whose order is not there
  auto st = main.Prepare(QStringLiteral(
      "select rowid, fornitore, percorso, anno, numero, primariga, ultimariga, confermato "
      "from ordiniconfronto where slot = ? order by rowid"));
  st.Bind(1, Variant(slot));
  std::vector<std::pair<qint64, bool>> keys;
  while (st.Step()) {
    WrittenOrder o;
    o.slot = slot;
    o.supplier = st.Column(1).str();
    o.path = st.Column(2).str();
    o.year = static_cast<int>(st.Column(3).toLong());
    o.number = static_cast<qint32>(st.Column(4).toLong());
    o.firstLine = static_cast<int>(st.Column(5).toLong());
    o.lastLine = static_cast<int>(st.Column(6).toLong());
    keys.emplace_back(st.Column(0).toLong(), st.Column(7).toLong() != 0);
    orders.push_back(o);
  }
  st.Reset();
  std::vector<WrittenOrder> held;
  for (size_t i = 0; i < orders.size(); ++i) {
    if (keys[i].second || SupplierHolds(orders[i])) {
      held.push_back(orders[i]);
    } else {
      unconfirmed.push_back(keys[i].first);
    }
  }
  for (qint64 rowid : unconfirmed) {
    main.Execute(QStringLiteral("delete from ordiniconfronto where rowid = ?"), {Variant(rowid)});
  }
  return held;
}

void ForgetWrittenOrders(db::Database& main, const std::vector<int>& which) {
  if (!main.HasTable(kTable)) return;
  if (which.empty()) {
    main.Execute(QStringLiteral("delete from ordiniconfronto"));
    return;
  }
  for (int slot : which) {
    main.Execute(QStringLiteral("delete from ordiniconfronto where slot = ?"), {Variant(slot)});
  }
}

QString WriteAgainQuestion(const std::vector<WrittenOrder>& orders) {
  // One entry per supplier, its orders in writing order.
  std::vector<std::pair<int, QString>> order;
  std::map<int, QStringList> numbers;
  std::map<int, int> years;
  for (const WrittenOrder& o : orders) {
    if (!numbers.count(o.slot)) order.emplace_back(o.slot, o.supplier);
    const QString n = QString::number(o.number);
    if (!numbers[o.slot].contains(n)) numbers[o.slot] << n;
    years[o.slot] = o.year;
  }
  QStringList entries;
  for (const auto& [slot, supplier] : order) {
    const QStringList& n = numbers[slot];
    entries << QStringLiteral("%1 (%2 %3 del %4)")
                   .arg(supplier,
                        n.size() == 1 ? QStringLiteral("ordine n.") : QStringLiteral("ordini n."),
                        n.join(QStringLiteral(", ")), QString::number(years[slot]));
  }
  return QStringLiteral(
             "ATTENZIONE !!! Con questi colli sono già stati creati gli ordini per: %1.\n"
             "Vuoi crearli di nuovo (SI=Verranno scritti di nuovo NO=Non verranno scritti) ?")
      .arg(entries.join(QStringLiteral("; ")));
}

}  // namespace vx::comparison
