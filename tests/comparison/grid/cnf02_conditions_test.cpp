// The condition texts of the grid's controls and the page steps, as functions of their inputs.
#include <gtest/gtest.h>

#include "comparison/cnf02_query.h"
#include "support/qt_print.h"

namespace vx::comparison {
namespace {

constexpr std::array<bool, 4> kAll = {true, true, true, true};

TEST(Cnf02ConditionsTest, TextsAreByteForByte) {
  EXPECT_EQ(ViewMarked(), "sel = 'X' ");
  EXPECT_EQ(ViewPromo(), "(promo1 = 'P' or promo2 = 'P' or Promo3 = 'P' or promo4 = 'P')");
  EXPECT_EQ(DescriptionSearch("PASTA"), " [desart] like '*PASTA*'");
  EXPECT_EQ(EanSearch("8001"), " [vedovo] like '*8001*'");
  EXPECT_EQ(PageWindow(500), " [ns] >= 501  and ns <= 1000 ");
  EXPECT_EQ(ConvenienceCleared(), " ");

  EXPECT_EQ(InCommon(kAll),
            " ([costo1] > 0 and  [costo2] > 0 and  [costo3] > 0 and [costo4] > 0) ");
  EXPECT_EQ(InCommon({false, true, false, true}), " ([costo2] > 0 and [costo4] > 0) ");
  EXPECT_EQ(InCommon({false, false, true, false}), " ([costo3] > 0) ");
  EXPECT_EQ(InCommon({}), "");  // no named supplier: no condition

  EXPECT_EQ(Convenience(1, kAll),
            " ([costo1] <> 0  and [costo1] <= [costo2] and [costo1] <= [costo3] and "
            "[costo1] <= [costo4] ) ");
  EXPECT_EQ(Convenience(3, {true, false, true, true}),
            " ([costo3] <> 0  and [costo3] <= [costo1] and [costo3] <= [costo4] ) ");
  // Supplier K need not be named; alone it is the first term only.
  EXPECT_EQ(Convenience(4, {true, false, false, false}),
            " ([costo4] <> 0  and [costo4] <= [costo1] ) ");
  EXPECT_EQ(Convenience(2, {}), " ([costo2] <> 0  ) ");
}

TEST(Cnf02ConditionsTest, JoinedAsTheFirstExampleShows) {
  EXPECT_EQ(ComposeWhere(ViewMarked(), "", InCommon({true, true, false, false}), ""),
            " WHERE sel = 'X'  AND  ([costo1] > 0 and  [costo2] > 0) ");
  EXPECT_EQ(ComposeWhere("", "", "", ConvenienceCleared()), "");
  EXPECT_EQ(ComposeWhere(ViewPromo(), PageWindow(0), "", ""),
            " WHERE (promo1 = 'P' or promo2 = 'P' or Promo3 = 'P' or promo4 = 'P') AND  [ns] >= "
            "1  and ns <= 500 ");
}

TEST(Cnf02ConditionsTest, SearchKeepsWildcardsAndQuotesEverythingElse) {
  EXPECT_EQ(DescriptionSearch("l'ape"), " [desart] like '*l''ape*'");
  EXPECT_EQ(DescriptionSearch("PA*TA?"), " [desart] like '*PA*TA?*'");
  EXPECT_EQ(DescriptionSearch("#1 [X] 5%_"), " [desart] like '*#1 [[]X] 5%_*'");  // # one digit
}

struct Walk {
  const char* name;
  qint32 nrec;
  qint16 pagina;  // start
  bool flagAvanti;
  // Steps: +1 forward, -1 backward; the expected window's first row (0: no window) and
  // pagina after each, and the buttons (1 on, 0 off, -1 untouched).
  struct Step {
    int dir;
    int firstRow;
    qint16 pagina;
    int pic1;
    int pic2;
  };
  std::vector<Step> steps;
};

TEST(Cnf02ConditionsTest, PagingWalks) {
  const std::vector<Walk> walks = {
      {"20000 rows",
       20000,
       1,
       false,
       {{+1, 501, 2, -1, 1},
        {+1, 1001, 3, -1, 1},
        {-1, 501, 1, 1, -1},
        {-1, 1, 0, 1, 0},
        {+1, 501, 2, -1, 1},
        // a backward step, then forward again shows the same window
        {-1, 1, 0, 1, 0},
        {+1, 501, 2, -1, 1},
        {-1, 1, 0, 1, 0}}},
      {"backward then forward from the second window",
       20000,
       3,
       false,
       {{-1, 1001, 2, 1, -1}, {-1, 501, 1, 1, -1}, {+1, 501, 2, -1, 1}}},
      {"exactly 1000 rows", 1000, 1, false, {{+1, 501, 2, 0, 1}}},
      {"400 rows after Tutti", 400, 1, false, {{+1, 501, 2, -1, 1}, {-1, 1, 0, -1, 0}}},
      {"page 0 below 500 rows", 400, 0, false, {{+1, 0, 1, 0, 1}}},
  };
  for (const Walk& w : walks) {
    qint16 pagina = w.pagina;
    bool flag = w.flagAvanti;
    int i = 0;
    for (const Walk::Step& s : w.steps) {
      const PageStep r =
          s.dir > 0 ? PageForward(pagina, flag, w.nrec) : PageBack(pagina, flag, w.nrec);
      const std::string at = std::string(w.name) + ", step " + std::to_string(++i);
      EXPECT_EQ(r.condRicerca, s.firstRow ? PageWindow(s.firstRow - 1) : QString()) << at;
      EXPECT_EQ(r.pagina, s.pagina) << at;
      EXPECT_EQ(r.pic1Enabled.has_value() ? int(*r.pic1Enabled) : -1, s.pic1) << at;
      EXPECT_EQ(r.pic2Enabled.has_value() ? int(*r.pic2Enabled) : -1, s.pic2) << at;
      pagina = r.pagina;
      flag = r.flagAvanti;
    }
  }
}

}  // namespace
}  // namespace vx::comparison
