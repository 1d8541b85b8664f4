#include "common/shared_values.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace vx::common {
namespace {

class SharedValuesTest : public ::testing::Test {
 protected:
  void SetUp() override { G().Reset(); }
  void TearDown() override { G().Reset(); }
};

TEST_F(SharedValuesTest, StoreNameIsCutOrPaddedToThirty) {
  G().ragione_sociale = QString(31, 'N');
  EXPECT_EQ(G().ragione_sociale.str(), QString(30, 'N'));
  G().ragione_sociale = "BAR SPORT";
  EXPECT_EQ(G().ragione_sociale.str(), QStringLiteral("BAR SPORT") + QString(21, ' '));
}

TEST_F(SharedValuesTest, FixedWidthValuesKeepTheirWidths) {
  G().password_attesa = "segretissima";
  EXPECT_EQ(G().password_attesa.str(), "segretissi");
  G().ean_corrente = "8001234";
  EXPECT_EQ(G().ean_corrente.str().size(), 13);
  G().descrizione_fornitore = "VARU";
  EXPECT_EQ(G().descrizione_fornitore.str().size(), 45);
  G().drive = "Cdrive";
  EXPECT_EQ(G().drive.str(), "C");
  G().azione_conv = "";
  EXPECT_EQ(G().azione_conv.str(), " ");
}

// The widths the windows rely on.
static_assert(std::is_same_v<decltype(SharedValues::codutente), qint16>);
static_assert(std::is_same_v<decltype(SharedValues::codcommesso), qint32>);
static_assert(std::is_same_v<decltype(SharedValues::numero_ordine), qint32>);
static_assert(std::is_same_v<decltype(SharedValues::quantita), float>);

TEST_F(SharedValuesTest, ProgramStartValues) {
  G().codutente = 7;
  G().codlis = "05";
  G().percorso_db = "C:\\x.mdb";
  G().rec_negozio.nome_negozio = "X";
  G().Reset();
  EXPECT_EQ(G().codutente, 0);
  EXPECT_EQ(G().codcommesso, 0);
  EXPECT_EQ(G().codlis.str(), "01");
  EXPECT_TRUE(G().percorso_db.isEmpty());
  EXPECT_EQ(G().rec_negozio.nome_negozio.str(), QString(30, ' '));
  EXPECT_EQ(G().quantita, 0.0f);
}

}  // namespace
}  // namespace vx::common
