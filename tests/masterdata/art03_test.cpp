#include "masterdata/art03.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionFrame>
#include <QTest>
#include <map>

#include "common/shared_values.h"
#include "masterdata/ali01.h"
#include "masterdata/eanconv_fixture.h"
#include "platform/conv.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/textbox.h"

namespace vx::masterdata {
namespace {

const QString kEan = QStringLiteral("8001234567890");    // slot 1's own EAN
const QString kAlt2 = QStringLiteral("8100000000011");   // the same article at supplier 2
const QString kAlt3 = QStringLiteral("8200000000010");   // and at supplier 3
const QString kOther = QStringLiteral("8002222222222");  // a slot-2 row of the list
const QString kBlank = QStringLiteral("             ");

class Art03Test : public testing::MasterdataFixture {
 protected:
  void SetUp() override {
    MasterdataFixture::SetUp();
    varu_ = AddSupplier(1, "VARU", "varu", 0);
    apulia_ = AddSupplier(2, "APULIA", "apulia", 10);
    diza_ = AddSupplier(3, "DIZA", "diza", 10.3);
    AddArticle(varu_, 1, kEan, 1.25, "SPAGHETTI N.5 500G");
    AddArticle(varu_, 2, kOther, 0.9, "LATTE INTERO");
    AddArticle(apulia_, 7, kAlt2, 1.25, "SPAGHETTI SINGOLO");
    AddArticle(apulia_, 8, kOther, 1, "LATTE APULIA");
    AddArticle(diza_, 9, kAlt3, 2, "SPAGHETTI DIZA");
    // Slot 1's factor 0 becomes 1 on the card; supplier 2 sells the single piece.
    AddConversion(1, kEan, "SPAGHETTI", {kEan, kAlt2}, {0, 6}, {"M", "M"});
    AddConversion(2, kOther, "LATTE", {kOther, kOther}, {1, 1}, {"M", "M"});
    AddComparison(kEan, "SPAGHETTI", {1, 2, 3, 4});
  }

  art03* Open(int slot, const QString& ean) {
    common::G().codice_fornitore = slot;
    common::G().ean_corrente = ean;
    return ui::Forms::Show<art03>();
  }
  static void Enter(ui::TextBox* box) { QTest::keyClick(box, Qt::Key_Return); }
  static void Retype(ui::TextBox* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
  }
  Variant Cost(int slot) {
    return Scalar(QStringLiteral("select costo%1 from articoli where vedovo = ?").arg(slot),
                  {kEan});
  }
  int ConversionRows() { return int(Scalar("select count(*) from eanconv").toLong()); }
  // A list row's grid row by its EAN (0 when not listed).
  static int ListRow(ali01* list, const QString& ean) {
    for (int r = 1; r < list->flex1->Rows(); ++r) {
      if (list->flex1->TextMatrix(r, 2) == ean) return r;
    }
    return 0;
  }
  static void ClickRow(ali01* list, int row) {
    ui::FlexGrid* g = list->flex1;
    const QModelIndex index = g->model()->index(row, 2);
    g->scrollTo(index);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(index).center());
  }

  QString varu_, apulia_, diza_;
};

TEST_F(Art03Test, LoadShowsTheRowAcrossTheSlotsAsTheCascadeComputesIt) {
  art03* c = Open(1, kEan);
  EXPECT_EQ(c->Caption(), "Visualizzazione Articoli");
  EXPECT_EQ(c->codforw->Text(), "1");
  EXPECT_EQ(c->desfow->Text(), "VARU");
  EXPECT_EQ(c->percpw->Text(), "0");
  EXPECT_EQ(c->eanw->Text(), kEan);
  EXPECT_EQ(c->desarw->Text(), "SPAGHETTI N.5 500G");
  EXPECT_EQ(QStringList({c->umw->Text(), c->imbw->Text(), c->ivaw->Text(), c->prezzow->Text()}),
            (QStringList{"CT", "6", "04", "1,25"}));
  EXPECT_EQ(c->fatconvw[1]->Text(), "1");  // the default of slot 1 only
  EXPECT_EQ(c->fatconvw[2]->Text(), "6");
  EXPECT_EQ(c->MoDi[2]->Text(), "M");
  EXPECT_EQ(c->przca[2]->Text(), "1,25");
  EXPECT_EQ(c->perc[2]->Text(), "10");
  EXPECT_EQ(c->des2w->Text(), "SPAGHETTI SINGOLO");
  EXPECT_EQ(c->przc[1]->Text(), "1,25");
  EXPECT_EQ(c->przc[2]->Text(), "8,25");
  EXPECT_EQ(c->Frame2[2]->title(), "Fornitore 2: APULIA");
  EXPECT_EQ(c->Frame2[3]->title(), "Fornitore 3");  // Null alternative: not looked up
  EXPECT_EQ(c->eanaltw[3]->Text(), "");
  EXPECT_EQ(ui::ToVbColor(ui::BackColor(c->MoDi[2])), ui::kVbYellow);
  EXPECT_EQ(ui::ToVbColor(ui::BackColor(c->desarw)), 0xE0E0E0);
  EXPECT_TRUE(c->desarw->isReadOnly() && c->MoDi[1]->isReadOnly() && !c->fatconvw[1]->isReadOnly());

  // Every price box is what the cascade gives for the stored row.
  const std::map<QString, Listing> listed{{kEan, {Variant(1.25f), Variant(0.0f)}},
                                          {kAlt2, {Variant(1.25f), Variant(10.0f)}}};
  const std::vector<StoredSlot> stored{{}, {kEan, 0, "M"}, {kAlt2, 6, "M"}, {}, {}};
  for (int n = 1; n <= 4; ++n) {
    const QString price = LoadedPriceText(n, stored[n], [&](const QString& ean) {
      const auto it = listed.find(ean);
      return it == listed.end() ? std::nullopt : std::optional<Listing>(it->second);
    });
    EXPECT_EQ(c->przc[n]->Text(), price) << n;
  }
}

TEST_F(Art03Test, NewRowFillsOnlyTheSupplierBand) {
  art03* c = Open(2, kBlank);
  EXPECT_EQ(c->codforw->Text(), "2");
  EXPECT_EQ(c->desfow->Text(), "APULIA");
  EXPECT_EQ(c->percpw->Text(), "10");
  EXPECT_EQ(c->eanw->Text(), "");
  EXPECT_EQ(c->desarw->Text(), "");
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(c->eanaltw[n]->Text(), "") << n;
  EXPECT_TRUE(boxes_.Texts().isEmpty());
}

TEST_F(Art03Test, ASlotOutsideOneToFourCopiesNothingAndLooksNothingUp) {
  main_->Execute("insert into fornitori (codice, descr, percorso) values (7, 'ALTRO', ?)", {varu_});
  art03* c = Open(7, kBlank);
  EXPECT_EQ(c->codforw->Text(), "7");
  Retype(c->eanw, kEan);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(c->eanaltw[n]->Text(), "") << n;
  Enter(c->eanw);
  EXPECT_EQ(c->desarw->Text(), "");
  EXPECT_EQ(boxes_.Texts(), QStringList{" Attenzione !!!! Codice EAN errato o inesistente ..."});
}

TEST_F(Art03Test, BoxesLookUpRecalculateAndToggle) {
  art03* c = Open(1, kEan);
  // Typing in the EAN box copies into the current slot's alternative.
  Retype(c->eanw, "800");
  EXPECT_EQ(c->eanaltw[1]->Text(), "800");
  // Enter on an EAN the supplier lacks empties the article band and says so.
  Enter(c->eanw);
  EXPECT_EQ(c->desarw->Text(), "");
  EXPECT_EQ(c->prezzow->Text(), "");
  Retype(c->eanw, "   ");
  Enter(c->eanw);
  EXPECT_EQ(boxes_.Texts(), (QStringList{" Attenzione !!!! Codice EAN errato o inesistente ...",
                                         " Attenzione !!!! Codice EAN errato o inesistente ..."}));
  Retype(c->eanw, kEan);
  Enter(c->eanw);
  EXPECT_EQ(c->desarw->Text(), "SPAGHETTI N.5 500G");
  EXPECT_EQ(common::G().ean_corrente.str(), kEan);

  // A changed factor recalculates; erased under "M" the price is 0.
  Retype(c->fatconvw[2], "12");
  EXPECT_EQ(c->przc[2]->Text(), "16,5");
  EXPECT_EQ(ui::ToVbColor(ui::BackColor(c->fatconvw[2])), ui::kVbYellow);
  c->fatconvw[2]->clear();
  EXPECT_EQ(c->przc[2]->Text(), "0");
  Retype(c->fatconvw[2], "6");
  // The action toggles: anything but "M" becomes "M", "M" becomes "D".
  c->MoDi[2]->SetText("m");
  QTest::mouseDClick(c->MoDi[2], Qt::LeftButton);
  EXPECT_EQ(c->MoDi[2]->Text(), "M");
  EXPECT_EQ(c->przc[2]->Text(), "8,25");
  QTest::mouseDClick(c->MoDi[2], Qt::LeftButton);
  EXPECT_EQ(c->MoDi[2]->Text(), "D");
  EXPECT_EQ(c->przc[2]->Text(), "0,229166666666667");

  // Enter on an alternative: the lookup with its percentage in double precision; one the
  // supplier lacks changes only the caption.
  Retype(c->eanaltw[3], kAlt3);
  Enter(c->eanaltw[3]);
  EXPECT_EQ(c->Frame2[3]->title(), "Fornitore 3: DIZA");
  EXPECT_EQ(c->przc[3]->Text(), "2,206");
  EXPECT_EQ(c->des3w->Text(), "SPAGHETTI DIZA");
  Retype(c->fatconvw[3], "1");
  EXPECT_EQ(c->przc[3]->Text(), "2,2060000038147");
  Retype(c->eanaltw[3], "8999999999999");
  Enter(c->eanaltw[3]);
  EXPECT_EQ(c->des3w->Text(), "SPAGHETTI DIZA");
  // Focus on a box: the others back to white, the box yellow.
  QFocusEvent focus(QEvent::FocusIn);
  QCoreApplication::sendEvent(c->eanaltw[1], &focus);
  EXPECT_EQ(ui::ToVbColor(ui::BackColor(c->eanaltw[1])), ui::kVbYellow);
  EXPECT_EQ(ui::ToVbColor(ui::BackColor(c->fatconvw[3])), ui::kVbWhite);
  EXPECT_EQ(boxes_.Texts().size(), 2);
}

TEST_F(Art03Test, SaveChecksRunInOrderAndARefusedCardStaysWithNothingWritten) {
  struct Case {
    const char* name;
    std::function<void(art03*)> edit;
    QString message;
    QString ean = kEan;  // the card's row; blank for a new one
  };
  const Case cases[] = {
      {"blank EAN before a wrong factor",
       [](art03* c) {
         Retype(c->eanw, "  ");
         Retype(c->fatconvw[2], "2x");
       },
       " Attenzione !!!! Codice ean non inserito ..."},
      {"new card whose EAN was never looked up", [](art03* c) { Retype(c->eanw, "8000000000000"); },
       " Attenzione !!!! Codice EAN errato o inesistente ...", kBlank},
      {"wrong factor before any lookup",
       [](art03* c) {
         Retype(c->fatconvw[2], "2x");
         Retype(c->eanaltw[3], "8999999999999");
       },
       " Attenzione !!!! Fattore conversione errato  ..."},
      {"alternative the supplier lacks, after an earlier lookup found another",
       [](art03* c) {
         Retype(c->eanaltw[3], kAlt3);
         Enter(c->eanaltw[3]);
         Retype(c->eanaltw[3], "8999999999999");
       },
       " Attenzione !!!! Codice Ean non presente nel listino fornitore   ..."},
      {"alternative of blanks", [](art03* c) { Retype(c->eanaltw[4], "  "); },
       " Attenzione !!!! Codice Ean non presente nel listino fornitore   ..."},
      {"alternative over 13 characters", [](art03* c) { Retype(c->eanaltw[3], kAlt3 + "9"); },
       " Attenzione !!!! Codice Ean del fornitore 3 più lungo di 13 caratteri ..."},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    boxes_.Clear();
    art03* c = Open(1, k.ean);
    k.edit(c);
    c->Command4->click();  // "Aggiorna" refuses as "Conferma" does
    EXPECT_EQ(boxes_.Texts(), QStringList{k.message});
    EXPECT_TRUE(ui::Forms::IsLoaded<art03>());
    EXPECT_EQ(Conversion(1, kEan, "fatconv2").toLong(), 6);
    EXPECT_EQ(ConversionRows(), 2);
    EXPECT_EQ(Cost(1).toDouble(), 1);
    EXPECT_EQ(Cost(2).toDouble(), 2);
    ui::Forms::Unload<art03>();
    SettleWindows();
  }
}

TEST_F(Art03Test, ConfermaSavesFactorsAsWholeNumbersUnderTheCardsSlot) {
  ali01* list = ui::Forms::Show<ali01>();
  ClickRow(list, ListRow(list, kEan));
  art03* c = ui::Forms::Get<art03>();
  // The list moves on meanwhile: the card keeps its slot and EAN.
  list->fo2->click();
  ClickRow(list, ListRow(list, kOther));
  EXPECT_EQ(common::G().codice_fornitore, 2);
  EXPECT_EQ(ui::Forms::Get<art03>(), c);
  EXPECT_EQ(c->eanw->Text(), kEan);

  Retype(c->fatconvw[1], "abc");  // no number: saved as 1
  Retype(c->fatconvw[2], "1.5");  // the point is the decimal mark; stored whole
  c->fatconvw[3]->clear();
  Retype(c->eanaltw[3], kAlt3);
  QTest::mouseDClick(c->MoDi[3], Qt::LeftButton);
  c->Command1->click();
  EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join("|").toStdString();
  SettleWindows();
  EXPECT_FALSE(ui::Forms::IsLoaded<art03>());
  EXPECT_EQ(Conversion(1, kEan, "fatconv").toLong(), 1);
  EXPECT_EQ(Conversion(1, kEan, "fatconv2").toLong(), 2);
  EXPECT_EQ(Conversion(1, kEan, "fatconv3").toLong(), 1);
  EXPECT_EQ(Conversion(1, kEan, "fatconv4").toLong(), 1);
  EXPECT_EQ(Conversion(1, kEan, "azione3").str(), "M");
  EXPECT_EQ(Conversion(1, kEan, "azione4").str(), "");
  EXPECT_EQ(Conversion(1, kEan, "eanalternativo3").str(), kAlt3);
  EXPECT_EQ(Conversion(1, kEan, "eanalternativo4").str(), "");
  EXPECT_EQ(Conversion(1, kEan, "desart").str(), "SPAGHETTI N.5 500G");
  EXPECT_EQ(Conversion(2, kOther, "fatconv2").toLong(), 1);  // the list's row: untouched
  EXPECT_EQ(Cost(2).toDouble(), 2);                          // "Conferma" writes no cost
  for (QPushButton* b : {list->Command1, list->Command2, list->Command3}) {
    EXPECT_TRUE(b->isEnabled());
  }

  // Another EAN typed into a row's card saves a new row and keeps the old one.
  list->fo1->click();
  ClickRow(list, ListRow(list, kEan));
  c = ui::Forms::Get<art03>();
  Retype(c->eanw, kOther);
  Enter(c->eanw);
  c->Command1->click();
  SettleWindows();
  EXPECT_EQ(ConversionRows(), 3);
  EXPECT_EQ(Conversion(1, kOther, "desart").str(), "LATTE INTERO");
  EXPECT_EQ(Conversion(1, kOther, "eanalternativo").str(), kOther);
  EXPECT_GT(ListRow(list, kOther), 0);  // the list was refreshed
}

TEST_F(Art03Test, EliminaDeletesTheRowShownAfterItsQuestion) {
  ali01* list = ui::Forms::Show<ali01>();
  ClickRow(list, ListRow(list, kEan));
  list->fo2->click();
  ClickRow(list, ListRow(list, kOther));  // only the shared values change
  art03* c = ui::Forms::Get<art03>();
  Retype(c->eanw, kOther);  // a typed EAN does not count
  boxes_.Answer(ui::MsgAnswer::No);
  c->Command3->click();
  EXPECT_EQ(ConversionRows(), 2);
  EXPECT_TRUE(ui::Forms::IsLoaded<art03>());
  boxes_.Answer(ui::MsgAnswer::Yes);
  c->Command3->click();
  SettleWindows();
  EXPECT_EQ(boxes_.Texts(), (QStringList{"Sei sicuro di voler cancellare questo Articolo ...",
                                         "Sei sicuro di voler cancellare questo Articolo ..."}));
  EXPECT_FALSE(ui::Forms::IsLoaded<art03>());
  EXPECT_TRUE(Conversion(1, kEan, "ean").isEmpty());
  EXPECT_EQ(Conversion(2, kOther, "ean").str(), kOther);
  EXPECT_EQ(list->flex1->Rows(), 2);  // slot 2 listed again
}

TEST_F(Art03Test, InserimentoReopensTheCardEmptyForItsSlot) {
  art03* c = Open(1, kEan);
  c->Command2->click();
  SettleWindows();
  art03* fresh = ui::Forms::Get<art03>();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->eanw->Text(), "");
  EXPECT_EQ(fresh->codforw->Text(), "1");
  EXPECT_EQ(fresh->CardEan(), kBlank);
  // A new row for slot 1.
  Retype(fresh->eanw, kOther);
  Enter(fresh->eanw);
  fresh->Command1->click();
  EXPECT_EQ(Conversion(1, kOther, "eanalternativo").str(), kOther);
  EXPECT_EQ(Conversion(1, kOther, "fatconv").toLong(), 1);
}

TEST_F(Art03Test, AggiornaWritesTheCostsTheCardShowsAndKeepsSlotsWithoutPrice) {
  art03* c = Open(1, kEan);
  Retype(c->fatconvw[2], "12");
  const double shown2 = PriceValue(c->przc[2]->Text());
  EXPECT_EQ(c->przc[2]->Text(), "16,5");
  c->Command4->click();
  SettleWindows();
  EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join("|").toStdString();
  EXPECT_FALSE(ui::Forms::IsLoaded<art03>());
  EXPECT_FLOAT_EQ(Cost(1).toDouble(), 1.25f);
  EXPECT_FLOAT_EQ(Cost(2).toDouble(), static_cast<float>(shown2));
  EXPECT_EQ(Cost(3).toDouble(), 3);  // no alternative for slot 3: kept
  EXPECT_EQ(Cost(4).toDouble(), 4);
  EXPECT_EQ(Conversion(1, kEan, "fatconv2").toLong(), 12);

  // Slot 1 at factor 0 and a percentage: the recalculated price, as the card shows it on load.
  main_->Execute("update fornitori set perce = 10.3 where codice = 1");
  main_->Execute("update eanconv set fatconv = 0 where codfor = 1");
  c = Open(1, kEan);
  const QString shown1 = c->przc[1]->Text();
  EXPECT_EQ(shown1, "1,37875000238419");
  c->Command4->click();
  EXPECT_FLOAT_EQ(Cost(1).toDouble(), static_cast<float>(PriceValue(shown1)));
}

TEST_F(Art03Test, SlotsWithoutASupplierDatabaseLookNothingUpAndFailuresAreNamed) {
  // Slot 4 has no supplier row, and slot 3's database goes missing.
  main_->Execute("update fornitori set percorso = 'C:\\sparito\\dati.mdb' where codice = 3");
  main_->Execute("update eanconv set eanalternativo3 = ?, eanalternativo4 = ? where codfor = 1",
                 {kAlt3, kAlt3});
  art03* c = Open(1, kEan);
  ASSERT_EQ(boxes_.Texts().size(), 1);
  EXPECT_TRUE(boxes_.Texts()[0].contains("sparito")) << boxes_.Texts()[0].toStdString();
  EXPECT_EQ(c->przc[4]->Text(), "");
  EXPECT_EQ(c->des4w->Text(), "");
  EXPECT_EQ(c->Frame2[4]->title(), "Fornitore 4");
  EXPECT_EQ(c->przc[2]->Text(), "8,25");  // the other slots still load
  // The save stops at the failing database, naming it, and writes nothing.
  boxes_.Clear();
  c->Command4->click();
  ASSERT_EQ(boxes_.Texts().size(), 1);
  EXPECT_TRUE(boxes_.Texts()[0].contains("sparito"));
  EXPECT_TRUE(ui::Forms::IsLoaded<art03>());
  EXPECT_EQ(Cost(2).toDouble(), 2);
}

// The pixels a line edit gives its text: its contents less the edit's margin of 2 px a side.
int TextRoom(const QLineEdit* box) {
  QStyleOptionFrame opt;
  opt.initFrom(box);
  opt.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
  opt.state |= QStyle::State_Sunken;
  const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &opt, box);
  return contents.width() - box->textMargins().left() - box->textMargins().right() - 4;
}

TEST_F(Art03Test, LongDescriptionsShowWhole) {
  const QString pasta = QStringLiteral("PASTA DI SEMOLA TRAFILATA AL BRONZO");
  const QString alt4 = QStringLiteral("8300000000019");
  const QString other4 = AddSupplier(4, "CORVALIA", "corvalia", 0);
  AddArticle(varu_, 30, QStringLiteral("8003333333333"), 1, pasta);
  AddArticle(apulia_, 31, QStringLiteral("8103333333330"), 1, pasta);
  AddArticle(diza_, 32, QStringLiteral("8203333333337"), 1, pasta);
  AddArticle(other4, 33, alt4, 1, pasta);
  AddConversion(1, "8003333333333", pasta,
                {"8003333333333", "8103333333330", "8203333333337", alt4}, {1, 1, 1, 1},
                {"M", "M", "M", "M"});
  art03* c = Open(1, QStringLiteral("8003333333333"));
  QCoreApplication::processEvents();
  for (ui::TextBox* box : {c->desarw, c->des1w, c->des2w, c->des3w, c->des4w}) {
    SCOPED_TRACE(box->objectName().toStdString());
    EXPECT_EQ(box->Text(), pasta);
    EXPECT_LE(box->fontMetrics().horizontalAdvance(pasta), TextRoom(box));
  }
}

}  // namespace
}  // namespace vx::masterdata
