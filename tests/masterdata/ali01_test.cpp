#include "masterdata/ali01.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/shared_values.h"
#include "masterdata/art03.h"
#include "masterdata/eanconv_fixture.h"
#include "platform/clock.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/textbox.h"

namespace vx::masterdata {
namespace {

const QString kSelect = QStringLiteral(
    "SELECT  [CodFor] ,[Ean],[Desart],[fatconv] as NXM,[Azione],[EanAlternativo],"
    "[EanAlternativo2],[EanAlternativo3],[EanAlternativo4]FROM eanconv ");
const QString kPasta = QStringLiteral("8001234567890");
const QString kRiso = QStringLiteral("8001234567906");
const QString kAceto = QStringLiteral("8005550000017");

class Ali01Test : public testing::MasterdataFixture {
 protected:
  void SetUp() override {
    MasterdataFixture::SetUp();
    AddConversion(1, kPasta, "PASTA VECCHIA", {kPasta, "8100000000011"}, {1, 6}, {"M", "D"});
    AddConversion(1, kRiso, "RISO", {"   ", "8100000000028"}, {1}, {"M"});
    AddConversion(1, kAceto, "L'ACETO *BIO*", {Variant::null()}, {1}, {"M"});
    main_->Execute("insert into eanconv (codfor, ean, desart) values (1, null, 'SENZA EAN')");
    main_->Execute("insert into eanconv (codfor, ean, desart) values (1, '8009999999999', null)");
    AddConversion(2, "8002222222222", "LATTE", {"8002222222222"}, {1}, {"M"});
    AddComparison(kPasta, "PASTA NUOVA", {});
    AddComparison("8002222222222", "LATTE INTERO", {});
  }

  ali01* Window() { return ui::Forms::Show<ali01>(); }
  // Column c of every listed row.
  QStringList Column(ali01* w, int c) {
    QStringList out;
    for (int r = 1; r < w->flex1->Rows(); ++r) out << w->flex1->TextMatrix(r, c);
    return out;
  }
  void ClickRow(ali01* w, int row) {
    ui::FlexGrid* g = w->flex1;
    const QModelIndex index = g->model()->index(row, 2);
    g->scrollTo(index);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(index).center());
  }
  void ExpectHeadingsAndWidths(ali01* w) {
    const QStringList headings{"CodFor",          "Ean",
                               "Desart",          "NXM",
                               "Azione",          "EanAlternativo",
                               "EanAlternativo2", "EanAlternativo3",
                               "EanAlternativo4"};
    for (int c = 1; c <= 9; ++c) EXPECT_EQ(w->flex1->TextMatrix(0, c), headings[c - 1]) << c;
    const int widths[] = {200, 800, 1500, 3000, 800, 800, 1800, 1800, 1800, 1800};
    // Widths are kept in whole pixels of 15 twips.
    for (int c = 0; c <= 9; ++c) EXPECT_NEAR(w->flex1->ColWidth(c), widths[c], 7.5) << c;
  }
};

TEST_F(Ali01Test, LoadListsSlotOneByDescriptionWithTheComparisonDescriptions) {
  common::G().anno = 1999;
  SetClock([] { return QDateTime(QDate(2026, 5, 4), QTime(9, 0)); });
  ali01* w = Window();
  SetClock({});
  EXPECT_EQ(w->Caption(), "Tabella fattori moltiplicatori/divisori");
  EXPECT_EQ(w->Label9->text(), "Azione: M=moltiplica,D=Divide");
  EXPECT_EQ(w->Command4->toolTip(), "Trasferisce ean da 1 > 2");
  EXPECT_EQ(w->Label2->text().trimmed(), "MARKET BELLAVISTA");
  EXPECT_EQ(w->Data1->RecordSource, kSelect + " WHERE codfor = 1  ORDER BY [desart]");
  EXPECT_EQ(common::G().codice_fornitore, 1);
  EXPECT_EQ(common::G().anno, 2026);
  EXPECT_TRUE(w->fo1->isChecked());
  ExpectHeadingsAndWidths(w);
  // The EAN the comparison table holds took its description; the others kept theirs.
  EXPECT_EQ(Conversion(1, kPasta, "desart").str(), "PASTA NUOVA");
  EXPECT_EQ(Conversion(1, kRiso, "desart").str(), "RISO");
  EXPECT_EQ(Conversion(2, "8002222222222", "desart").str(), "LATTE");  // another slot
  EXPECT_EQ(Column(w, 3), (QStringList{"", "L'ACETO *BIO*", "PASTA NUOVA", "RISO", "SENZA EAN"}));
  EXPECT_EQ(Column(w, 4), (QStringList{"", "1", "1", "1", ""}));
  // The current EAN is left on the last listed row's.
  EXPECT_EQ(common::G().ean_corrente.str(), "             ");
}

TEST_F(Ali01Test, OptionsListTheirSlotByEanWithTheirFixedTexts) {
  ali01* w = Window();
  w->fo2->click();
  EXPECT_EQ(w->Data1->RecordSource,
            "SELECT  [CodFor] ,[Ean],[Desart],[fatconv] as NXM,[Azione],[EanAlternativo],"
            "[EanAlternativo2],[EanAlternativo3],[EanAlternativo4] FROM eanconv  WHERE codfor = 2 "
            "ORDER BY [ean]");
  EXPECT_EQ(w->sql_where, " WHERE codfor = 2 ");
  EXPECT_EQ(common::G().codice_fornitore, 2);
  EXPECT_EQ(Column(w, 3), QStringList{"LATTE INTERO"});  // vedo ran for slot 2
  // An empty slot: the headings and the widths only.
  w->f03->click();
  EXPECT_EQ(w->flex1->Rows(), 1);
  ExpectHeadingsAndWidths(w);
  // Typing after choosing slot 3 lists only slot 3.
  QTest::keyClicks(w->ricw, "A");
  EXPECT_EQ(w->flex1->Rows(), 1);
  w->fo1->click();
  EXPECT_EQ(w->Data1->RecordSource, kSelect.chopped(QString("FROM eanconv ").size()) +
                                        "FROM eanconv  WHERE codfor = 1 ORDER BY [ean]");
  EXPECT_EQ(Column(w, 2).first(), "");  // Null EAN sorts first
}

TEST_F(Ali01Test, SearchesNarrowTheSlotAsTypedAndByContainsOnEnter) {
  ali01* w = Window();
  QFocusEvent focus(QEvent::FocusIn);
  QCoreApplication::sendEvent(w->ricw, &focus);
  EXPECT_EQ(ui::ToVbColor(ui::BackColor(w->ricw)), ui::kVbYellow);

  QTest::keyClicks(w->ricw, "PB");
  EXPECT_EQ(w->Data1->RecordSource,
            kSelect + " WHERE codfor = 1  and desart >= 'PB'  ORDER BY [desart]");
  EXPECT_EQ(Column(w, 3), (QStringList{"RISO", "SENZA EAN"}));
  // A quote is taken as typed, "*" as the wildcard.
  w->ricw->clear();
  QTest::keyClicks(w->ricw, "'ACETO *");
  QTest::keyClick(w->ricw, Qt::Key_Return);
  EXPECT_EQ(Column(w, 3), QStringList{"L'ACETO *BIO*"});
  EXPECT_TRUE(boxes_.Texts().isEmpty());
  // Emptied, the box lists every row but the Null description; Enter brings it back.
  w->ricw->clear();
  EXPECT_EQ(w->flex1->Rows(), 5);
  QTest::keyClick(w->ricw, Qt::Key_Return);
  EXPECT_EQ(w->Data1->RecordSource, kSelect + " WHERE codfor = 1  ORDER BY [desart]");
  EXPECT_EQ(w->flex1->Rows(), 6);

  QTest::keyClicks(w->eanw, "80012345678901234");
  EXPECT_EQ(w->eanw->Text(), "8001234567890");
  w->eanw->clear();
  QTest::keyClicks(w->eanw, "8005");
  EXPECT_EQ(w->Data1->RecordSource,
            kSelect + " WHERE codfor = 1  and ean >= '8005'  ORDER BY [ean]");
  EXPECT_EQ(Column(w, 2), (QStringList{kAceto, "8009999999999"}));
  w->eanw->clear();
  QTest::keyClicks(w->eanw, "2345");
  QTest::keyClick(w->eanw, Qt::Key_Return);
  EXPECT_EQ(Column(w, 2), (QStringList{kPasta, kRiso}));
  EXPECT_TRUE(boxes_.Texts().isEmpty());
}

TEST_F(Ali01Test, AHashInTheEanSearchStandsForOneDigit) {
  AddConversion(1, "8000000000103", "OLIO", {}, {1}, {"M"});
  AddConversion(1, "800000000010#", "SEGNO", {}, {1}, {"M"});
  ali01* w = Window();
  QTest::keyClicks(w->eanw, "800000000010#");
  QTest::keyClick(w->eanw, Qt::Key_Return);
  EXPECT_EQ(Column(w, 2), QStringList{"8000000000103"});
  EXPECT_TRUE(boxes_.Texts().isEmpty());
}

TEST_F(Ali01Test, TransferMovesNonBlankFirstAlternativesOfTheListedRowsOnYes) {
  ali01* w = Window();
  boxes_.Answer(ui::MsgAnswer::No);
  w->Command4->click();
  EXPECT_EQ(Conversion(1, kPasta, "eanalternativo").str(), kPasta);
  boxes_.Answer(ui::MsgAnswer::Yes);
  w->Command4->click();
  EXPECT_EQ(boxes_.Texts(), (QStringList{"Sei sicuro di procedere ...", "Elaborazione terminata",
                                         "Sei sicuro di procedere ...", "Elaborazione terminata"}));
  EXPECT_EQ(Conversion(1, kPasta, "eanalternativo").str(), "");
  EXPECT_EQ(Conversion(1, kPasta, "eanalternativo2").str(), kPasta);  // overwritten
  EXPECT_EQ(Conversion(1, kRiso, "eanalternativo").str(), "   ");     // blanks: untouched
  EXPECT_EQ(Conversion(1, kRiso, "eanalternativo2").str(), "8100000000028");
  EXPECT_TRUE(Conversion(1, kAceto, "eanalternativo").isNull());
  EXPECT_TRUE(Conversion(1, kAceto, "eanalternativo2").isNull());
  EXPECT_EQ(Conversion(2, "8002222222222", "eanalternativo").str(), "8002222222222");
  const int pastaRow = Column(w, 2).indexOf(kPasta) + 1;
  EXPECT_EQ(w->flex1->TextMatrix(pastaRow, 6), "");
  EXPECT_EQ(w->flex1->TextMatrix(pastaRow, 7), kPasta);
  // An empty slot: asked, nothing changed, reported.
  w->f03->click();
  boxes_.Clear();
  boxes_.Answer(ui::MsgAnswer::Yes);
  w->Command4->click();
  EXPECT_EQ(boxes_.Texts(), (QStringList{"Sei sicuro di procedere ...", "Elaborazione terminata"}));
}

TEST_F(Ali01Test, ClicksOpenTheCardOnARowWithAnEan) {
  ali01* w = Window();
  w->f03->click();  // an empty list: the current row is the header row
  ClickRow(w, 0);
  EXPECT_FALSE(ui::Forms::IsLoaded<art03>());
  w->fo1->click();  // by EAN: the Null EAN first
  ClickRow(w, 1);
  EXPECT_EQ(boxes_.Texts(), QStringList{"ATTENZIONE !!!. Selezionare prima un Prodotto ..."});
  EXPECT_FALSE(ui::Forms::IsLoaded<art03>());
  EXPECT_TRUE(w->Command1->isEnabled());

  w->fo2->click();
  ClickRow(w, 1);
  EXPECT_EQ(common::G().codice_fornitore, 2);
  EXPECT_EQ(common::G().ean_corrente.str(), "8002222222222");
  ASSERT_TRUE(ui::Forms::IsLoaded<art03>());
  EXPECT_EQ(ui::Forms::Get<art03>()->CardEan(), "8002222222222");
  for (QPushButton* b : {w->Command1, w->Command2, w->Command3}) EXPECT_FALSE(b->isEnabled());
  EXPECT_TRUE(w->Command4->isEnabled());
  ui::Forms::Get<art03>()->Cmdann->click();
  SettleWindows();
  for (QPushButton* b : {w->Command1, w->Command2, w->Command3}) EXPECT_TRUE(b->isEnabled());

  // "Inserimento": the EAN search emptied, a blank current EAN, the card empty, buttons on.
  w->eanw->SetText("800");
  w->Command3->click();
  EXPECT_EQ(w->eanw->Text(), "");
  EXPECT_EQ(common::G().ean_corrente.str(), "             ");
  ASSERT_TRUE(ui::Forms::IsLoaded<art03>());
  EXPECT_EQ(ui::Forms::Get<art03>()->eanw->Text(), "");
  EXPECT_TRUE(w->Command3->isEnabled());
  // The list's exit leaves the card open.
  w->Command1->click();
  EXPECT_FALSE(ui::Forms::IsLoaded<ali01>());
  EXPECT_TRUE(ui::Forms::IsLoaded<art03>());
}

// A row that already holds the comparison's description exactly is left alone; any other,
// even one that differs only by case, takes it.
TEST_F(Ali01Test, DescriptionCopyWritesEveryRowThatDiffers) {
  AddComparison("8003333333331", "LATTE INTERO", {});
  AddComparison("8003333333348", "BURRO", {});
  AddComparison("8003333333355", "PANNA", {});
  main_->Execute("update articoli set desart = null where vedovo = '8003333333355'");
  AddConversion(3, "8003333333331", "latte intero", {}, {}, {});
  AddConversion(3, "8003333333348", "BURRO", {}, {}, {});
  AddConversion(3, "8003333333355", "PANNA VECCHIA", {}, {}, {});
  AddConversion(3, "8003333333362", "NON IN CONFRONTO", {}, {}, {});

  auto list = main_->OpenRecordset(ListSelect() + " WHERE codfor = 3 ORDER BY [ean]");
  EXPECT_EQ(CopyComparisonDescriptions(*list), "8003333333362");

  EXPECT_EQ(Conversion(3, "8003333333331", "desart").str(), "LATTE INTERO");
  EXPECT_EQ(Conversion(3, "8003333333348", "desart").str(), "BURRO");
  EXPECT_TRUE(Conversion(3, "8003333333355", "desart").isNull()) << "Null copied too";
  EXPECT_EQ(Conversion(3, "8003333333362", "desart").str(), "NON IN CONFRONTO");
  EXPECT_EQ(main_->transactionDepth(), 0);
}

}  // namespace
}  // namespace vx::masterdata
