// The purchase order of one supplier slot: N order lines (default 5,000) written against a
// catalogue of M articles (default 50,000), a fifth of the lines going through a conversion
// row with an alternative EAN and one line in fifty missing from the catalogue. Prints the
// time of the order writing and checks the lines written.
//
//   orders_bench [lines] [articles]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "common/shared_values.h"
#include "comparison/cnf02_query.h"
#include "comparison/orders.h"
#include "data/schema_upgrade.h"
#include "data/shipped_schema.h"
#include "platform/db/database.h"
#include "platform/locale_it.h"
#include "platform/paths.h"

namespace {

class NewOrderPrompts : public vx::comparison::OrderPrompts {
 public:
  bool AskNewOrder() override { return true; }
  void MissingDatabase(const QString& path) override {
    std::fprintf(stderr, "missing database %s\n", qPrintable(path));
  }
  void OrderFailed(const QString&, const QString&, const QString& reason) override {
    std::fprintf(stderr, "order failed: %s\n", qPrintable(reason));
  }
};

QString Ean(qint64 n) { return QStringLiteral("%1").arg(n, 13, 10, QLatin1Char('0')); }

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  vx::InstallItalianLocale();
  const int lines = argc > 1 ? std::atoi(argv[1]) : 5000;
  const int articles = argc > 2 ? std::atoi(argv[2]) : 50000;
  QTemporaryDir dir;
  if (!dir.isValid() || lines <= 0 || articles < lines) return 1;
  vx::fs::SetDataRoot(dir.path());

  std::printf("making a catalogue of %d articles and %d comparison rows ...\n", articles, lines);
  std::fflush(stdout);
  vx::common::SharedValues values;
  values.percorso_db = QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb");
  values.ragione_sociale = "MARKET BENCH";
  values.select_confronto = vx::comparison::GridSelect();
  const QString supplierPath = QStringLiteral("C:\\varu\\dati.mdb");
  vx::data::CreateMainDatabase(vx::fs::HostPath(values.percorso_db), QStringLiteral("BENCH"));
  vx::data::inserisco_nuovi_campi_bancaean(values.percorso_db);
  vx::fs::CreateFolder(QStringLiteral("C:\\varu"));
  vx::data::CreateSupplierDatabase(vx::fs::HostPath(supplierPath));
  auto main = vx::db::Database::Open(values.percorso_db);
  auto sup = vx::db::Database::Open(supplierPath);

  main->Execute(QStringLiteral("insert into fornitori (codice, descr, percorso) values (1, "
                               "'VARU', ?)"),
                {vx::Variant(supplierPath)});
  {
    vx::db::Transaction t(*sup);
    auto article = sup->Prepare(QStringLiteral(
        "insert into articolo (codart, desart, przart, imbart) values (?, ?, ?, 12)"));
    auto ean = sup->Prepare(QStringLiteral("insert into codean (codare, eanare) values (?, ?)"));
    for (int i = 1; i <= articles; ++i) {
      article.Reset().Bind(1, i).Bind(2, QStringLiteral("ARTICOLO DI PROVA N. %1").arg(i));
      article.Bind(3, 1.0 + (i % 97) / 10.0);
      article.Run();
      ean.Reset().Bind(1, i).Bind(2, Ean(8000000000000LL + i));
      ean.Run();
    }
    t.Commit();
  }
  {
    vx::db::Transaction t(*main);
    auto row = main->Prepare(QStringLiteral(
        "insert into articoli (vedovo, desart, umart, ivart, imballo, forn1, costo1, colli1, "
        "sel, tipoart, sequenza) values (?, 'ARTICOLO', 'CT', '22', 12, 1, ?, ?, 'X', '1', ?)"));
    auto conv = main->Prepare(
        QStringLiteral("insert into eanconv (codfor, ean, eanalternativo, fatconv, azione) values "
                       "(1, ?, ?, 6, 'M')"));
    const int step = articles / lines;
    for (int i = 1; i <= lines; ++i) {
      // One line in fifty has an EAN the catalogue lacks.
      const qint64 code = i % 50 == 0 ? 7000000000000LL + i : 8000000000000LL + i * step;
      row.Reset().Bind(1, Ean(code)).Bind(2, 2.5 + (i % 13)).Bind(3, 1 + i % 7).Bind(4, i);
      row.Run();
      if (i % 5 == 0) {
        conv.Reset().Bind(1, Ean(code)).Bind(2, Ean(8000000000000LL + i * step - 1));
        conv.Run();
      }
    }
    t.Commit();
  }

  NewOrderPrompts prompts;
  QElapsedTimer timer;
  timer.start();
  const auto result = vx::comparison::WriteSlotOrder(1, values, prompts);
  const double ms = timer.nsecsElapsed() / 1e6;

  auto count = sup->Prepare(QStringLiteral("select count(*) from movimenti"));
  const qint64 written = count.Step() ? count.Column(0).toLong() : -1;
  count.Reset();
  std::printf("order of %d lines against %d articles: %.1f ms (%.1f us a line)\n", result.lines,
              articles, ms, ms * 1000.0 / std::max(1, result.lines));
  if (result.outcome != vx::comparison::OrderOutcome::Written || written != lines) {
    std::fprintf(stderr, "expected %d lines, %lld written\n", lines,
                 static_cast<long long>(written));
    return 1;
  }
  return 0;
}
