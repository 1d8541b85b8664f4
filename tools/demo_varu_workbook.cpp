#include "demo_varu_workbook.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <map>
#include <random>

#include "data_drive.h"
#include "ean13.h"
#include "platform/db/database.h"
#include "workbook_writer.h"

namespace vx::tools {

namespace {

double Round2(double v) { return std::round(v * 100.0) / 100.0; }

Variant DateCell(const QDate& d) { return Variant::fromDayNumber(QDate(1899, 12, 30).daysTo(d)); }

struct Line {
  qint64 code;
  QString ean, description, unit, iva;
  double price;
  int pack;
};

}  // namespace

QStringList MakeDemoVaruWorkbook(const QString& varuDbHost, const QString& workbookHost,
                                 const QDate& today, unsigned seed, int newCodes) {
  auto db = db::Database::Open(varuDbHost);
  std::map<qint64, QString> groups;
  {
    auto st = db->Prepare(QStringLiteral("select codice, descrizione from gruppi order by codice"));
    while (st.Step()) groups[st.Column(0).toLong()] = st.Column(1).str();
    st.Reset();
  }
  std::map<qint64, std::vector<Line>> byGroup;
  qint64 highest = 0;
  {
    auto st = db->Prepare(QStringLiteral(
        "select codart, ea1art, desart, przart, ivart, imbart, umart, codrep from articolo "
        "order by codart"));
    while (st.Step()) {
      Line l{st.Column(0).toLong(),
             st.Column(1).str(),
             st.Column(2).str(),
             st.Column(6).str(),
             st.Column(4).str(),
             st.Column(3).toDouble(),
             static_cast<int>(st.Column(5).toLong())};
      highest = std::max(highest, l.code);
      byGroup[st.Column(7).toLong()].push_back(l);
    }
    st.Reset();
  }
  if (byGroup.empty()) throw SetupError(QStringLiteral("Il catalogo VARU è vuoto."));

  std::mt19937 rng(seed * 7 + 3);
  auto below = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  // New codes join the first group.
  std::vector<Line>& first = byGroup.begin()->second;
  const char* const fresh[] = {"CRACKERS INTEGRALI",  "FETTE BISCOTTATE AL FARRO",
                               "SUCCO ARANCIA ROSSA", "TE VERDE AL LIMONE",
                               "PESTO ALLA GENOVESE", "GALLETTE DI MAIS"};
  for (int i = 0; i < newCodes; ++i) {
    Line l;
    l.code = highest + 1 + i;
    l.ean = Ean13(QStringLiteral("8039") +
                  QStringLiteral("%1").arg(500000 + i * 37, 8, 10, QLatin1Char('0')));
    l.description =
        QStringLiteral("%1 NOVITA %2").arg(QString::fromLatin1(fresh[i % 6])).arg(i + 1);
    l.unit = QStringLiteral("CT");
    l.iva = QStringLiteral("10");
    l.price = Round2(1.5 + below(900) / 100.0);
    l.pack = 6 + below(3) * 6;
    first.push_back(l);
  }

  BookSheet sheet{QStringLiteral("1"), {}};
  auto put = [&](int r, int c, const Variant& v) { sheet.cells.push_back({r, c, v}); };
  const std::pair<int, const char*> titles[] = {
      {2, "GRUPPO"}, {6, "DESCRIZIONE"},      {9, "PREZZO"}, {11, "OFFERTA"}, {12, "DAL"},
      {13, "AL"},    {15, "PREZZO PUBBLICO"}, {17, "IVA"},   {20, "EAN"},     {21, "UM"},
      {22, "PEZZI"}};
  for (const auto& [c, t] : titles) put(1, c, QString::fromLatin1(t));
  put(1, 5, QStringLiteral("LISTINO VARU %1").arg(today.toString(QStringLiteral("MM/yyyy"))));
  int row = 1, offers = 0, changed = 0, articles = 0;
  for (auto& [code, lines] : byGroup) {
    ++row;
    put(row, 2, groups.count(code) ? groups[code] : QStringLiteral("GRUPPO %1").arg(code));
    put(row, 20, static_cast<double>(code));
    put(row, 22, 1.0);
    for (const Line& l : lines) {
      ++row;
      ++articles;
      double price = l.price;
      if (below(100) < 40) {
        price = Round2(price * (0.94 + below(130) / 1000.0));
        ++changed;
      }
      put(row, 5, static_cast<double>(l.code));
      const qsizetype half = std::min<qsizetype>(l.description.size(), 30);
      put(row, 6, l.description.left(half));
      if (l.description.size() > half) put(row, 7, l.description.mid(half));
      put(row, 9, price);
      put(row, 15, Round2(price * 1.35 / std::max(1, l.pack)));
      put(row, 17, l.iva.toDouble());
      put(row, 20, l.ean.toDouble());
      if (l.unit != QLatin1String("CT")) put(row, 21, l.unit);
      put(row, 22, static_cast<double>(l.pack));
      const int roll = below(100);
      if (roll < 10) {  // an offer: most running today, some starting later
        const QDate from = roll < 7 ? today.addDays(-1 - below(6)) : today.addDays(3 + below(5));
        put(row, 11, Round2(price * 0.85));
        if (roll % 2) {
          put(row, 12, DateCell(from));
          put(row, 13, DateCell(from.addDays(14)));
        } else {
          put(row, 12, from.toString(QStringLiteral("dd/MM/yyyy")));
          put(row, 13, from.addDays(14).toString(QStringLiteral("dd/MM/yyyy")));
        }
        ++offers;
      }
    }
  }
  QDir().mkpath(QFileInfo(workbookHost).absolutePath());
  QString error;
  const bool xls = workbookHost.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive);
  if (!(xls ? WriteXls(workbookHost, {sheet}, {}, &error)
            : WriteXlsx(workbookHost, {sheet}, {}, &error))) {
    throw SetupError(
        QStringLiteral("Impossibile scrivere il listino VARU %1: %2").arg(workbookHost, error));
  }
  return {QStringLiteral("  listino Excel VARU %1: %2 articoli (%3 nuovi, %4 prezzi cambiati, %5 "
                         "offerte), %6 gruppi")
              .arg(workbookHost)
              .arg(articles)
              .arg(newCodes)
              .arg(changed)
              .arg(offers)
              .arg(byGroup.size())};
}

}  // namespace vx::tools
