#include "terminals/terminal_rules.h"

#include <gtest/gtest.h>

#include "support/qt_print.h"

namespace vx::terminals {
namespace {

constexpr double U = -1;  // "unchanged" in the tables below

PackageWrites W(double a, double b, double c) {
  PackageWrites w;
  const double v[] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    if (v[i] != U) w[i] = v[i];
  }
  return w;
}

TEST(TerminalRulesTest, ThreeSlotRuleAndTheSlotTwoFallback) {
  const double q = 5;
  const struct {
    std::array<Variant, 3> costs;
    PackageWrites plain, fallback;
  } cases[] = {
      {{2.10, 1.90, 1.80}, W(0, 0, q), W(0, 0, q)},  // c3 < c2 < c1: the last test decides
      {{1.50, 2.00, 0}, W(q, U, U), W(q, U, U)},     // 0 counts 9999: slot 1 alone lowest
      {{1.50, 1.50, 2.00}, W(U, U, U), W(U, q, U)},  // a shared lowest
      {{0, 0, 0}, W(U, U, U), W(U, q, U)},           // no cost at all
      {{Variant::null(), 12000, 15000}, W(q, U, U), W(q, U, U)},  // 9999 is a plain number
      {{1.50, 2.00, 1.50}, W(U, U, U), W(U, q, U)},  // slot 2 the dearest still gets it
      {{1.00, 2.00, 3.00}, W(q, U, U), W(q, U, U)},
      {{3.00, 2.00, 1.00}, W(0, 0, q), W(0, 0, q)},
      {{2.00, 1.00, 3.00}, W(0, q, 0), W(0, q, 0)},
  };
  for (const auto& c : cases) {
    const std::array<double, 3> cost = {ComparisonCost(c.costs[0]), ComparisonCost(c.costs[1]),
                                        ComparisonCost(c.costs[2])};
    SCOPED_TRACE(testing::Message() << cost[0] << " " << cost[1] << " " << cost[2]);
    EXPECT_EQ(ThreeSlotRule(cost, q, false), c.plain);
    EXPECT_EQ(ThreeSlotRule(cost, q, true), c.fallback);
  }
}

PackageWrites W4(double a, double b, double c, double d) {
  PackageWrites w;
  const double v[] = {a, b, c, d};
  for (int i = 0; i < 4; ++i) {
    if (v[i] != U) w[i] = v[i];
  }
  return w;
}

std::array<double, 4> Costs(const std::array<double, 4>& raw) {
  std::array<double, 4> c;
  for (int i = 0; i < 4; ++i) c[i] = ComparisonCost(raw[i]);
  return c;
}

TEST(TerminalRulesTest, AccumulatingRuleAddsInTheSlotStrictlyCheapest) {
  const double q = 2;
  const Variant N = Variant::null();
  const struct {
    std::array<double, 4> costs;
    std::array<Variant, 4> packages;
    PackageWrites expected;
  } cases[] = {
      {{1, 2, 3, 4}, {3, 5, 0, 0}, W4(5, U, U, U)},  // slot 1 leaves the others
      {{1, 2, 3, 4}, {N, 5, 0, 0}, W4(2, U, U, U)},  // a Null package counts 0
      {{2, 1, 3, 4}, {3, 4, 1, 1}, W4(0, 6, 0, 0)},
      {{3, 2, 1, 4}, {0, 0, 6, 0}, W4(0, 0, 8, 0)},  // test B no longer wipes slot 3
      {{3, 2, 1, 2}, {0, 0, 6, 0}, W4(0, 0, 8, 0)},
      {{5, 6, 7, 1}, {1, 1, 1, 3}, W4(0, 0, 0, 5)},
      {{3, 2, 1, 1}, {1, 1, 1, 1}, W4(U, U, U, U)},  // c3 = c4 < c2 < c1: no package
      {{4, 3, 2, 2}, {1, 1, 1, 1}, W4(U, U, U, U)},
      {{0, 1.80, 0, 0}, {0, 4, 0, 0}, W4(0, 6, 0, 0)},  // 0 counts 9999
      {{0, 0, 0, 0}, {1, 2, 3, 4}, W4(U, U, U, U)},
      {{2, 2, 3, 4}, {1, 2, 3, 4}, W4(U, U, U, U)},  // a shared lowest
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.costs[0] << " " << c.costs[1] << " " << c.costs[2] << " " << c.costs[3]);
    EXPECT_EQ(AccumulatingRule(Costs(c.costs), c.packages, q), c.expected);
  }
}

TEST(TerminalRulesTest, ChainRuleWritesTheFirstTestThatHolds) {
  const double q = 3;
  const struct {
    std::array<double, 4> costs;
    PackageWrites expected;
  } cases[] = {
      {{0, 0, 0, 0}, W4(q, U, U, U)},  // all 9999: slot 1
      {{2, 2, 5, 5}, W4(q, U, U, U)},  // a tie with slot 1 goes to slot 1
      {{9, 5, 2, 7}, W4(0, 0, q, 0)},  // slot 2 must be below 3 and 4
      {{9, 3, 7, 8}, W4(0, q, 0, 0)},
      {{9, 3, 3, 7}, W4(0, 0, q, 0)},
      {{9, 3, 7, 3}, W4(0, 0, 0, q)},
      {{5, 8, 3, 3}, W4(0, 0, 0, q)},      // slot 3 must be below slot 4
      {{12000, 0, 0, 0}, W4(0, 0, 0, q)},  // above 9999 ranks behind a missing price
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.costs[0] << " " << c.costs[1] << " " << c.costs[2] << " " << c.costs[3]);
    EXPECT_EQ(ChainRule(Costs(c.costs), q), c.expected);
  }
}

TEST(TerminalRulesTest, PairwiseRule) {
  const double q = 4;
  const Variant N = Variant::null();
  const std::array<Variant, 3> none = {0, 0, 0};
  const struct {
    std::array<Variant, 3> costs;
    std::array<Variant, 3> packages;
    PackageWrites expected;
  } cases[] = {
      // Two or more priced with one strictly the cheapest: that slot's pattern.
      {{3, 4, 5}, {0, 7, 2}, W(q, U, U)},
      {{3, 5, 4}, none, W(q, U, U)},
      {{3, 0, 5}, {0, 7, 0}, W(q, U, U)},  // even on a row with packages
      {{4, 3, 5}, {1, 1, 1}, W(0, q, 0)},
      {{5, 4, 3}, {1, 1, 1}, W(0, 0, q)},
      {{3, 5, 0}, {0, 7, 2}, W(q, U, U)},
      {{N, 3, 5}, none, W(0, q, 0)},
      // Otherwise the six tests.
      {{5, 0, 0}, none, W(q, U, U)},  // test 6: the first priced slot
      {{5, 0, 0}, {0, 7, 0}, W(U, U, U)},
      {{5, 0, 0}, {N, 0, 0}, W(U, U, U)},  // a Null package makes test 6 false
      {{0, 0, 0}, none, W(U, U, U)},
      {{5, 5, 5}, none, W(q, U, U)},
      {{5, 5, 5}, {0, 0, 1}, W(U, U, U)},
      {{N, 5, 0}, none, W(U, q, U)},       // a Null cost makes tests 1 to 5 false
      {{3, 3, 5}, {2, 2, 2}, W(0, q, 0)},  // a shared lowest: test 5 writes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.costs[0].str().toStdString() << " " << c.costs[1].str().toStdString() << " "
                 << c.costs[2].str().toStdString());
    EXPECT_EQ(PairwiseRule(c.costs, c.packages, q), c.expected);
  }
}

TEST(TerminalRulesTest, CodeNormalisations) {
  const struct {
    const char* code;
    const char* zeroFill;
  } fills[] = {{"12345678     ", "0000012345678"},
               {" 2345678     ", " 2345678     "},  // a blank first: unchanged
               {"8001234567890", "8001234567890"},
               {"123 567890123", "0000000000123"}};
  for (const auto& f : fills) EXPECT_EQ(BlankCutZeroFill(f.code), f.zeroFill) << f.code;

  const struct {
    const char* code;
    const char* key;
  } eights[] = {{"12345678", "0000012345678"},
                {"123456789012", "123456789012 "},
                {"12345678901234567890", "1234567890123"},
                {"", "             "}};
  for (const auto& e : eights) EXPECT_EQ(EightCharacterRule(e.code), e.key) << e.code;
}

TEST(TerminalRulesTest, LayoutsAndQuantities) {
  // PDT columns 20-32 and 33-38; the quantity read by the leading-number rule.
  const QString pad(19, ' ');
  const struct {
    const char* quantity;
    double expected;
  } quantities[] = {{" 12   ", 12},  {"1 2   ", 12}, {"12,5  ", 12},
                    {"1.5   ", 1.5}, {"ab    ", 0},  {"      ", 0}};
  for (const auto& c : quantities) {
    const Reading r = FixedColumnsReading(pad + "12345678     " + c.quantity + "XX", 20, 33);
    EXPECT_EQ(r.key, "0000012345678");
    EXPECT_DOUBLE_EQ(r.quantity, c.expected) << c.quantity;
  }
  EXPECT_EQ(FixedColumnsReading(QString(), 18, 31).key, QString(13, ' '));  // empty line
  // Only 57 characters count: a quantity past them is not read.
  EXPECT_DOUBLE_EQ(FixedColumnsReading(QString(56, ' ') + "07", 52, 57).quantity,
                   0);  // "0" of "07"

  const struct {
    const char* line;
    Reading::Kind kind;
    const char* key;
    double quantity;
  } lines[] = {{"12345678,3", Reading::Kind::Ok, "0000012345678", 3},
               {"8001234567890,123456", Reading::Kind::Ok, "8001234567890", 12345},
               {"8001234567890,1.5", Reading::Kind::Ok, "8001234567890", 1.5},
               {"8001234567890,1,5", Reading::Kind::Ok, "8001234567890", 1},
               {"8001234567890,0", Reading::Kind::Ok, "8001234567890", 1},
               {"8001234567890,", Reading::Kind::Ok, "8001234567890", 1},
               {",4", Reading::Kind::Ok, "             ", 4},
               {"senza virgola", Reading::Kind::Invalid, "", 0},
               {"   ", Reading::Kind::Blank, "", 0}};
  for (const auto& l : lines) {
    const Reading r = CipherLabReading(l.line);
    EXPECT_EQ(r.kind, l.kind) << l.line;
    if (r.kind != Reading::Kind::Ok) continue;
    EXPECT_EQ(r.key, l.key) << l.line;
    EXPECT_DOUBLE_EQ(r.quantity, l.quantity) << l.line;
  }
}

TEST(TerminalRulesTest, Pdt6100RecordsOfTheFirstLine) {
  const QString head(104, 'h');
  const QString record = "8001234567890" + QString("  12   ") + "xx";  // 22 characters
  EXPECT_TRUE(Pdt6100Readings(head).empty());
  EXPECT_TRUE(Pdt6100Readings(QString()).empty());
  const std::vector<Reading> three = Pdt6100Readings(head + record + record + record);
  ASSERT_EQ(three.size(), 3u);
  for (const Reading& r : three) {
    EXPECT_EQ(r.key, "8001234567890");
    EXPECT_DOUBLE_EQ(r.quantity, 12);
  }
  // A 171st character starts a fourth record of one character: no quantity.
  const std::vector<Reading> four = Pdt6100Readings(head + record + record + record + "8");
  ASSERT_EQ(four.size(), 4u);
  EXPECT_EQ(four[3].key, "8");
  EXPECT_DOUBLE_EQ(four[3].quantity, 0);
  // A short last record is read with what is there; codes stay as written.
  const std::vector<Reading> shortLast = Pdt6100Readings(head + "12345678     0,5 3");
  ASSERT_EQ(shortLast.size(), 1u);
  EXPECT_EQ(shortLast[0].key, "12345678     ");
  EXPECT_DOUBLE_EQ(shortLast[0].quantity, 0);  // "0,5 3" reads 0: skipped by the rule
  EXPECT_DOUBLE_EQ(Pdt6100Readings(head + "12345678     1 5")[0].quantity, 15);
}

TEST(TerminalRulesTest, LineLayoutsOfThe630DefaultAndMc3000Terminals) {
  const struct {
    QString line;
    const char* key;
    double quantity;
  } gc630[] = {{"8001234567890", "8001234567890", 0},  // 13 characters: no quantity
               {"12345678        4     resto", "12345678     ", 4},
               {"8001234567890  12,5", "8001234567890", 12},
               {"80012", "80012", 0}};
  for (const auto& c : gc630) {
    const Reading r = GeneralCode630Reading(c.line);
    EXPECT_EQ(r.key, c.key) << c.line.toStdString();
    EXPECT_DOUBLE_EQ(r.quantity, c.quantity) << c.line.toStdString();
  }

  const struct {
    QString line;
    const char* key;
    double quantity;
  } defaults[] = {{"12345678     ;  12,5  x", "0000012345678", 12},
                  {"8001234567890;1.5", "8001234567890", 1.5},
                  {"123 567890123;        x", "0000000000123", 0},
                  {"", "             ", 0}};
  for (const auto& c : defaults) {
    const Reading r = DefaultTerminalReading(c.line);
    EXPECT_EQ(r.key, c.key) << c.line.toStdString();
    EXPECT_DOUBLE_EQ(r.quantity, c.quantity) << c.line.toStdString();
  }

  const auto mc = [](const QString& code, const QString& quantity) {
    return QString(23, 'm') + code.leftJustified(13, ' ') + QString(7, '-') +
           quantity.leftJustified(6, ' ') + "coda";
  };
  const struct {
    QString line;
    Reading::Kind kind;
    const char* key;
    double quantity;
  } mcs[] = {{mc(" 12345678 ", " 3 "), Reading::Kind::Ok, "0000012345678", 3},
             {mc("0000012345678", "12,5"), Reading::Kind::Ok, "0000012345678", 12},
             {mc("ABCDEFGH", "2"), Reading::Kind::Unreadable, "", 2},
             {mc("", "2"), Reading::Kind::Unreadable, "", 2},
             {"", Reading::Kind::Blank, "", 0}};
  for (const auto& c : mcs) {
    const Reading r = Mc3000Reading(c.line);
    EXPECT_EQ(r.kind, c.kind) << c.line.toStdString();
    if (r.kind == Reading::Kind::Ok) {
      EXPECT_EQ(r.key, c.key) << c.line.toStdString();
    }
    EXPECT_DOUBLE_EQ(r.quantity, c.quantity) << c.line.toStdString();
  }
  EXPECT_EQ(Mc3000Reading(mc("ABCDEFGH", "2")).code, "ABCDEFGH     ");  // reported as written

  const struct {
    Variant eanrig, colli;
    const char* key;
    double quantity;
  } rows[] = {{"12345678", 0, "12345678     ", 1},
              {Variant::null(), Variant::null(), "             ", 1},
              {"80012345678901234", 2.5, "8001234567890", 2.5},
              {"8001234567890", "abc", "8001234567890", 1}};
  for (const auto& c : rows) {
    const Reading r = WifiReading(c.eanrig, c.colli);
    EXPECT_EQ(r.key, c.key);
    EXPECT_DOUBLE_EQ(r.quantity, c.quantity);
  }
}

TEST(TerminalRulesTest, ProgressSteps) {
  EXPECT_EQ(ProgressStep(0), 0);
  EXPECT_EQ(ProgressStep(2), 500);
  EXPECT_EQ(ProgressStep(16), 62);  // 62.5 halves to even
  EXPECT_EQ(ProgressStep(400), 2);  // 2.5 halves to even
  EXPECT_EQ(ProgressStep(2000), 0);
  // 600 lines: step 2, back to 0 at line 551, 98 at the end.
  qint16 value = 0;
  int dropAt = 0;
  for (int line = 1; line <= 600; ++line) {
    value = NextProgress(value, ProgressStep(600));
    if (value == 0 && dropAt == 0) dropAt = line;
  }
  EXPECT_EQ(dropAt, 551);
  EXPECT_EQ(value, 98);
}

}  // namespace
}  // namespace vx::terminals
