// The grid's view conditions driven through its controls: view buttons, selections,
// convenience options, searches and paging.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/progress.h"
#include "common/shared_values.h"
#include "comparison/cnf02_query.h"
#include "comparison/differences.h"
#include "comparison/grid/grid_fixture.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/textbox.h"
#include "support/qt_print.h"

namespace vx::comparison::testing {
namespace {

class Cnf02FiltersTest : public GridTest {
 protected:
  // The record source after the grid query.
  QString Tail() const { return w_->art->RecordSource.mid(w_->select_confronto.size()); }
  QStringList Eans() const {
    QStringList out;
    for (int r = 1; r < w_->flex1->Rows(); ++r) out << w_->flex1->TextMatrix(r, 2).right(2);
    return out;
  }
  void Click(QAbstractButton* b) { b->click(); }
  void Type(ui::TextBox* box, const QString& text) {
    for (QChar c : text) QTest::keyClick(box, c.toLatin1());
  }
  void SetPromo(const QString& ean, int slot) {
    db_->Execute(QStringLiteral("update articoli set promo%1 = 'P' where vedovo = ?").arg(slot),
                 {ean});
  }
  // Rows numbered by the differences pass, as the paging expects.
  void Number() {
    common::ProgressSink sink;
    ASSERT_TRUE(ComputeDifferences(*db_, sink).completed);
  }
  // First and last running number shown, and the rows shown.
  std::tuple<int, int, int> Window() const {
    const int rows = w_->flex1->Rows() - 1;
    if (rows == 0) return {0, 0, 0};
    return {w_->flex1->TextMatrix(1, 32).toInt(), w_->flex1->TextMatrix(rows, 32).toInt(), rows};
  }
};

QString Ean(int n) { return QStringLiteral("80000000000%1").arg(n, 2, 10, QLatin1Char('0')); }

TEST_F(Cnf02FiltersTest, ControlsStartAsBuilt) {
  Open();
  EXPECT_EQ(w_->Command3->text(), "Vedi selezionati");
  EXPECT_EQ(w_->Command7->text(), "Vedi Promo");
  EXPECT_EQ(w_->Command10->text(), "Stampa elenco ");
  EXPECT_EQ(w_->Command3->parentWidget(), w_->Frame1);
  EXPECT_TRUE(w_->Option5->isChecked());
  EXPECT_FALSE(w_->Option1->isChecked());
  EXPECT_FALSE(w_->Check1->isChecked());
  EXPECT_FALSE(w_->Frame5->isEnabled());
  EXPECT_EQ(w_->Frame5->title(), "Selezione per Convenienza");
  EXPECT_EQ(w_->Option6->text(), "Convenienti Fornitore 4");
  EXPECT_FALSE(w_->Pic1->isEnabled());
  EXPECT_FALSE(w_->Pic2->isEnabled());
  EXPECT_EQ(w_->eanw->maxLength(), 13);
  EXPECT_EQ(ui::BackColor(w_->ricw), ui::VbColor(0xC0FFFF));
  // Focus turns the box yellow and the other back to the window colour.
  w_->cnf02_eanw_GotFocus();
  w_->cnf02_ricw_GotFocus();
  EXPECT_EQ(ui::BackColor(w_->ricw), ui::VbColor(ui::kVbYellow));
  EXPECT_EQ(ui::BackColor(w_->eanw), ui::VbColor(ui::kVbSystemWindow));
}

TEST_F(Cnf02FiltersTest, ViewButtonsShareOneSwitch) {
  Add({Ean(1), "ACETO", {1, 2, 3, 4}, {}, "X"});
  Add({Ean(2), "BIRRA", {1, 2, 3, 4}, {}, " "});
  SetPromo(Ean(2), 3);
  Open();
  Click(w_->Command3);
  EXPECT_EQ(Tail(), " WHERE sel = 'X'  ORDER BY [desart]");
  EXPECT_EQ(Eans(), QStringList{"01"});
  EXPECT_EQ(w_->Command3->text(), "Vedi tutti");
  EXPECT_TRUE(w_->Frame1->isEnabled());
  // "Vedi Promo" after "Vedi selezionati" switches the restricted view off.
  Click(w_->Command7);
  EXPECT_EQ(Tail(), " ORDER BY [desart]");
  EXPECT_EQ(Eans(), (QStringList{"01", "02"}));
  EXPECT_EQ(w_->Command7->text(), "Vedi Promo");
  EXPECT_EQ(w_->Command3->text(), "Vedi tutti");
  Click(w_->Command7);
  EXPECT_EQ(Eans(), QStringList{"02"});
  EXPECT_EQ(w_->Command7->text(), "Vedi tutti");
  Click(w_->Command3);
  EXPECT_EQ(w_->Command3->text(), "Vedi selezioni");
  EXPECT_TRUE(w_->cond_vista.isEmpty());
}

TEST_F(Cnf02FiltersTest, SelectionsAndConvenienceCombine) {
  SetSuppliers({"Brunelvatto", "Apulia", "DIZA", ""});
  Add({Ean(1), "A PROMO COMUNE", {1, 2, 3, 0}});
  Add({Ean(2), "B PROMO SOLO 1", {1, 0, 3, 0}});
  Add({Ean(3), "C COMUNE", {3, 2, 1, 0}});
  Add({Ean(4), "D NO 3", {1, 2, 0, 0}});
  SetPromo(Ean(1), 2);
  SetPromo(Ean(2), 1);
  Open();
  Click(w_->Command7);
  Click(w_->Option1);
  EXPECT_EQ(Tail(),
            " WHERE " + ViewPromo() +
                " AND  ([costo1] > 0 and  [costo2] > 0 and  [costo3] > 0)  ORDER BY [desart]");
  EXPECT_EQ(Eans(), QStringList{"01"});
  Click(w_->Command7);  // back to all rows, "In comune" stays
  EXPECT_EQ(Eans(), (QStringList{"01", "03"}));

  Click(w_->Check1);
  EXPECT_TRUE(w_->Frame5->isEnabled());
  // Supplier 3's option keeps "In comune"; slot 4 is not named and takes no part.
  Click(w_->Option4);
  EXPECT_EQ(Tail(),
            " WHERE  ([costo1] > 0 and  [costo2] > 0 and  [costo3] > 0)  AND  ([costo3] <> 0  "
            "and [costo3] <= [costo1] and [costo3] <= [costo2] )  ORDER BY [desart]");
  EXPECT_EQ(Eans(), QStringList{"03"});
  EXPECT_FALSE(w_->Pic1->isEnabled());
  // Supplier 1's option drops it.
  Click(w_->Option2);
  EXPECT_EQ(w_->cond_selezione, "");
  EXPECT_EQ(Eans(), (QStringList{"01"}));  // B and D have a 0 cost of a named slot
  // Option K of a slot that is not named still applies its first term.
  Click(w_->Option6);
  EXPECT_EQ(w_->cond_convenienza,
            " ([costo4] <> 0  and [costo4] <= [costo1] and [costo4] <= [costo2] and [costo4] "
            "<= [costo3] ) ");
  EXPECT_TRUE(Eans().isEmpty());
  // Clearing "Per convenienza": no option stays selected and the condition is one blank.
  Click(w_->Check1);
  EXPECT_FALSE(w_->Frame5->isEnabled());
  for (QRadioButton* o : {w_->Option2, w_->Option3, w_->Option4, w_->Option6}) {
    EXPECT_FALSE(o->isChecked());
  }
  EXPECT_EQ(w_->cond_convenienza, " ");
  EXPECT_EQ(Tail(), " ORDER BY [desart]");
  EXPECT_TRUE(w_->Pic1->isEnabled());
  Click(w_->Check1);
  Click(w_->Option6);
  EXPECT_TRUE(w_->Option6->isChecked());
  EXPECT_TRUE(w_->cond_convenienza.startsWith(" ([costo4] <> 0 "));
  // "Tutti" drops the selection and view, keeps convenience, enables paging.
  Click(w_->Option5);
  EXPECT_TRUE(w_->cond_selezione.isEmpty());
  EXPECT_TRUE(w_->Pic2->isEnabled());
}

TEST_F(Cnf02FiltersTest, ConvenienceRowsWithZeroNullAndEqualCosts) {
  Add({Ean(1), "A", {1, 2, 3, 4}});
  Add({Ean(2), "B UGUALI", {2, 2, 3, 2}});
  Add({Ean(3), "C ZERO", {1, 0, 3, 4}});
  Add({Ean(4), "D NULL", {1, 2, 3, 4}});
  Add({Ean(5), "E SENZA", {0, 2, 3, 4}});
  db_->Execute("update articoli set costo3 = null where vedovo = ?", {Ean(4)});
  Open();
  Click(w_->Check1);
  Click(w_->Option2);
  EXPECT_EQ(Eans(), (QStringList{"01", "02"}));
  Click(w_->Option6);
  EXPECT_EQ(Eans(), (QStringList{"02"}));
}

TEST_F(Cnf02FiltersTest, SearchesMatchWhatIsTyped) {
  Add({Ean(1), "L'APE 100%"});
  Add({Ean(2), "LAPE 1000"});
  Add({Ean(3), "PASTA_FINE"});
  Add({Ean(4), "PASTAXFINE"});
  Add({Ean(5), "ZUPPA"});
  Open();
  Click(w_->Command3);  // a view condition that typing drops
  const struct {
    const char* typed;
    QStringList shown;
  } cases[] = {
      {"l'ape", {"01"}}, {"0%", {"01"}},
      {"A_F", {"03"}},   {"pasta*fine", {"03", "04"}},
      {"Z?PPA", {"05"}}, {"  ", {"01", "02", "03", "04", "05"}},
  };
  for (const auto& c : cases) {
    w_->ricw->clear();
    Type(w_->ricw, c.typed);
    QTest::keyClick(w_->ricw, Qt::Key_Return);
    EXPECT_EQ(Eans(), c.shown) << c.typed;
  }
  EXPECT_EQ(w_->Command3->text(), "Vedi tutti");  // captions are not reset

  // The EAN search, in EAN order; typing trims the box and stops the paging.
  Add({"0000000000099", "AAA PRIMO"});
  w_->Pic1->setEnabled(true);
  w_->eanw->setText(" 0000");
  Type(w_->eanw, "0");
  EXPECT_EQ(w_->eanw->text(), "00000");
  EXPECT_FALSE(w_->Pic1->isEnabled());
  w_->eanw->setText("0");
  QTest::keyClick(w_->eanw, Qt::Key_Return);
  EXPECT_EQ(Tail(), " WHERE  [vedovo] like '*0*' ORDER BY [vedovo]");
  EXPECT_EQ(Eans(), (QStringList{"99", "01", "02", "03", "04", "05"}));
}

TEST_F(Cnf02FiltersTest, TypingClearsWithoutRefillThenEnterSearches) {
  Add({Ean(1), "ACETO", {1, 2, 3, 4}, {}, "X"});
  Add({Ean(2), "BIRRA", {1, 0, 3, 4}, {}, "X"});
  Add({Ean(3), "BIRRA SCURA", {1, 2, 3, 4}, {}, " "});
  Open();
  Click(w_->Command3);
  Click(w_->Option1);
  ASSERT_EQ(Eans(), QStringList{"01"});
  const QString before = w_->art->RecordSource;
  Type(w_->ricw, "B");
  EXPECT_TRUE(w_->cond_vista.isEmpty());
  EXPECT_TRUE(w_->cond_selezione.isEmpty());
  EXPECT_EQ(w_->art->RecordSource, before);  // no refill
  EXPECT_EQ(Eans(), QStringList{"01"});
  EXPECT_TRUE(w_->Option1->isChecked());
  EXPECT_TRUE(w_->flag_vista);
  QTest::keyClick(w_->ricw, Qt::Key_Return);
  EXPECT_EQ(Tail(), " WHERE  [desart] like '*B*' ORDER BY [desart]");
  EXPECT_EQ(Eans(), (QStringList{"02", "03"}));
  // Arrow down gives the grid the focus.
  w_->activateWindow();
  w_->ricw->setFocus();
  QTest::keyClick(w_->ricw, Qt::Key_Down);
  EXPECT_TRUE(w_->flex1->hasFocus());
}

// A search paints the grid once, after the busy frame, with the rows it found; the busy frame
// is painted while the query runs.
TEST_F(Cnf02FiltersTest, ASearchPaintsTheGridOnceWithItsRows) {
  Add({Ean(1), "ACETO"});
  Add({Ean(2), "BIRRA"});
  Open();
  QCoreApplication::processEvents();
  struct PaintLog : QObject {
    cnf02* w;
    QStringList seen;  // what each paint of the grid showed, then "frame" for the busy frame
    bool eventFilter(QObject* o, QEvent* e) override {
      if (e->type() == QEvent::Paint)
        seen << (o == w->Frame7 ? QStringLiteral("frame") : w->flex1->TextMatrix(1, 3));
      return false;
    }
  } log;
  log.w = w_;
  w_->flex1->viewport()->installEventFilter(&log);
  w_->Frame7->installEventFilter(&log);
  w_->ricw->setText(QStringLiteral("birra"));
  QTest::keyClick(w_->ricw, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(log.seen, (QStringList{"frame", "BIRRA"}));
}

TEST_F(Cnf02FiltersTest, PagingWalksOverTheRunningNumbers) {
  AddMany(20000);
  Number();
  Open();
  ASSERT_TRUE(w_->Pic1->isEnabled());
  Click(w_->Pic1);
  EXPECT_EQ(Window(), std::make_tuple(501, 1000, 500));
  EXPECT_TRUE(w_->Pic2->isEnabled());
  Click(w_->Pic1);
  EXPECT_EQ(Window(), std::make_tuple(1001, 1500, 500));
  Click(w_->Pic2);
  EXPECT_EQ(Window(), std::make_tuple(501, 1000, 500));
  Click(w_->Pic2);
  EXPECT_EQ(Window(), std::make_tuple(1, 500, 500));
  EXPECT_EQ(common::G().pagina, 0);
  EXPECT_FALSE(w_->Pic2->isEnabled());
  // "Vedi Promo" then a page step: the promotions of that window only.
  SetPromo(QStringLiteral("8%1").arg(700, 12, 10, QLatin1Char('0')), 4);
  SetPromo(QStringLiteral("8%1").arg(1700, 12, 10, QLatin1Char('0')), 4);
  Click(w_->Command7);
  Click(w_->Pic1);
  EXPECT_EQ(Window(), std::make_tuple(700, 700, 1));
  EXPECT_EQ(w_->order_confronto, " ORDER BY [desart]");
}

TEST_F(Cnf02FiltersTest, PagingStopsAtTheLastWindow) {
  AddMany(1000);
  Number();
  Open();
  Click(w_->Option5);  // enables paging below 12000 rows
  Click(w_->Pic1);
  EXPECT_EQ(Window(), std::make_tuple(501, 1000, 500));
  EXPECT_FALSE(w_->Pic1->isEnabled());

  db_->Execute("delete from articoli where ns > 400");
  w_->cnf02_Command6_Click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Open();
  Click(w_->Option5);
  Click(w_->Pic1);
  EXPECT_EQ(Window(), std::make_tuple(0, 0, 0));  // rows 501..1000: none
  EXPECT_TRUE(w_->Pic1->isEnabled());
}

}  // namespace
}  // namespace vx::comparison::testing
