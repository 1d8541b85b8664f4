// "Crea Ordini" of the three-supplier grid, writing into real supplier databases.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QLabel>
#include <QPushButton>

#include "common/shared_values.h"
#include "comparison3/grid3_fixture.h"
#include "platform/ui/textbox.h"

namespace vx::comparison3::testing {
namespace {

struct Line {
  qint64 bns, articoli;
  double prezzo, quantita, colli, totrig;
  QString unitaM, descrizione, eanrig;
};

class Cnf02TOrdersTest : public Grid3Test {
 protected:
  void AddArticle(int slot, qint64 codart, const QString& ean) {
    auto sup = Supplier(slot);
    sup->Execute("insert into articolo (codart, desart, przart) values (?, 'CATALOGO', 1)",
                 {Variant(codart)});
    AddEanOnly(slot, codart, ean);
  }
  void AddEanOnly(int slot, qint64 codart, const QString& ean) {
    Supplier(slot)->Execute("insert into codean (codare, eanare) values (?, ?)",
                            {Variant(codart), Variant(ean)});
  }
  void AddStoreCost(qint64 codart, const QString& ean, double cobart) {
    main_->Execute("insert into listi01 (codart, cobart) values (?, ?)",
                   {Variant(codart), Variant(cobart)});
    main_->Execute("insert into codean (codare, eanare) values (?, ?)",
                   {Variant(codart), Variant(ean)});
  }
  std::vector<Line> Lines(int slot, int numero) {
    std::vector<Line> out;
    auto st = Supplier(slot)->Prepare(
        "select bns, articoli, prezzo, quantita, colli, totrig, unitaM, descrizione, eanrig "
        "from movimenti where bannoc = 2026 and bnumer = ? order by bns");
    st.Bind(1, Variant(numero));
    while (st.Step()) {
      out.push_back({st.Column(0).toLong(), st.Column(1).toLong(), st.Column(2).toDouble(),
                     st.Column(3).toDouble(), st.Column(4).toDouble(), st.Column(5).toDouble(),
                     st.Column(6).str(), st.Column(7).str(), st.Column(8).str()});
    }
    st.Reset();
    return out;
  }
  QList<qint64> Orders(int slot) {
    QList<qint64> out;
    auto st = Supplier(slot)->Prepare("select numero from testa where anno = 2026 order by numero");
    while (st.Step()) out << st.Column(0).toLong();
    st.Reset();
    return out;
  }
};

TEST_F(Cnf02TOrdersTest, FirstOrderOfTheYearWithItsThreePricesAndYesClears) {
  AddSupplier(1, "Brunelvatto");
  AddSupplier(2, "Apulia");
  AddSupplier(3, "Corvalia");
  AddArticle(1, 501, Ean(1));
  AddArticle(1, 503, Ean(3));
  AddEanOnly(1, 777, Ean(4));  // an EAN whose code names no article
  AddStoreCost(900, Ean(2), 3.5);
  AddStoreCost(800, Ean(2), 2.5);  // the lowest code is taken
  AddStoreCost(810, Ean(4), 4.75);
  const QString longName = "OLIO EXTRA VERGINE DI OLIVA 1 LITRO BOTTIGLIA";
  Add({Ean(1), longName, {1.5, 0.0, 0.0}, {3, 4, 0}, "X", "PZ", 12});
  Add({Ean(2), "B", {9.99, 0.0, 0.0}, {2, 0, 0}, "X"});
  Add({Ean(3), "C", {1.2345, 0.0, 0.0}, {1, 0, 0}, "X"});
  Add({Ean(4), "D", {7.0, 0.0, 0.0}, {1, 0, 0}, "X"});
  Add({Ean(5), "E", {7.0, 0.0, 0.0}, {1, 0, 0}, "X"});  // nowhere: 0
  Add({Ean(6), "F", {1.0, 0.0, 0.0}, {Variant::null(), 0, 0}, "X"});
  Add({Ean(7), "G", {1.0, 0.0, 0.0}, {0, 0, 0}, "X"});
  Add({Ean(8), "H", {1.0, 0.0, 0.0}, {-2, 0, 0}, "X"});
  Open();
  boxes_->Answer(ui::MsgAnswer::Yes);
  w_->Command4->click();

  // No orders in the year: number 1 without a question; only the closing one is asked.
  ASSERT_EQ(boxes_->Texts(),
            QStringList{"Elaborazione completata con successo. Vuoi pulire i colli?"});
  EXPECT_EQ(boxes_->Boxes()[0].defaultButton, ui::MsgAnswer::Yes);
  EXPECT_EQ(Orders(1), QList<qint64>{1});
  EXPECT_EQ(Orders(2), QList<qint64>{1});
  EXPECT_TRUE(Orders(3).isEmpty());
  const std::vector<Line> lines = Lines(1, 1);
  ASSERT_EQ(lines.size(), 5u);  // Null, 0 and negative packages give no line
  const Line& first = lines[0];
  EXPECT_EQ(first.bns, 1);
  EXPECT_EQ(first.articoli, 501);
  EXPECT_DOUBLE_EQ(first.prezzo, 1.5);
  EXPECT_DOUBLE_EQ(first.quantita, 3);
  EXPECT_DOUBLE_EQ(first.colli, 36);
  EXPECT_DOUBLE_EQ(first.totrig, 54);
  EXPECT_EQ(first.unitaM, "PZ");
  EXPECT_EQ(first.descrizione, longName.left(30));
  EXPECT_EQ(first.eanrig, Ean(1));
  const std::pair<qint64, double> priced[] = {{0, 2.5}, {503, 1.23}, {0, 4.75}, {0, 0}};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(lines[i + 1].eanrig, Ean(qint64(i) + 2));
    EXPECT_EQ(lines[i + 1].articoli, priced[i].first) << i;
    EXPECT_DOUBLE_EQ(lines[i + 1].prezzo, priced[i].second) << i;
  }
  EXPECT_DOUBLE_EQ(lines[2].totrig, 14.76);  // 1.23 x 12
  ASSERT_EQ(Lines(2, 1).size(), 1u);
  EXPECT_EQ(Lines(2, 1)[0].articoli, 0);

  // Yes cleared every row with packages; the Null row is no such row.
  EXPECT_EQ(Count("where colli1 + colli2 + colli3 > 0"), 0);
  EXPECT_EQ(Column(Ean(1), "sel").str(), " ");
  EXPECT_EQ(Column(Ean(8), "colli1").toLong(), -2);
  EXPECT_EQ(w_->Label3->text(), "Elaborazione in corso. Attendere prego...");
  EXPECT_TRUE(w_->isEnabled());
}

TEST_F(Cnf02TOrdersTest, TheViewPicksTheSlotsAndNoAddsToTheLastOrder) {
  AddSupplier(1, "Brunelvatto");
  AddSupplier(2, "Apulia");
  AddSupplier(3, "Corvalia");
  auto sup1 = Supplier(1);
  sup1->Execute("insert into testa (anno, numero, cliente) values (2026, 4, 1)");
  for (int bns : {1, 2}) {
    sup1->Execute("insert into movimenti (bannoc, bnumer, bns) values (2026, 4, ?)",
                  {Variant(bns)});
  }
  Add({Ean(1), "UNO", {1.0, 1.0, 1.0}, {1, 1, 0}, "X"});
  Add({Ean(2), "DUE", {1.0, 1.0, 1.0}, {0, 3, 0}, "X"});
  Add({Ean(3), "TRE", {1.0, 1.0, 1.0}, {0, 0, 5}, "X"});
  Open();
  Search(w_->ricw, "UNO");
  boxes_->Answer(ui::MsgAnswer::No).Answer(ui::MsgAnswer::No);
  w_->Command4->click();
  EXPECT_EQ(boxes_->Texts().size(), 2);
  EXPECT_EQ(boxes_->Boxes()[0].title, "Creazione ordine");
  EXPECT_EQ(Orders(1), QList<qint64>{4});
  EXPECT_EQ(Lines(1, 4).size(), 3u);
  EXPECT_EQ(Lines(1, 4)[2].bns, 3);
  // One visible row brings the slot's hidden rows too; slot 3 is hidden entirely.
  ASSERT_EQ(Lines(2, 1).size(), 2u);
  EXPECT_EQ(Lines(2, 1)[1].eanrig, Ean(2));
  EXPECT_TRUE(Orders(3).isEmpty());
  EXPECT_EQ(Column(Ean(2), "colli2").toLong(), 3);  // No keeps the packages

  // Again from the same packages: asked first; then Yes gives new numbers.
  boxes_->Clear();
  boxes_->Answer(ui::MsgAnswer::Yes)
      .Answer(ui::MsgAnswer::Yes)
      .Answer(ui::MsgAnswer::Yes)
      .Answer(ui::MsgAnswer::No);
  w_->Command4->click();
  ASSERT_EQ(boxes_->Texts().size(), 4);
  EXPECT_TRUE(boxes_->Texts()[0].contains("Brunelvatto"));
  EXPECT_EQ(Orders(1), (QList<qint64>{4, 5}));
  EXPECT_EQ(Orders(2), (QList<qint64>{1, 2}));
  EXPECT_EQ(Lines(1, 5)[0].bns, 1);
}

TEST_F(Cnf02TOrdersTest, AFailingSecondSlotKeepsItsPackagesAndIsNamed) {
  AddSupplier(1, "Brunelvatto");
  AddSupplier(2, "Apulia");
  AddSupplier(3, "Corvalia");
  {
    auto sup2 = Supplier(2);
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(sup2->handle(),
                           "create trigger no_lines before insert on movimenti begin "
                           "select raise(abort, 'disco pieno'); end",
                           nullptr, nullptr, &error),
              SQLITE_OK);
  }
  Add({Ean(1), "UNO", {1.0, 1.0, 1.0}, {2, 3, 0}, "X"});
  Add({Ean(2), "DUE", {1.0, 1.0, 1.0}, {0, 0, 1}, "X"});
  Open();
  boxes_->Answer(ui::MsgAnswer::Yes);
  w_->Command4->click();
  const QStringList texts = boxes_->Texts();
  ASSERT_EQ(texts.size(), 2);
  EXPECT_TRUE(texts[0].contains("disco pieno"));
  EXPECT_EQ(texts[1],
            "Elaborazione terminata con errori: ordini non creati per Apulia. Vuoi pulire i "
            "colli degli ordini creati?");
  EXPECT_TRUE(Orders(2).isEmpty());
  EXPECT_EQ(Orders(1), QList<qint64>{1});
  EXPECT_EQ(Orders(3), QList<qint64>{1});
  // Yes cleared the written slots only.
  EXPECT_EQ(Column(Ean(1), "colli1").toLong(), 0);
  EXPECT_EQ(Column(Ean(1), "colli2").toLong(), 3);
  EXPECT_EQ(Column(Ean(1), "sel").str(), "X");
  EXPECT_EQ(Column(Ean(2), "colli3").toLong(), 0);
  EXPECT_EQ(Column(Ean(2), "sel").str(), " ");
}

}  // namespace
}  // namespace vx::comparison3::testing
