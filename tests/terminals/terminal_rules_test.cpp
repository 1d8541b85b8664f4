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
