#include "pricelists/corvalia_fixture.h"

#include "common/shared_values.h"
#include "data/schema_upgrade.h"
#include "data/shipped_schema.h"
#include "demo_corvalia.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace vx::pricelists::testing {

void CorvaliaFixture::SetUp() {
  common::G().Reset();
  common::G().drive = "C";
  common::G().percorso_db = QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb");
  ASSERT_TRUE(fs::CreateFolder(kFolder));
  ASSERT_TRUE(fs::CreateFolder(QStringLiteral("C:\\corvalia")));
  data::CreateMainDatabase(fs::HostPath(common::G().percorso_db), QStringLiteral("NEGOZIO"));
  data::inserisco_nuovi_campi_bancaean(common::G().percorso_db);
  data::CreateSupplierDatabase(fs::HostPath(kCatalogue));
  main_ = db::Database::Open(common::G().percorso_db);
  for (const auto& [codice, descr] : std::vector<std::pair<int, QString>>{
           {1, "VARU"}, {4, "CORVALIA SPA"}, {5, "Ingrosso Corvalia Sud"}}) {
    main_->Execute(
        QStringLiteral("insert into fornitori (codice, descr, percorso) values (?, ?, ?)"),
        {codice, descr, QStringLiteral("C:\\x\\dati.mdb")});
  }
  catalogue_ = db::Database::Open(kCatalogue);
  catalogue_->Execute(
      QStringLiteral("insert into articolo (codart, desart, przart) values (1, "
                     "'VECCHIO ARTICOLO', 9.5)"));
  catalogue_->Execute(
      QStringLiteral("insert into codean (codare, eanare) values (1, '8000000000001')"));
}

void CorvaliaFixture::TearDown() { common::G().Reset(); }

QByteArray CorvaliaFixture::CrLf(const QStringList& lines) {
  QByteArray out;
  for (const QString& l : lines) out += fs::ToCp1252(l) + "\r\n";
  return out;
}

void CorvaliaFixture::WriteText(const QString& name, const QByteArray& bytes) {
  root_.WriteFile(QStringLiteral("C/Programmi/tolmo/corvalia/") + name, bytes);
}

void CorvaliaFixture::WriteEdgeCaseFiles() {
  using tools::CorvaliaLineA;
  using tools::CorvaliaLineB;
  using tools::CorvaliaLineT;
  QString badPrice = CorvaliaLineB("000000778", "PREZZO", 0);
  badPrice.replace(61, 13, QStringLiteral("     12,50   "));
  WriteText("b0612.TXT",
            CrLf({
                "LISTINO CORVALIA",
                CorvaliaLineB("000000001", "CENTO CARATTERI", 100).left(100),
                CorvaliaLineB("000012345",
                              QString::fromUtf8("ABC ÀÈÌ DESCRIZIONE LUNGA OLTRE TRENTA"), 12345)
                    .left(101),
                CorvaliaLineB("000000777", "PRIMA", 100),
                CorvaliaLineB("000000777", "SECONDA", 250),
                CorvaliaLineB("00ABC0001", "DANNEGGIATA", 100),
                badPrice,
                CorvaliaLineB("000000778", "ARTICOLO 778", 199),
            }));
  WriteText("B0613.TXT", CrLf({CorvaliaLineB("000099999", "NON LETTO", 100)}));
  WriteText("T0612.TXT",
            QStringList{
                "CODICI",
                "000012345E8001234567890",
                "000012345B80012345",
                "ABCDEFGHIE1234567",
                "000000777E 1234567 ",
                "000000777EABC12345X",
                "000000778E8001234567890",
                "000000777X8009999999999",
                "00000A777E8005555555555",
                "000000777E'QUOTE'12",
                "000000777B'QUO'1234",
            }
                .join(QLatin1Char('\n'))
                .toLatin1());
  WriteText("A0612.TXT", CrLf({
                             "DATI",
                             CorvaliaLineA("000012345", "04", "PZ", 12),
                             CorvaliaLineA("000012345", "22", "XX", 99).left(100),
                             CorvaliaLineA("000000777", "  ", "CT", 6),
                             CorvaliaLineA("000054321", "10", "CT", 1),
                         }) + "\x1A \r\n\x1A");
}

Variant CorvaliaFixture::Scalar(const QString& sql, const Variant& key) {
  db::Statement st = catalogue_->Prepare(sql);
  if (!key.isEmpty()) st.Bind(1, key);
  Variant v;
  if (st.Step()) v = st.Column(0);
  st.Reset();
  return v;
}

Variant CorvaliaFixture::Article(qint64 codart, const QString& column) {
  return Scalar(QStringLiteral("select %1 from articolo where codart = ?").arg(column),
                Variant(codart));
}

int CorvaliaFixture::Count(const QString& table) {
  return static_cast<int>(Scalar(QStringLiteral("select count(*) from ") + table).toLong());
}

QStringList CorvaliaFixture::Eans() {
  QStringList out;
  db::Statement st = catalogue_->Prepare(
      QStringLiteral("select codare, eanare from codean order by codare, eanare"));
  while (st.Step()) out << st.Column(0).str() + QLatin1Char('|') + st.Column(1).str();
  st.Reset();
  return out;
}

}  // namespace vx::pricelists::testing
