#include "masterdata/eanconv_fixture.h"

#include <QCoreApplication>

#include "common/shared_values.h"
#include "data/schema_upgrade.h"
#include "data/shipped_schema.h"
#include "masterdata/ali01.h"
#include "masterdata/art03.h"
#include "platform/paths.h"

namespace vx::masterdata::testing {

void MasterdataFixture::SetUp() {
  common::G().Reset();
  mainPath_ = QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb");
  common::G().percorso_db = mainPath_;
  common::G().ragione_sociale = QStringLiteral("MARKET BELLAVISTA");
  ASSERT_TRUE(fs::CreateFolder(QStringLiteral("C:\\Programmi\\tolmo")));
  data::CreateMainDatabase(fs::HostPath(mainPath_), QStringLiteral("MARKET BELLAVISTA"));
  data::inserisco_nuovi_campi_bancaean(mainPath_);
  main_ = db::Database::Open(mainPath_);
}

void MasterdataFixture::TearDown() {
  ui::Forms::Unload<art03>();
  ui::Forms::Unload<ali01>();
  SettleWindows();
  main_.reset();
  common::G().Reset();
}

void MasterdataFixture::SettleWindows() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString MasterdataFixture::AddSupplier(int codice, const QString& descr, const QString& folder,
                                       double perce) {
  const QString percorso = QStringLiteral("C:\\%1\\dati.mdb").arg(folder);
  EXPECT_TRUE(fs::CreateFolder(QStringLiteral("C:\\") + folder));
  data::CreateSupplierDatabase(fs::HostPath(percorso));
  main_->Execute(QStringLiteral("insert into fornitori (codice, descr, percorso, perce) "
                                "values (?, ?, ?, ?)"),
                 {codice, descr, percorso, static_cast<float>(perce)});
  return percorso;
}

void MasterdataFixture::AddArticle(const QString& percorso, qint64 codart, const QString& ean,
                                   double przart, const QString& desart) {
  auto sup = db::Database::Open(percorso);
  sup->Execute(QStringLiteral("insert into articolo (codart, desart, umart, imbart, ivart, przart) "
                              "values (?, ?, 'CT', 6, '04', ?)"),
               {codart, desart, static_cast<float>(przart)});
  sup->Execute(QStringLiteral("insert into codean (codare, eanare) values (?, ?)"), {codart, ean});
}

void MasterdataFixture::AddConversion(int codfor, const QString& ean, const Variant& desart,
                                      const std::vector<Variant>& alternatives,
                                      const std::vector<Variant>& factors,
                                      const std::vector<Variant>& actions) {
  std::vector<Variant> values{codfor, ean, desart};
  for (const auto* list : {&alternatives, &factors, &actions}) {
    for (size_t i = 0; i < 4; ++i)
      values.push_back(i < list->size() ? (*list)[i] : Variant::null());
  }
  main_->Execute(
      QStringLiteral("insert into eanconv (codfor, ean, desart, eanalternativo, eanalternativo2, "
                     "eanalternativo3, eanalternativo4, fatconv, fatconv2, fatconv3, fatconv4, "
                     "azione, azione2, azione3, azione4) values "
                     "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
      values);
}

void MasterdataFixture::AddComparison(const QString& ean, const QString& desart,
                                      const std::vector<double>& costs) {
  std::vector<Variant> values{ean, desart};
  for (size_t i = 0; i < 4; ++i)
    values.push_back(static_cast<float>(i < costs.size() ? costs[i] : 0));
  main_->Execute(QStringLiteral("insert into articoli (vedovo, desart, costo1, costo2, costo3, "
                                "costo4) values (?, ?, ?, ?, ?, ?)"),
                 values);
}

Variant MasterdataFixture::Scalar(const QString& sql, const std::vector<Variant>& params) {
  db::Statement st = main_->Prepare(sql);
  for (size_t i = 0; i < params.size(); ++i) st.Bind(int(i) + 1, params[i]);
  Variant v;
  if (st.Step()) v = st.Column(0);
  st.Reset();
  return v;
}

Variant MasterdataFixture::Conversion(int codfor, const QString& ean, const QString& column) {
  return Scalar(QStringLiteral("select [%1] from eanconv where codfor = ? and ean = ?").arg(column),
                {codfor, ean});
}

}  // namespace vx::masterdata::testing
