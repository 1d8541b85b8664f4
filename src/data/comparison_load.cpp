#include "data/comparison_load.h"

#include "platform/clock.h"
#include "platform/db/database.h"

namespace vx::data {

namespace {
const QString kTable = QStringLiteral("caricamentoconfronto");
}  // namespace

void MarkLoadBegun(db::Database& main) {
  if (!main.HasTable(kTable)) {
    main.Execute(QStringLiteral("create table [caricamentoconfronto] ([inizio] datetime)"));
  }
  if (LoadUnderWay(main)) return;
  main.Execute(QStringLiteral("insert into caricamentoconfronto (inizio) values (?)"),
               {Variant(Now())});
}

void MarkLoadEnded(db::Database& main) {
  if (main.HasTable(kTable)) main.Execute(QStringLiteral("delete from caricamentoconfronto"));
}

bool LoadUnderWay(db::Database& main) {
  if (!main.HasTable(kTable)) return false;
  auto st = main.Prepare(QStringLiteral("select count(*) from caricamentoconfronto"));
  const bool underWay = st.Step() && st.Column(0).toLong() > 0;
  st.Reset();
  return underWay;
}

}  // namespace vx::data
