#include "comparison/orders/orders_fixture.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include "comparison/cnf02_query.h"
#include "data/schema_upgrade.h"
#include "data/shipped_schema.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "support/child_test.h"

namespace vx::comparison::testing {

QString Ean(qint64 n) { return QStringLiteral("%1").arg(n, 13, 10, QLatin1Char('0')); }

void OrdersTest::SetUp() {
  root_ = std::make_unique<TempDataRoot>();
  values_.percorso_db = QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb");
  values_.ragione_sociale = "MARKET DI PROVA";
  values_.select_confronto = GridSelect();
  data::CreateMainDatabase(fs::HostPath(values_.percorso_db), QStringLiteral("MARKET DI PROVA"));
  data::inserisco_nuovi_campi_bancaean(values_.percorso_db);
  main_ = db::Database::Open(values_.percorso_db);
  const QDateTime now(today_, QTime(10, 30));
  SetClock([now] { return now; });
}

void OrdersTest::TearDown() {
  SetClock({});
  main_.reset();
  root_.reset();
}

QString OrdersTest::SupplierPath(int slot) const {
  return QStringLiteral("C:\\forn%1\\dati.mdb").arg(slot);
}

std::shared_ptr<db::Database> OrdersTest::Supplier(int slot) {
  return db::Database::Open(SupplierPath(slot));
}

std::shared_ptr<db::Database> OrdersTest::AddSupplier(int slot, const QString& name, int split,
                                                      bool makeDatabase) {
  main_->Execute(QStringLiteral("insert into fornitori (codice, descr, percorso, "
                                "creazioneordine) values (?, ?, ?, ?)"),
                 {Variant(slot), Variant(name), Variant(SupplierPath(slot)), Variant(split)});
  if (!makeDatabase) return nullptr;
  fs::CreateFolder(QStringLiteral("C:\\forn%1").arg(slot));
  data::CreateSupplierDatabase(fs::HostPath(SupplierPath(slot)));
  return Supplier(slot);
}

void OrdersTest::AddArticle(int slot, qint64 codart, const QString& ean, const QString& desart) {
  auto sup = Supplier(slot);
  sup->Execute(QStringLiteral("insert into articolo (codart, desart, przart) values (?, ?, 1)"),
               {Variant(codart), Variant(desart)});
  sup->Execute(QStringLiteral("insert into codean (codare, eanare) values (?, ?)"),
               {Variant(codart), Variant(ean)});
}

void OrdersTest::AddCustomer(int slot, const Variant& code, const Variant& name,
                             const Variant& list) {
  Supplier(slot)->Execute(
      QStringLiteral("insert into clienti (codcliente, dsccliente, listino) values (?, ?, ?)"),
      {code, name, list});
}

void OrdersTest::AddComparisonRow(const ComparisonRow& row) {
  main_->Execute(QStringLiteral("insert into articoli (vedovo, desart, umart, ivart, imballo, "
                                "sel, tipoart, sequenza) values (?, ?, 'CT', ?, ?, ?, ?, ?)"),
                 {Variant(row.ean), Variant(row.desart), Variant(row.iva), Variant(row.imballo),
                  Variant(row.sel), row.tipoart, row.sequenza});
  for (const auto& [slot, cost] : row.costs) {
    main_->Execute(
        QStringLiteral("update articoli set forn%1 = %1, costo%1 = ? where vedovo = ?").arg(slot),
        {Variant(cost), Variant(row.ean)});
  }
  for (const auto& [slot, packages] : row.packages) {
    main_->Execute(
        QStringLiteral("update articoli set forn%1 = %1, colli%1 = ? where vedovo = ?").arg(slot),
        {Variant(packages), Variant(row.ean)});
  }
}

void OrdersTest::AddConversion(int codfor, const QString& ean,
                               const std::vector<std::pair<QString, Variant>>& set) {
  main_->Execute(QStringLiteral("insert into eanconv (codfor, ean) values (?, ?)"),
                 {Variant(codfor), Variant(ean)});
  for (const auto& [column, value] : set) {
    main_->Execute(
        QStringLiteral("update eanconv set [%1] = ? where codfor = ? and ean = ?").arg(column),
        {value, Variant(codfor), Variant(ean)});
  }
}

void OrdersTest::AddExistingOrder(int slot, int year, int numero, int lines) {
  auto sup = Supplier(slot);
  sup->Execute(QStringLiteral("insert into testa (anno, numero, dataor, cliente, dsccliente, "
                              "codsede, dscsede, codlis, fl3ts) values (?, ?, ?, 5, 'VECCHIO', "
                              "0, '', '09', 'I')"),
               {Variant(year), Variant(numero), Variant(QDate(year, 1, 15))});
  for (int bns = 1; bns <= lines; ++bns) {
    sup->Execute(QStringLiteral("insert into movimenti (bannoc, bnumer, bns, articoli, "
                                "descrizione, eanrig) values (?, ?, ?, 1, 'VECCHIA RIGA', ?)"),
                 {Variant(year), Variant(numero), Variant(bns), Variant(Ean(bns))});
  }
}

std::vector<Header> OrdersTest::Headers(int slot) {
  std::vector<Header> out;
  auto st = Supplier(slot)->Prepare(QStringLiteral(
      "select anno, numero, dataor, cliente, dsccliente, codsede, dscsede, codlis, fl3ts "
      "from testa order by anno, numero"));
  while (st.Step()) {
    out.push_back({st.Column(0), st.Column(1), st.Column(2), st.Column(3), st.Column(4),
                   st.Column(5), st.Column(6), st.Column(7), st.Column(8)});
  }
  st.Reset();
  return out;
}

std::vector<Line> OrdersTest::Lines(int slot, int year, int numero) {
  std::vector<Line> out;
  auto st = Supplier(slot)->Prepare(QStringLiteral(
      "select bns, articoli, descrizione, prezzo, unitaM, imballo, quantita, iva, eanrig, "
      "colli, totrig, desfor, desgru from movimenti where bannoc = ? and bnumer = ? "
      "order by bns"));
  st.Bind(1, Variant(year)).Bind(2, Variant(numero));
  while (st.Step()) {
    Line l;
    l.bns = static_cast<int>(st.Column(0).toLong());
    l.articoli = st.Column(1);
    l.descrizione = st.Column(2);
    l.prezzo = st.Column(3);
    l.unitaM = st.Column(4);
    l.imballo = st.Column(5);
    l.quantita = st.Column(6);
    l.iva = st.Column(7);
    l.eanrig = st.Column(8);
    l.colli = st.Column(9);
    l.totrig = st.Column(10);
    l.desfor = st.Column(11);
    l.desgru = st.Column(12);
    out.push_back(l);
  }
  st.Reset();
  return out;
}

std::unique_ptr<QProcess> OrdersTest::StartWriter(bool stop) {
  std::vector<std::pair<QString, QString>> env = {{"VX_ORDERS_ROOT", root_->root()}};
  if (stop) env.emplace_back("VX_ORDERS_STOP", "1");
  return StartChild("WriteSlotOneOrder", env);
}

void OrdersTest::Release(int count) {
  QDir dir(root_->root());
  QElapsedTimer waited;
  waited.start();
  while (dir.entryList({"ready-*"}, QDir::Files).size() < count && waited.elapsed() < 30000) {
    QThread::msleep(5);
  }
  QFile go(dir.filePath("go"));
  ASSERT_TRUE(go.open(QIODevice::WriteOnly));
}

Variant OrdersTest::MainValue(const QString& sql) {
  auto st = main_->Prepare(sql);
  const Variant v = st.Step() ? st.Column(0) : Variant();
  st.Reset();
  return v;
}

}  // namespace vx::comparison::testing
