#include "demo_data.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include "demo_eanconv.h"
#include "ean13.h"
#include "platform/db/database.h"
#include "platform/variant.h"

namespace vx::tools {

namespace {

struct Category {
  int code;
  const char* name;
  const char* iva;
  const char* tipart;  // "F" food, "S" non-food
  const char* um;
  double basePrice;
  std::vector<const char*> items;
  std::vector<const char*> sizes;
  std::vector<int> packs;
};

const std::vector<Category>& Categories() {
  static const std::vector<Category> c = {
      {1,
       "PASTA",
       "04",
       "F",
       "CT",
       1.10,
       {"SPAGHETTI N.5", "PENNE RIGATE", "FUSILLI", "RIGATONI", "LINGUINE", "FARFALLE",
        "ORECCHIETTE", "TAGLIATELLE UOVO"},
       {"500G", "1KG"},
       {24, 12}},
      {2,
       "CONSERVE",
       "04",
       "F",
       "CT",
       1.30,
       {"PASSATA POMODORO", "POLPA POMODORO", "PELATI", "PESTO GENOVESE", "TONNO OLIO OLIVA",
        "FAGIOLI BORLOTTI", "CECI LESSATI"},
       {"400G", "690G", "3X80G"},
       {12, 24}},
      {3,
       "OLIO E ACETO",
       "04",
       "F",
       "CT",
       5.20,
       {"OLIO EXTRAVERGINE", "OLIO DI SEMI", "ACETO DI VINO", "ACETO BALSAMICO"},
       {"1L", "750ML", "500ML"},
       {6, 12}},
      {4,
       "BEVANDE",
       "22",
       "F",
       "CT",
       0.90,
       {"ACQUA NATURALE", "ACQUA FRIZZANTE", "ARANCIATA", "COLA", "TE AL LIMONE", "SUCCO PESCA"},
       {"1,5L", "6X1,5L", "33CL"},
       {6, 24}},
      {5,
       "VINI",
       "22",
       "F",
       "PZ",
       4.80,
       {"CHIANTI DOCG", "MONTEPULCIANO", "PROSECCO DOC", "LAMBRUSCO", "VERMENTINO"},
       {"75CL", "1,5L"},
       {6}},
      {6,
       "LATTE E DERIVATI",
       "04",
       "F",
       "CT",
       1.40,
       {"LATTE INTERO UHT", "LATTE PARZ.SCREMATO", "YOGURT BIANCO", "MOZZARELLA",
        "PARMIGIANO REGG.", "RICOTTA"},
       {"1L", "125G", "250G"},
       {6, 12}},
      {7,
       "DOLCIARIO",
       "10",
       "F",
       "CT",
       1.90,
       {"BISCOTTI FROLLINI", "FETTE BISCOTTATE", "CRACKERS", "MERENDINE CACAO",
        "CIOCCOLATO FONDENTE", "TORRONE"},
       {"350G", "500G", "200G"},
       {12, 20}},
      {8,
       "CAFFE E TE",
       "22",
       "F",
       "CT",
       3.40,
       {"CAFFE MACINATO", "CAFFE IN GRANI", "CAMOMILLA", "TE NERO"},
       {"250G", "1KG", "20 FILTRI"},
       {10, 20}},
      {9,
       "SURGELATI",
       "10",
       "F",
       "CT",
       2.30,
       {"PISELLI", "SPINACI", "BASTONCINI PESCE", "MINESTRONE", "PIZZA MARGHERITA"},
       {"450G", "1KG"},
       {10, 12}},
      {10,
       "FARINE E RISO",
       "04",
       "F",
       "CT",
       1.20,
       {"FARINA 00", "FARINA INTEGRALE", "RISO ARBORIO", "RISO CARNAROLI", "SEMOLA RIMACINATA"},
       {"1KG", "500G"},
       {10, 12}},
      {11,
       "DETERSIVI",
       "22",
       "S",
       "CT",
       3.10,
       {"DETERSIVO LAVATRICE", "AMMORBIDENTE", "PIATTI LIMONE", "SGRASSATORE", "CANDEGGINA"},
       {"1L", "2L", "25 MISURINI"},
       {6, 12}},
      {12,
       "IGIENE PERSONA",
       "22",
       "S",
       "PZ",
       2.20,
       {"SHAMPOO", "BAGNOSCHIUMA", "DENTIFRICIO", "SAPONE LIQUIDO", "DEODORANTE SPRAY"},
       {"250ML", "500ML", "75ML"},
       {12, 24}},
      {13,
       "CARTA",
       "22",
       "S",
       "CT",
       2.60,
       {"CARTA IGIENICA", "ROTOLI CUCINA", "FAZZOLETTI", "TOVAGLIOLI"},
       {"4 ROTOLI", "10 PZ", "2 ROTOLI"},
       {10, 12}},
  };
  return c;
}

const char* const kBrands[] = {"CASCINA VERDE", "MOLINO ANTICO", "SOLE D'ITALIA", "VALLE BELLA",
                               "TERRE DEL SUD", "LA MASSERIA",   "DOLCE COLLE",   "FRESCO MATTINO",
                               "BORGO ANTICO",  "SAPORI DI CASA"};
constexpr int kBrandCount = sizeof(kBrands) / sizeof(kBrands[0]);
const char* const kVariants[] = {"", " BIO", " SCORTA", " CONF.2", " LINEA ORO"};
constexpr int kVariantCount = sizeof(kVariants) / sizeof(kVariants[0]);

// Articles of the whole market; each supplier carries a part of them.
struct PoolArticle {
  QString ean;
  QString desart;
  const Category* cat;
  int pack;
  double price;  // a reference piece price
};

struct Combo {
  const Category* cat;
  int item, brand, size;
};

double Round2(double v) { return std::round(v * 100.0) / 100.0; }

QString Digits(qint64 n, int width) {
  return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

class Rng {
 public:
  explicit Rng(unsigned seed) : gen_(seed) {}
  int Below(int n) { return static_cast<int>(gen_() % static_cast<unsigned>(n)); }
  double Unit() { return (gen_() % 1000000) / 1000000.0; }
  std::mt19937& gen() { return gen_; }

 private:
  std::mt19937 gen_;
};

std::vector<PoolArticle> MakePool(int size, Rng& rng) {
  std::vector<Combo> combos;
  for (const auto& cat : Categories()) {
    for (int i = 0; i < static_cast<int>(cat.items.size()); ++i) {
      for (int b = 0; b < kBrandCount; ++b) {
        for (int s = 0; s < static_cast<int>(cat.sizes.size()); ++s) {
          combos.push_back({&cat, i, b, s});
        }
      }
    }
  }
  std::shuffle(combos.begin(), combos.end(), rng.gen());
  std::vector<PoolArticle> pool;
  pool.reserve(size);
  for (int i = 0; i < size; ++i) {
    const Combo& c = combos[i % combos.size()];
    const int round = static_cast<int>(i / combos.size());
    QString variant = QString::fromLatin1(kVariants[round % kVariantCount]);
    if (round >= kVariantCount) variant += QStringLiteral(" %1").arg(round / kVariantCount + 1);
    PoolArticle a;
    // Italian EAN prefixes: a maker's number for each run of 50 articles, then the item.
    const qint64 maker = 12000 + (static_cast<qint64>(i / 50) * 7919) % 80000;
    a.ean = Ean13(QStringLiteral("80") + Digits(maker, 5) + Digits(100 + (i % 50) * 13, 5));
    a.desart =
        QStringLiteral("%1 %2 %3%4")
            .arg(QString::fromLatin1(c.cat->items[c.item]), QString::fromUtf8(kBrands[c.brand]),
                 QString::fromLatin1(c.cat->sizes[c.size]), variant);
    a.cat = c.cat;
    a.pack = c.cat->packs[rng.Below(static_cast<int>(c.cat->packs.size()))];
    a.price = Round2(c.cat->basePrice * (0.6 + rng.Unit() * 1.2));
    pool.push_back(a);
  }
  return pool;
}

double DayNumber(const QDate& d) { return QDate(1899, 12, 30).daysTo(d); }

// A conversion: supplier `slot` carries the pool article under another EAN, by the
// carton ("D": its price is for `factor` pieces) or by the piece ("M").
struct Conversion {
  int pool;
  int slot;
  int factor;
  QString action;
  QString altEan;
};

struct SupplierLine {
  int pool;  // -1 for the store's in-house items
  QString ean;
  QString desart;
  double price;
};

class DemoWriter {
 public:
  DemoWriter(const DemoSettings& s) : s_(s), rng_(s.seed) {
    poolSize_ = std::max(8, s.articles + s.articles * 3 / 10);
    pool_ = MakePool(poolSize_, rng_);
    for (int slot = 1; slot <= 4; ++slot) {
      std::vector<int> idx(poolSize_);
      for (int i = 0; i < poolSize_; ++i) idx[i] = i;
      std::shuffle(idx.begin(), idx.end(), rng_.gen());
      idx.resize(std::min(s.articles, poolSize_));
      std::sort(idx.begin(), idx.end());
      carried_[slot - 1] = idx;
    }
    PickConversions();
  }

  QStringList FillSupplier(const QString& host, int slot);
  QStringList FillMain(const QString& host);

 private:
  bool Carries(int slot, int pool) const {
    const auto& v = carried_[slot - 1];
    return std::binary_search(v.begin(), v.end(), pool);
  }
  const Conversion* ConversionFor(int slot, int pool) const {
    for (const auto& c : conversions_) {
      if (c.slot == slot && c.pool == pool) return &c;
    }
    return nullptr;
  }
  void PickConversions();

  DemoSettings s_;
  Rng rng_;
  int poolSize_ = 0;
  std::vector<PoolArticle> pool_;
  std::vector<int> carried_[4];
  std::vector<Conversion> conversions_;
};

void DemoWriter::PickConversions() {
  // Articles of slot 1 that another slot carries too.
  const int wanted = std::clamp(s_.articles / 200, 4, 12);
  const int factors[] = {6, 12, 2, 4};
  int n = 0;
  for (int pool : carried_[0]) {
    if (n >= wanted) break;
    const int slot = 2 + n % 3;
    if (!Carries(slot, pool)) continue;
    Conversion c;
    c.pool = pool;
    c.slot = slot;
    c.factor = factors[n % 4];
    c.action = n % 2 == 0 ? QStringLiteral("D") : QStringLiteral("M");
    c.altEan = Ean13(QStringLiteral("81") + Digits(1000000 + n * 4211, 10));
    conversions_.push_back(c);
    ++n;
  }
}

QStringList DemoWriter::FillSupplier(const QString& host, int slot) {
  auto database = db::Database::Open(host);
  db::Transaction tx(*database);
  const DemoSupplier& sup = DemoSuppliers()[slot - 1];
  Rng rng(s_.seed * 31 + slot);
  const double level = 0.94 + 0.04 * slot;  // each supplier's general price level
  const QDate today = s_.today;

  auto article = database->Prepare(QStringLiteral(
      "insert into articolo (codart, ea1art, desart, przart, ivart, imbart, umart, desgru, "
      "dessot, codrep, tipges, tipart, przoff, data1, data2, przpub) "
      "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
  auto ean = database->Prepare(QStringLiteral("insert into codean (codare, eanare) values (?,?)"));

  int articles = 0, eans = 0, current = 0, expired = 0, inHouse = 0;
  auto addArticle = [&](qint64 codart, const QString& eanCode, const QString& desart,
                        const Category& cat, int pack, double price) {
    double przoff = 0, d1 = 0, d2 = 0;
    const int roll = rng.Below(100);
    if (roll < 6) {  // an offer running today
      przoff = Round2(price * 0.85);
      d1 = DayNumber(today.addDays(-1 - rng.Below(10)));
      d2 = DayNumber(today.addDays(1 + rng.Below(20)));
      ++current;
    } else if (roll < 12) {  // an offer that has ended
      d2 = DayNumber(today.addDays(-1 - rng.Below(60)));
      d1 = d2 - 14;
      przoff = Round2(price * 0.8);
      ++expired;
    }
    article.Bind(1, codart)
        .Bind(2, eanCode)
        .Bind(3, desart)
        .Bind(4, static_cast<float>(price))
        .Bind(5, QString::fromLatin1(cat.iva))
        .Bind(6, pack)
        .Bind(7, QString::fromLatin1(cat.um))
        .Bind(8, QString::fromLatin1(cat.name))
        .Bind(9, QStringLiteral(" "))
        .Bind(10, cat.code)
        .Bind(11, QStringLiteral("M"))
        .Bind(12, QString::fromLatin1(cat.tipart))
        .Bind(13, static_cast<float>(przoff))
        .Bind(14, Variant::fromDayNumber(d1))
        .Bind(15, Variant::fromDayNumber(d2))
        .Bind(16, static_cast<float>(Round2(price * 1.35)));
    article.Run();
    ++articles;
  };
  auto addEan = [&](qint64 codart, const QString& code) {
    ean.Bind(1, codart).Bind(2, code);
    ean.Run();
    ++eans;
  };

  qint64 code = slot * 1000000LL;
  for (int p : carried_[slot - 1]) {
    const PoolArticle& a = pool_[p];
    ++code;
    double price = Round2(a.price * a.pack * level * (0.92 + rng.Unit() * 0.16));
    QString eanCode = a.ean;
    QString desart = a.desart;
    if (const Conversion* c = ConversionFor(slot, p)) {
      eanCode = c->altEan;
      if (c->action == QLatin1String("D")) {  // sold by the carton of `factor` units
        price = Round2(price * c->factor);
        desart += QStringLiteral(" CRT X%1").arg(c->factor);
      } else {  // sold by the single unit of a pack of `factor`
        price = Round2(price / c->factor);
        desart += QStringLiteral(" SINGOLO");
      }
    }
    addArticle(code, eanCode, desart, *a.cat, a.pack, std::max(0.05, price));
    addEan(code, eanCode);
    if (rng.Below(100) < 3) {  // an older EAN still printed on some stock
      addEan(code, Ean13(QStringLiteral("82") + Digits(slot * 100000000LL + code % 100000000, 10)));
    }
  }
  // In-house codes of weighed goods: their EANs begin with 000000 or 000002 and are never
  // compared.
  const char* const weighed[] = {"PROSCIUTTO COTTO AL TAGLIO", "MORTADELLA AL TAGLIO",
                                 "PECORINO ROMANO AL KG", "PANE CASERECCIO AL KG",
                                 "OLIVE VERDI SFUSE"};
  for (int i = 0; i < 5; ++i) {
    ++code;
    const QString prefix = i % 2 == 0 ? QStringLiteral("000000") : QStringLiteral("000002");
    const QString e = Ean13(prefix + Digits(slot * 1000 + i * 37 + 11, 6));
    addArticle(code, e, QString::fromLatin1(weighed[i]), Categories()[5], 1,
               Round2(8.5 + i * 2.1 * level));
    addEan(code, e);
    ++inHouse;
  }

  auto groups =
      database->Prepare(QStringLiteral("insert into gruppi (codice, descrizione) values (?,?)"));
  for (const auto& cat : Categories()) {
    groups.Bind(1, cat.code).Bind(2, QString::fromLatin1(cat.name));
    groups.Run();
  }
  // The price list runs to the end of next month.
  const QDate listEnd = today.addMonths(1);
  database->Execute(
      QStringLiteral("update listini set note = ?, datafine = ? where codlis = '01'"),
      {QStringLiteral("LISTINO %1 %2").arg(sup.name, today.toString("MM/yyyy")),
       QDate(listEnd.year(), listEnd.month(), listEnd.daysInMonth()).toString("dd/MM/yyyy")});
  database->Execute(
      QStringLiteral("insert into clienti (codcliente, dsccliente, listino) values (?,?,?)"),
      {1, s_.storeName, "01"});
  tx.Commit();
  return {QStringLiteral("  %1 (fornitore %2): %3 articoli, %4 EAN, %5 offerte in corso, %6 "
                         "scadute, %7 codici interni")
              .arg(sup.name)
              .arg(slot)
              .arg(articles)
              .arg(eans)
              .arg(current)
              .arg(expired)
              .arg(inHouse)};
}

QStringList DemoWriter::FillMain(const QString& host) {
  auto database = db::Database::Open(host);
  db::Transaction tx(*database);
  database->Execute(
      QStringLiteral("insert into commessi (codcommesso, dsccommesso, password, auto_start) "
                     "values (?,?,?,?)"),
      {2, "GIULIA ROSSI", "giulia", Variant::null()});
  database->Execute(
      QStringLiteral("insert into commessi (codcommesso, dsccommesso, password, auto_start) "
                     "values (?,?,?,?)"),
      {3, "MARCO BIANCHI", "marco", Variant::null()});
  database->Execute(
      QStringLiteral("update utenti set indirizzo = ?, cap = ?, [località] = ?, pr = ?, "
                     "piva = ?, telefono1 = ?, [attività] = ? where codutente = 1"),
      {"VIA ROMA 12", "70121", "BARI", "BA", "01234567890", "080 5550123", "ALIMENTARI"});

  const QString drive = QString(s_.drive);
  for (const auto& sup : DemoSuppliers()) {
    const QString folder = drive + QStringLiteral(":\\") + sup.folder;
    // The VARU catalogue lives where its import writes it, on drive C.
    const QString base = sup.folder == QLatin1String("varu") ? QStringLiteral("C:\\varu") : folder;
    database->Execute(
        QStringLiteral("insert into fornitori (codice, descr, percorso, perce, programma, flagconv, "
                       "flagdes, codfor, creazioneordine) values (?,?,?,?,?,?,?,?,?)"),
        {sup.slot, sup.name, base + QStringLiteral("\\dati.mdb"), 0.0f,
         folder + QStringLiteral("\\") + sup.program, "0", "0", sup.slot, 0});
  }

  // Conversion rows of slot 1: its own EAN keeps its price, the other slot's alternative
  // EAN is converted by the factor and the action.
  for (const auto& c : conversions_) {
    const PoolArticle& a = pool_[c.pool];
    std::vector<Variant> v = {
        1, a.ean, a.desart, 1, "M", a.ean, Variant::null(), Variant::null(), Variant::null()};
    v[4 + c.slot] = c.altEan;
    v.push_back(c.factor);
    v.push_back(c.action);
    database->Execute(
        QStringLiteral("insert into eanconv (codfor, ean, desart, fatconv, azione, "
                       "eanalternativo, eanalternativo2, eanalternativo3, eanalternativo4, "
                       "fatconv%1, azione%1) values (?,?,?,?,?,?,?,?,?,?,?)")
            .arg(c.slot),
        v);
  }

  // The store's own price list, for the articles it sells of its own.
  auto price =
      database->Prepare(QStringLiteral("insert into listi01 (codart, cobart) values (?,?)"));
  auto link = database->Prepare(QStringLiteral("insert into codean (codare, eanare) values (?,?)"));
  int own = 0;
  for (int p = 0; p < poolSize_; p += 2) {
    const qint64 codart = 500000 + p;
    price.Bind(1, codart).Bind(2, static_cast<float>(Round2(pool_[p].price * pool_[p].pack)));
    price.Run();
    link.Bind(1, codart).Bind(2, pool_[p].ean);
    link.Run();
    ++own;
  }
  tx.Commit();
  return {QStringLiteral("  archivio principale: 3 operatori, 4 fornitori, %1 righe di "
                         "conversione EAN, %2 articoli nel listino del negozio")
              .arg(conversions_.size())
              .arg(own)};
}

}  // namespace

const std::vector<DemoSupplier>& DemoSuppliers() {
  static const std::vector<DemoSupplier> s = {
      {1, "VARU", "varu", "varu.exe"},
      {2, "APULIA", "apulia", "apulia.exe"},
      {3, "DIZA", "diza", "ordini.exe"},
      {4, "CORVALIA", "corvalia", "corvalia.exe"},
  };
  return s;
}

QStringList FillDemo(const QString& mainDbHost, const std::vector<QString>& supplierDbHosts,
                     const DemoSettings& settings) {
  DemoWriter writer(settings);
  QStringList lines;
  for (int slot = 1; slot <= 4 && slot <= static_cast<int>(supplierDbHosts.size()); ++slot) {
    lines << writer.FillSupplier(supplierDbHosts[slot - 1], slot);
  }
  lines << writer.FillMain(mainDbHost);
  lines << FillDemoSlotConversions(mainDbHost, supplierDbHosts);
  return lines;
}

}  // namespace vx::tools
