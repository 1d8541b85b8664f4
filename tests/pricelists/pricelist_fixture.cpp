#include "pricelists/pricelist_fixture.h"

#include <QDateTime>
#include <QFileInfo>

#include "common/shared_values.h"
#include "data/shipped_schema.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/print/printers.h"

namespace vx::pricelists::testing {

SheetRow VaruArticle(qint64 code, const QString& description, const Variant& price,
                     const Variant& ean, const Variant& pack) {
  SheetRow r;
  r[5] = Variant(static_cast<double>(code));
  r[6] = description.left(description.size() / 2);
  r[7] = description.mid(description.size() / 2);
  r[9] = price;
  r[17] = 22.0;
  r[20] = ean;
  r[22] = pack;
  return r;
}

void PricelistFixture::SetUp() {
  SetClock([] { return QDateTime(Day(), QTime(10, 30)); });
  common::G().Reset();
  print::SetPrinterList(QStringList{print::kPdfPrinterName, QStringLiteral("Laser Ufficio")});
  ASSERT_TRUE(fs::CreateFolder(QStringLiteral("C:\\varu")));
  varu_ = data::CreateSupplierDatabase(Host(QStringLiteral("C:\\varu\\dati.mdb")));
  ASSERT_TRUE(fs::CreateFolder(QStringLiteral("C:\\Programmi\\tolmo")));
  common::G().percorso_client = QStringLiteral("C:\\Programmi\\tolmo\\client.mdb");
  auto store =
      data::CreateStoreDatabase(Host(common::G().percorso_client), QStringLiteral("NEGOZIO"));
  store->Execute(QStringLiteral("insert into stampanti (codice, descrizione) values (?, ?)"),
                 {0, QStringLiteral("PDF")});
  store->Execute(QStringLiteral("insert into stampanti (codice, descrizione) values (?, ?)"),
                 {1, QStringLiteral("Laser Ufficio")});
}

void PricelistFixture::TearDown() {
  SetClock({});
  print::SetPrinterList(std::nullopt);
  common::G().Reset();
}

QString PricelistFixture::Host(const QString& windowsPath) { return fs::HostPath(windowsPath); }

QString PricelistFixture::WriteVaru(const QString& name, const std::vector<SheetRow>& rows,
                                    const QString& sheet) {
  tools::BookSheet s{sheet, {}};
  for (size_t i = 0; i < rows.size(); ++i) {
    for (const auto& [col, v] : rows[i]) s.cells.push_back({static_cast<int>(i) + 1, col, v});
  }
  const QString path = Host(QStringLiteral("C:\\varu\\") + name);
  QString error;
  const bool xls = name.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive);
  EXPECT_TRUE(xls ? tools::WriteXls(path, {s}, {}, &error)
                  : tools::WriteXlsx(path, {s}, {}, &error))
      << error.toStdString();
  return path;
}

void PricelistFixture::AddArticle(qint64 codart, const QString& ea1art, double przart,
                                  double przoff, double data1, double data2) {
  varu_->Execute(QStringLiteral("insert into articolo (codart, ea1art, desart, przart, przoff, "
                                "data1, data2, umart, ivart, imbart) values (?,?,?,?,?,?,?,?,?,?)"),
                 {codart, ea1art, QStringLiteral("VECCHIO"), przart, przoff,
                  Variant::fromDayNumber(data1), Variant::fromDayNumber(data2), "PZ", "10", 12});
}

Variant PricelistFixture::Article(qint64 codart, const QString& column) {
  return Scalar(QStringLiteral("select [%1] from articolo where codart = ?").arg(column), {codart});
}

Variant PricelistFixture::Scalar(const QString& sql, const std::vector<Variant>& params) {
  auto st = varu_->Prepare(sql);
  for (size_t i = 0; i < params.size(); ++i) st.Bind(static_cast<int>(i) + 1, params[i]);
  Variant v;
  if (st.Step()) v = st.Column(0);
  st.Reset();
  return v;
}

int PricelistFixture::Count(const QString& table) {
  return static_cast<int>(Scalar(QStringLiteral("select count(*) from [%1]").arg(table)).toLong());
}

}  // namespace vx::pricelists::testing
