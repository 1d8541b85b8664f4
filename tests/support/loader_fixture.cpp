#include "support/loader_fixture.h"

#include <QDateTime>

#include "common/shared_values.h"
#include "data/schema_upgrade.h"
#include "data/shipped_schema.h"
#include "platform/clock.h"
#include "platform/db/recordset.h"
#include "platform/paths.h"

namespace vx::comparison::testing {

void LoaderFixture::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  fs::SetDataRoot(dir_.path());
  SetClock([] { return QDateTime(Day(), QTime(10, 30)); });
  common::G().Reset();
  mainPath_ = QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb");
  common::G().percorso_db = mainPath_;
  common::G().codutente = 1;
  ASSERT_TRUE(fs::CreateFolder(QStringLiteral("C:\\Programmi\\tolmo")));
  data::CreateMainDatabase(fs::HostPath(mainPath_), QStringLiteral("NEGOZIO PROVA"));
  data::inserisco_nuovi_campi_bancaean(mainPath_);
  main_ = db::Database::Open(mainPath_);
}

void LoaderFixture::TearDown() {
  SetClock({});
  common::G().Reset();
}

void LoaderFixture::AddSupplierRow(int codice, const QString& descr, const QString& percorso,
                                   double perce) {
  main_->Execute(QStringLiteral("insert into fornitori (codice, descr, percorso, perce) "
                                "values (?, ?, ?, ?)"),
                 {codice, descr, percorso, perce});
}

QString LoaderFixture::AddSupplier(int codice, const QString& descr, const QString& folder,
                                   double perce) {
  const QString percorso = QStringLiteral("C:\\%1\\dati.mdb").arg(folder);
  EXPECT_TRUE(fs::CreateFolder(QStringLiteral("C:\\") + folder));
  data::CreateSupplierDatabase(fs::HostPath(percorso));
  AddSupplierRow(codice, descr, percorso, perce);
  return percorso;
}

std::shared_ptr<db::Database> LoaderFixture::Supplier(const QString& percorso) {
  return db::Database::Open(percorso);
}

void LoaderFixture::AddArticle(const QString& percorso, const ArticleSpec& a) {
  Supplier(percorso)->Execute(
      QStringLiteral("insert into articolo (codart, desart, umart, imbart, ivart, tipart, przart, "
                     "przoff, data1, data2) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
      {a.codart, a.desart, a.umart, a.imbart, a.ivart, a.tipart, a.przart, a.przoff, a.data1,
       a.data2});
}

void LoaderFixture::AddEan(const QString& percorso, const Variant& codare, const QString& eanare) {
  Supplier(percorso)->Execute(QStringLiteral("insert into codean (codare, eanare) values (?, ?)"),
                              {codare, eanare});
}

void LoaderFixture::AddPriced(const QString& percorso, qint64 codart, const QString& ean,
                              double price, const QString& desart) {
  ArticleSpec a;
  a.codart = codart;
  a.przart = price;
  a.desart = desart;
  AddArticle(percorso, a);
  AddEan(percorso, codart, ean);
}

void LoaderFixture::AddConversion(int codfor, const QString& ean,
                                  const std::vector<Variant>& alternatives,
                                  const std::vector<Variant>& factors,
                                  const std::vector<Variant>& actions) {
  std::vector<Variant> values{codfor, ean};
  for (int i = 0; i < 4; ++i) {
    values.push_back(i < int(alternatives.size()) ? alternatives[i] : Variant::null());
  }
  for (int i = 0; i < 4; ++i)
    values.push_back(i < int(factors.size()) ? factors[i] : Variant::null());
  for (int i = 0; i < 4; ++i)
    values.push_back(i < int(actions.size()) ? actions[i] : Variant::null());
  main_->Execute(
      QStringLiteral("insert into eanconv (codfor, ean, eanalternativo, eanalternativo2, "
                     "eanalternativo3, eanalternativo4, fatconv, fatconv2, fatconv3, fatconv4, "
                     "azione, azione2, azione3, azione4) values "
                     "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
      values);
}

Variant LoaderFixture::Scalar(const QString& sql, const Variant& key) {
  db::Statement st = main_->Prepare(sql);
  if (!key.isEmpty()) st.Bind(1, key);
  Variant v;
  if (st.Step()) v = st.Column(0);
  st.Reset();
  return v;
}

Variant LoaderFixture::Cell(const QString& ean, const QString& column) {
  return Scalar(QStringLiteral("select %1 from articoli where vedovo = ?").arg(column), ean);
}

bool LoaderFixture::HasRow(const QString& ean) { return !Cell(ean, "vedovo").isEmpty(); }

bool LoaderFixture::SlotUntouched(const QString& ean, int slot) {
  const Variant cost = Cell(ean, QStringLiteral("costo%1").arg(slot));
  return Cell(ean, QStringLiteral("forn%1").arg(slot)).isNull() &&
         Cell(ean, QStringLiteral("promo%1").arg(slot)).isNull() &&
         (cost.isNull() || cost.toDouble() == 0);
}

int LoaderFixture::RowCount() {
  return static_cast<int>(Scalar(QStringLiteral("select count(*) from articoli")).toLong());
}

}  // namespace vx::comparison::testing
