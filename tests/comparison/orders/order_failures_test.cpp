// Slots that get no order, orders that fail half-way, and what the closing step may clear.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QTemporaryDir>

#include "comparison/orders/orders_fixture.h"
#include "data/shipped_schema.h"
#include "platform/db/recordset.h"

namespace vx::comparison::testing {
namespace {

class OrderFailuresTest : public OrdersTest {
 protected:
  void SetUp() override {
    OrdersTest::SetUp();
    AddSupplier(1, "VARU");
    AddArticle(1, 1, Ean(8001), "PASTA");
    AddArticle(1, 2, Ean(8002), "RISO");
    AddComparisonRow(Row(Ean(8001)).Cost(1, 2).Cost(2, 2).Packages(1, 1).Packages(2, 3).Seq(1));
    AddComparisonRow(Row(Ean(8002)).Cost(1, 2).Cost(2, 2).Packages(1, 1).Packages(2, 3).Seq(2));
  }
  // Makes the supplier's database refuse the line of the second article (EAN 8002), after
  // the header and the first article's line were written.
  void FailOnSecondLine(int slot) {
    char* error = nullptr;
    const int rc = sqlite3_exec(
        Supplier(slot)->handle(),
        "create trigger refuse_line before insert on movimenti "
        "when new.eanrig = '0000000008002' begin select raise(abort, 'disco pieno'); end",
        nullptr, nullptr, &error);
    ASSERT_EQ(rc, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
  }
};

TEST_F(OrderFailuresTest, SlotWithoutSupplierRowIsSkippedSilently) {
  const SlotOrderResult r = Write(2);  // articoli names slot 2, fornitori has no row 2
  EXPECT_EQ(r.outcome, OrderOutcome::NoSupplier);
  EXPECT_EQ(r.supplier, "n. 2");  // as the closing question names it
  EXPECT_EQ(prompts_.asked, 0);
  EXPECT_TRUE(prompts_.missing.isEmpty());
  EXPECT_TRUE(prompts_.failures.isEmpty());
}

TEST_F(OrderFailuresTest, MissingDatabaseIsReportedAndNothingWritten) {
  AddSupplier(2, "APULIA", 0, /*makeDatabase=*/false);
  const SlotOrderResult r = Write(2);
  EXPECT_EQ(r.outcome, OrderOutcome::MissingDatabase);
  EXPECT_EQ(prompts_.missing, QStringList{SupplierPath(2)});
  EXPECT_EQ(MissingDatabaseText(SupplierPath(2)),
            "Attenzione ... archivio dati C:\\forn2\\dati.mdb non esiste.");
}

TEST_F(OrderFailuresTest, EmptyPathCountsAsMissing) {
  AddSupplier(2, "APULIA", 0, false);
  main_->Execute("update fornitori set percorso = null where codice = 2");
  const SlotOrderResult r = Write(2);
  EXPECT_EQ(r.outcome, OrderOutcome::MissingDatabase);
  EXPECT_EQ(prompts_.missing, QStringList{QString()});
}

TEST_F(OrderFailuresTest, FailingSecondSlotLeavesItsDatabaseAndTheFirstOrderWhole) {
  AddSupplier(2, "APULIA");
  AddArticle(2, 1, Ean(8001), "PASTA");
  AddArticle(2, 2, Ean(8002), "RISO");
  AddExistingOrder(2, 2026, 1, 3);
  FailOnSecondLine(2);

  const SlotOrderResult first = Write(1);
  ASSERT_EQ(first.outcome, OrderOutcome::Written);
  const QString eanAfterFirst = values_.ean_corrente.str();
  prompts_.newOrder = false;  // append to order 1 of slot 2, rewriting its header
  const SlotOrderResult second = Write(2);

  EXPECT_EQ(second.outcome, OrderOutcome::Failed);
  EXPECT_TRUE(second.error.contains("disco pieno")) << second.error.toStdString();
  EXPECT_EQ(prompts_.failures, QStringList{"APULIA"});
  // Slot 2's database is as it was: the old header and its three lines only.
  const auto headers = Headers(2);
  ASSERT_EQ(headers.size(), 1u);
  EXPECT_EQ(headers[0].dataor.toDate(), QDate(2026, 1, 15));
  EXPECT_EQ(headers[0].cliente.toLong(), 5);
  EXPECT_EQ(Lines(2, 2026, 1).size(), 3u);
  // Slot 1's order is whole, and the shared values are those of its last line.
  EXPECT_EQ(Headers(1).size(), 1u);
  EXPECT_EQ(Lines(1, 2026, 1).size(), 2u);
  EXPECT_EQ(values_.numero_ordine, 1);
  EXPECT_EQ(values_.ean_corrente.str(), eanAfterFirst);
}

TEST_F(OrderFailuresTest, FailureOnANewOrderLeavesNoHeader) {
  AddSupplier(2, "APULIA");
  FailOnSecondLine(2);
  const SlotOrderResult r = Write(2);
  EXPECT_EQ(r.outcome, OrderOutcome::Failed);
  EXPECT_TRUE(r.orders.empty());
  EXPECT_TRUE(Headers(2).empty());
}

TEST_F(OrderFailuresTest, ClosingQuestionNamesTheOrdersNotWritten) {
  auto result = [](int slot, OrderOutcome outcome, const QString& supplier) {
    SlotOrderResult r;
    r.slot = slot;
    r.outcome = outcome;
    r.supplier = supplier;
    return r;
  };
  const SlotOrderResult ok = result(1, OrderOutcome::Written, "VARU");
  const SlotOrderResult skipped = result(3, OrderOutcome::NoSupplier, "n. 3");
  const SlotOrderResult failed = result(2, OrderOutcome::Failed, "APULIA");
  const SlotOrderResult missing = result(4, OrderOutcome::MissingDatabase, "DIZA");

  const SlotOrderResult earlier = result(4, OrderOutcome::AlreadyWritten, "DIZA");
  const SlotOrderResult unread = FailedSlot(2, " ", "database is locked");

  const QString success = "Elaborazione completata con successo. Vuoi pulire i colli?";
  EXPECT_EQ(ClosingQuestion({}), success);
  EXPECT_EQ(ClosingQuestion({ok, earlier}), success);
  // A slot whose supplier row is missing has packages and no order: not written.
  EXPECT_FALSE(AllOrdersWritten({ok, skipped}));
  EXPECT_EQ(ClosingQuestion({ok, skipped}),
            "Elaborazione terminata con errori: ordini non creati per n. 3. Vuoi pulire i colli "
            "degli ordini creati?");
  EXPECT_FALSE(AllOrdersWritten({ok, unread}));
  EXPECT_TRUE(ClosingQuestion({ok, unread}).contains("per n. 2."));
  const QString text = ClosingQuestion({ok, failed, missing});
  EXPECT_FALSE(text.contains("successo"));
  EXPECT_TRUE(text.contains("APULIA, DIZA"));
  EXPECT_FALSE(text.contains("VARU"));
}

TEST_F(OrderFailuresTest, ClearingKeepsThePackagesOfOrdersNotWritten) {
  AddArticle(1, 3, Ean(8003), "SALE");
  AddComparisonRow(Row(Ean(8003)).Cost(1, 1).Packages(1, 4));
  AddComparisonRow(Row(Ean(8004)).Cost(1, 1).Packages(1, 2).Sel(" "));

  ClearWrittenPackages(*main_, {1});

  auto value = [this](const char* column, qint64 ean) {
    return MainValue(QStringLiteral("select %1 from articoli where vedovo = '%2'")
                         .arg(QLatin1String(column), Ean(ean)));
  };
  // Rows with slot 2's packages keep them and their mark; slot 1's are cleared.
  EXPECT_EQ(value("colli1", 8001).toLong(), 0);
  EXPECT_EQ(value("colli2", 8001).toLong(), 3);
  EXPECT_EQ(value("sel", 8001).str(), "X");
  // A row left without packages is unmarked.
  EXPECT_EQ(value("colli1", 8003).toLong(), 0);
  EXPECT_EQ(value("sel", 8003).str(), " ");
  // An unmarked row keeps its packages, as the full clearing does.
  EXPECT_EQ(value("colli1", 8004).toLong(), 2);
}

TEST_F(OrderFailuresTest, APathOffTheDataDriveIsRefusedNamingItAndNothingIsWritten) {
  // A real supplier database, but named by a host path outside the data root.
  QTemporaryDir elsewhere;
  const QString host = elsewhere.filePath(QStringLiteral("dati.mdb"));
  data::CreateSupplierDatabase(host);
  AddSupplier(2, "APULIA", 0, /*makeDatabase=*/false);
  main_->Execute("update fornitori set percorso = ? where codice = 2", {Variant(host)});

  const SlotOrderResult r = Write(2);
  EXPECT_EQ(r.outcome, OrderOutcome::Failed);
  EXPECT_EQ(prompts_.failures, QStringList{"APULIA"});
  EXPECT_TRUE(
      r.error.contains(QStringLiteral("'%1' non è un percorso del disco dei dati").arg(host)))
      << r.error.toStdString();
  EXPECT_EQ(db::Database::Open(host)->OpenRecordset("select * from movimenti")->RecordCount(), 0);
}

}  // namespace
}  // namespace vx::comparison::testing
