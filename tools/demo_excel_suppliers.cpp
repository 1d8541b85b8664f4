#include "demo_excel_suppliers.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <cmath>
#include <random>

#include "data_drive.h"
#include "platform/db/database.h"
#include "platform/files.h"
#include "workbook_writer.h"

namespace vx::tools {

namespace {

double Round2(double v) { return std::round(v * 100.0) / 100.0; }

struct Article {
  QString ean, description;
  double price, vat;
  int pack;
};

// The articles of a catalogue with a comparable EAN, at most `most` of them.
std::vector<Article> ArticlesOf(const QString& dbHost, int most) {
  auto db = db::Database::Open(dbHost);
  auto st = db->PrepareNative(QStringLiteral(
      "select c.eanare, a.desart, a.przart, a.ivart, a.imbart from codean c inner join articolo "
      "a on c.codare = a.codart where substr(c.eanare, 1, 6) not in ('000000', '000002') "
      "order by c.eanare"));
  std::vector<Article> out;
  while (st.Step() && static_cast<int>(out.size()) < most) {
    out.push_back({st.Column(0).str(), st.Column(1).str(), st.Column(2).toDouble(),
                   st.Column(3).toDouble(), static_cast<int>(st.Column(4).toLong())});
  }
  st.Reset();
  if (out.empty()) throw SetupError(QStringLiteral("Il catalogo %1 è vuoto.").arg(dbHost));
  return out;
}

void Write(const QString& folderHost, const QString& name, const BookSheet& sheet) {
  QDir().mkpath(folderHost);
  const QString path = folderHost + QLatin1Char('/') + name;
  QString error;
  const bool xls = name.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive);
  if (!(xls ? WriteXls(path, {sheet}, {}, &error) : WriteXlsx(path, {sheet}, {}, &error))) {
    throw SetupError(QStringLiteral("Impossibile scrivere il listino %1: %2").arg(path, error));
  }
}

// A listino.txt line: the code at 55-60, the price at 116-122, the discount at 133-137.
QString PriceLine(int code, double price, int discount, const QString& description) {
  QString l = description.left(50).leftJustified(54, QLatin1Char(' '));
  l += QStringLiteral("%1").arg(code, 6, 10, QLatin1Char('0')).leftJustified(61);
  l = l.leftJustified(115, QLatin1Char(' '));
  l += QString::number(price, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')).rightJustified(7);
  l = l.leftJustified(132, QLatin1Char(' '));
  l += QString::number(discount).rightJustified(5);
  return l;
}

}  // namespace

QStringList MakeDemoExcelSupplierBooks(const QString& firstDbHost, const QString& secondDbHost,
                                       const QString& sdaFolderHost, const QString& rbmFolderHost,
                                       const QString& semvraFolderHost, const QDate& today,
                                       unsigned seed) {
  const std::vector<Article> first = ArticlesOf(firstDbHost, 60);
  const std::vector<Article> second = ArticlesOf(secondDbHost, 60);
  std::mt19937 rng(seed * 11 + 5);
  auto below = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto changed = [&](double p) { return Round2(p * (0.92 + below(160) / 1000.0)); };
  const QString month = today.toString(QStringLiteral("MM/yyyy"));
  QStringList report;

  // SDA: the note in cell (1, 1), a heading row, then groups of articles.
  {
    BookSheet s{QStringLiteral("foglio1"), {}};
    auto put = [&](int r, int c, const Variant& v) { s.cells.push_back({r, c, v}); };
    put(1, 1, QStringLiteral("LISTINO SDA %1").arg(month));
    const char* const titles[] = {"CODICE", "EAN", "DESCRIZIONE", "GRUPPO", "",
                                  "PREZZO", "",    "IVA",         "PEZZI"};
    for (int c = 0; c < 9; ++c) {
      if (*titles[c]) put(2, c + 1, QString::fromLatin1(titles[c]));
    }
    const char* const groups[] = {"101 ALIMENTARI", "102 BEVANDE", "103 DROGHERIA"};
    QStringList lines = {QStringLiteral("LISTINO PREZZI SDA %1").arg(month)};
    int row = 2, corrected = 0;
    const int count = static_cast<int>(first.size());
    for (int i = 0; i < count; ++i) {
      const Article& a = first[i];
      const int code = 1001 + i;
      ++row;
      put(row, 1, static_cast<double>(code));
      put(row, 2, a.ean.toDouble());
      put(row, 3, a.description);
      put(row, 4, QString::fromLatin1(groups[i * 3 / count]));
      put(row, 6, changed(a.price));
      put(row, 8, a.vat);
      put(row, 9, static_cast<double>(std::max(1, a.pack)));
      if (i % 3 == 0) {
        lines << PriceLine(code, changed(a.price), 5 + below(4) * 5, a.description);
        ++corrected;
      }
    }
    Write(sdaFolderHost, QStringLiteral("listino_sda.xls"), s);
    QFile text(sdaFolderHost + QStringLiteral("/listino.txt"));
    if (!text.open(QIODevice::WriteOnly) ||
        text.write(fs::ToCp1252(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"))) < 0) {
      throw SetupError(QStringLiteral("Impossibile scrivere %1.").arg(text.fileName()));
    }
    report << QStringLiteral(
                  "  listino Excel SDA %1/listino_sda.xls: %2 articoli in 3 gruppi; "
                  "listino.txt con %3 prezzi")
                  .arg(sdaFolderHost)
                  .arg(count)
                  .arg(corrected);
  }

  // RBM: a heading row, then the articles with their group and subgroup.
  {
    BookSheet s{QStringLiteral("stampa listino 3"), {}};
    auto put = [&](int r, int c, const Variant& v) { s.cells.push_back({r, c, v}); };
    const std::pair<int, const char*> titles[] = {
        {1, "CODICE"},       {3, "EAN"},  {4, "DESCRIZIONE"}, {8, "GRUPPO"},
        {10, "SOTTOGRUPPO"}, {11, "IVA"}, {12, "PEZZI"},      {13, "PREZZO"}};
    for (const auto& [c, t] : titles) put(1, c, QString::fromLatin1(t));
    const char* const groups[] = {"ALIMENTARI", "BEVANDE", "CURA CASA"};
    int row = 1;
    for (size_t i = 0; i < second.size(); ++i) {
      const Article& a = second[i];
      ++row;
      put(row, 1, static_cast<double>(5001 + i));
      put(row, 3, a.ean.toDouble());
      put(row, 4, a.description);
      put(row, 8, QString::fromLatin1(groups[i % 3]));
      put(row, 10, QStringLiteral("REPARTO %1").arg(i % 5 + 1));
      put(row, 11, a.vat);
      put(row, 12, static_cast<double>(std::max(1, a.pack)));
      put(row, 13, changed(a.price));
    }
    Write(rbmFolderHost, QStringLiteral("listino_rbm.xlsx"), s);
    report << QStringLiteral("  listino Excel RBM %1/listino_rbm.xlsx: %2 articoli")
                  .arg(rbmFolderHost)
                  .arg(second.size());
  }

  // SEMVRA: a food list (the first catalogue's articles), a non-food list (the second's)
  // and the promotions over the food list.
  auto semvraList = [&](const QString& name, const std::vector<Article>& articles, int base) {
    BookSheet s{QStringLiteral("foglio1"), {}};
    auto put = [&](int r, int c, const Variant& v) { s.cells.push_back({r, c, v}); };
    put(1, 1, QStringLiteral("SEMVRA"));
    const std::pair<int, const char*> titles[] = {
        {1, "CODICE"}, {4, "EAN"}, {5, "DESCRIZIONE"}, {6, "PEZZI"}, {10, "PREZZO"}};
    for (const auto& [c, t] : titles) put(3, c, QString::fromLatin1(t));
    put(4, 1, QStringLiteral("LISTINO SEMVRA %1").arg(month));
    int row = 4;
    const size_t half = std::min<size_t>(articles.size(), 30);
    for (size_t i = 0; i < half; ++i) {
      const Article& a = articles[i];
      ++row;
      put(row, 1, static_cast<double>(base + i));
      put(row, 4, a.ean.toDouble());
      put(row, 5, a.description);
      put(row, 6, static_cast<double>(std::max(1, a.pack)));
      put(row, 10, changed(a.price));
    }
    Write(semvraFolderHost, name, s);
    return static_cast<int>(half);
  };
  const int food = semvraList(QStringLiteral("listino_semvra.xlsx"), first, 7001);
  // The non-food list keeps clear of the food list's EANs (a shared EAN would move the
  // food article into the non-food list).
  QSet<QString> foodEans;
  for (int i = 0; i < food; ++i) foodEans.insert(first[i].ean);
  std::vector<Article> others;
  for (const Article& a : second) {
    if (!foodEans.contains(a.ean)) others.push_back(a);
  }
  const int nonFood = semvraList(QStringLiteral("listino_semvra_NO_FOOD.xlsx"), others, 8001);
  {
    BookSheet s{QStringLiteral("foglio 1"), {}};
    auto put = [&](int r, int c, const Variant& v) { s.cells.push_back({r, c, v}); };
    const QString format = QStringLiteral("dd/MM/yyyy");
    put(1, 5, QStringLiteral("PROMOZIONI SEMVRA"));
    put(2, 5, QStringLiteral("Offerta valida dal: %1").arg(today.addDays(-3).toString(format)));
    put(3, 5, QStringLiteral("fino al: %1").arg(today.addDays(11).toString(format)));
    int row = 4, offers = 0;
    for (int i = 0; i < food; i += 3) {
      ++row;
      ++offers;
      put(row, 1, static_cast<double>(7001 + i));
      put(row, 4, first[i].ean.toDouble());
      put(row, 6, static_cast<double>(std::max(1, first[i].pack)));
      put(row, 7, Round2(first[i].price * 0.8));
    }
    Write(semvraFolderHost, QStringLiteral("promozioni_semvra.xlsx"), s);
    report << QStringLiteral(
                  "  listini Excel SEMVRA %1: alimentari %2 articoli, NO_FOOD %3 "
                  "articoli, promozioni %4 offerte dal %5 al %6")
                  .arg(semvraFolderHost)
                  .arg(food)
                  .arg(nonFood)
                  .arg(offers)
                  .arg(today.addDays(-3).toString(format), today.addDays(11).toString(format));
  }
  return report;
}

}  // namespace vx::tools
