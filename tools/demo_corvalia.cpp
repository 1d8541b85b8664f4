#include "demo_corvalia.h"

#include <QDir>
#include <cmath>
#include <random>

#include "data_drive.h"
#include "ean13.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/files.h"

namespace vx::tools {

namespace {

QString Digits(qint64 n, int width) {
  return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

QString Blanks(int n) { return QString(n, QLatin1Char(' ')); }

struct NewArticle {
  const char* description;  // UTF-8
  qint64 hundredths;
  const char* vat;
  const char* unit;
  int pack;
};

// Articles the list brings that the catalogue does not have yet.
const NewArticle kNewArticles[] = {
    {"CAFFÈ MACINATO MOKA 250G", 1290, "22", "CT", 20},
    {"TÈ VERDE 20 FILTRI", 1540, "22", "CT", 12},
    {"PANETTONE TRADIZIONALE 1KG", 6480, "10", "CT", 6},
    {"GNOCCHI DI PATATE 500G", 1530, "04", "CT", 12},
    {"CIOCCOLATO AL LATTE 100G", 2160, "10", "PZ", 24},
};

}  // namespace

QString CorvaliaLineB(const QString& code, const QString& description, qint64 hundredths) {
  // 1-9 code, 10-44 description, 45-61 not read, 62-74 price in hundredths, then more.
  return FixedText(code, 9) + FixedText(description, 35) + Blanks(17) + Digits(hundredths, 13) +
         QStringLiteral("CORV") + Blanks(25) + QStringLiteral("F");
}

QString CorvaliaLineT(const QString& code, QChar separator, const QString& barcode) {
  return FixedText(code, 9) + separator + barcode;
}

QString CorvaliaLineA(const QString& code, const QString& vat, const QString& unit, int pack) {
  // 1-9 code, 66-67 VAT code, 69-70 unit, 96-98 pack.
  return FixedText(code, 9) + Blanks(56) + FixedText(vat, 2) + QStringLiteral(" ") +
         FixedText(unit, 2) + Blanks(25) + FixedText(QString::number(pack), 3) +
         QStringLiteral("    00");
}

CorvaliaTexts MakeCorvaliaTexts(const QString& catalogueHost, unsigned seed) {
  auto database = db::Database::Open(catalogueHost);
  std::mt19937 rng(seed * 97 + 4);
  CorvaliaTexts out;
  out.b << QStringLiteral("LISTINO CORVALIA - ARTICOLI E PREZZI");
  out.t << QStringLiteral("CODICI A BARRE");
  out.a << QStringLiteral("DATI AGGIUNTIVI ARTICOLI");

  qint64 last = 0;
  auto articles = database->Prepare(QStringLiteral(
      "select codart, desart, przart, ivart, imbart, umart from articolo order by codart"));
  while (articles.Step()) {
    const qint64 codart = articles.Column(0).toLong();
    last = std::max(last, codart);
    const QString code = Digits(codart, 9);
    const double price = articles.Column(2).toDouble();
    // The new list moves each price by up to five per cent either way.
    const double change = 0.95 + (rng() % 1001) / 10000.0;
    out.b << CorvaliaLineB(code, articles.Column(1).str(), std::llround(price * change * 100));
    out.a << CorvaliaLineA(code, articles.Column(3).str(), articles.Column(5).str(),
                           static_cast<int>(articles.Column(4).toLong()));
  }
  articles.Reset();
  auto eans = database->Prepare(
      QStringLiteral("select codare, eanare from codean order by codare, eanare"));
  while (eans.Step()) {
    out.t << CorvaliaLineT(Digits(eans.Column(0).toLong(), 9), QLatin1Char('E'),
                           eans.Column(1).str());
  }
  eans.Reset();

  int n = 0;
  for (const NewArticle& a : kNewArticles) {
    const QString code = Digits(last + 1 + n, 9);
    out.b << CorvaliaLineB(code, QString::fromUtf8(a.description), a.hundredths);
    out.a << CorvaliaLineA(code, QString::fromLatin1(a.vat), QString::fromLatin1(a.unit), a.pack);
    if (n == 1) {
      out.t << CorvaliaLineT(code, QLatin1Char('B'), Digits(80012340 + n, 8));  // an EAN-8
    } else {
      out.t << CorvaliaLineT(code, QLatin1Char('E'),
                             Ean13(QStringLiteral("83") + Digits(4711 + n, 10)));
    }
    ++n;
  }

  // Lines the passes pass over: a code or price that is no number (listed after the
  // import), a barcode line without its letter, a barcode too short, a barcode already
  // given, and a complement for a code the list does not have.
  out.b << CorvaliaLineB(QStringLiteral("00ABC0001"), QStringLiteral("RIGA DANNEGGIATA"), 100);
  QString badPrice = CorvaliaLineB(Digits(last + 50, 9), QStringLiteral("PREZZO ILLEGGIBILE"), 0);
  badPrice.replace(61, 13, QStringLiteral("     12,50   "));
  out.b << badPrice;
  out.t << QStringLiteral("%1X8000000000000").arg(Digits(last + 1, 9));
  out.t << CorvaliaLineT(Digits(last + 1, 9), QLatin1Char('E'), QStringLiteral("1234567"));
  if (out.t.size() > 1) {
    const QString repeated = out.t[1].mid(10);
    out.t << CorvaliaLineT(Digits(last + 2, 9), QLatin1Char('E'), repeated);
  }
  out.a << CorvaliaLineA(Digits(last + 900, 9), QStringLiteral("22"), QStringLiteral("PZ"), 1);
  return out;
}

QString WriteDemoCorvaliaFiles(const QString& folderHost, const QString& catalogueHost,
                               const QDate& today, unsigned seed) {
  QDir().mkpath(folderHost);
  const CorvaliaTexts texts = MakeCorvaliaTexts(catalogueHost, seed);
  const QString suffix = today.toString(QStringLiteral("MMdd")) + QStringLiteral(".TXT");
  const std::pair<QChar, const QStringList*> files[] = {
      {QLatin1Char('A'), &texts.a}, {QLatin1Char('B'), &texts.b}, {QLatin1Char('T'), &texts.t}};
  for (const auto& [letter, lines] : files) {
    const QString path = folderHost + QLatin1Char('/') + letter + suffix;
    if (!fs::WriteTextLines(path, *lines)) {
      throw SetupError(QStringLiteral("Impossibile scrivere il file %1.").arg(path));
    }
  }
  return QStringLiteral(
             "  listino CORVALIA in formato testo: %1 righe tipo B, %2 tipo T, %3 tipo "
             "A in %4")
      .arg(texts.b.size())
      .arg(texts.t.size())
      .arg(texts.a.size())
      .arg(folderHost);
}

}  // namespace vx::tools
