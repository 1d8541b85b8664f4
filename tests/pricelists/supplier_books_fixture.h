// The SDA, RBM and SEMVRA catalogues on drive C beside the VARU one, workbooks written into
// their folders in either format, and the import window opened on them.
#pragma once

#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>

#include "data/shipped_schema.h"
#include "platform/paths.h"
#include "platform/ui/filelist.h"
#include "platform/ui/textbox.h"
#include "pricelists/lis06b.h"
#include "pricelists/pricelist_fixture.h"

namespace vx::pricelists::testing {

class SupplierBooksFixture : public PricelistFixture {
 protected:
  void SetUp() override {
    PricelistFixture::SetUp();
    for (const char* s : {"sda", "rbm", "semvra"}) {
      const QString folder = QStringLiteral("C:\\") + QString::fromLatin1(s);
      ASSERT_TRUE(fs::CreateFolder(folder));
      dbs_[s] = data::CreateSupplierDatabase(Host(folder + QStringLiteral("\\dati.mdb")));
    }
  }
  void TearDown() override {
    ui::Forms::Unload<lis06b>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    dbs_.clear();
    PricelistFixture::TearDown();
  }

  // Rows from row 1 as sheet `sheet` of C:\<folder>\<name>.
  void Book(const QString& folder, const QString& name, const QString& sheet,
            const std::vector<SheetRow>& rows) {
    tools::BookSheet s{sheet, {}};
    for (size_t i = 0; i < rows.size(); ++i) {
      for (const auto& [col, v] : rows[i]) s.cells.push_back({static_cast<int>(i) + 1, col, v});
    }
    const QString path = Host(QStringLiteral("C:\\") + folder + QStringLiteral("\\") + name);
    QString error;
    const bool xls = name.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive);
    ASSERT_TRUE(xls ? tools::WriteXls(path, {s}, {}, &error)
                    : tools::WriteXlsx(path, {s}, {}, &error))
        << error.toStdString();
  }

  // The supplier's database and queries on it.
  db::Database& Db(const char* s) { return *dbs_.at(s); }
  Variant Get(const char* s, const QString& sql, const std::vector<Variant>& params = {}) {
    auto st = Db(s).Prepare(sql);
    for (size_t i = 0; i < params.size(); ++i) st.Bind(static_cast<int>(i) + 1, params[i]);
    Variant v;
    if (st.Step()) v = st.Column(0);
    st.Reset();
    return v;
  }
  Variant Art(const char* s, qint64 codart, const QString& column) {
    return Get(s, QStringLiteral("select [%1] from articolo where codart = ?").arg(column),
               {codart});
  }
  QString Codes(const char* s, const QString& sql) {
    QStringList out;
    auto st = Db(s).Prepare(sql);
    while (st.Step()) out << st.Column(0).str();
    st.Reset();
    return out.join(QLatin1Char(' '));
  }
  void Seed(const char* s, qint64 codart, const QString& ean) {
    Db(s).Execute(QStringLiteral("insert into articolo (codart, ea1art, przart) values (?,?,?)"),
                  {codart, ean, 9.0});
    Db(s).Execute(QStringLiteral("insert into codean (codare, eanare) values (?,?)"),
                  {codart, ean});
    Db(s).Execute(QStringLiteral("insert into gruppi (codice, descrizione) values (?,?)"),
                  {codart, QStringLiteral("VECCHIO")});
  }

  static ImportRequest Req(const QString& name, const QString& first, const QString& last) {
    ImportRequest r;
    r.numfatw = name;
    r.inizw = first;
    r.finew = last;
    return r;
  }

  lis06b* Window() { return ui::Forms::Get<lis06b>(); }
  // Chooses the file in the window's list and presses "Importa" with the rows given.
  void Import(const QString& name, const QString& first, const QString& last) {
    lis06b* w = Window();
    ASSERT_TRUE(w->File1->Choose(name)) << name.toStdString();
    w->inizw->SetText(first);
    w->finew->SetText(last);
    w->Command4->click();
  }

  std::map<std::string, std::shared_ptr<db::Database>> dbs_;
};

}  // namespace vx::pricelists::testing
