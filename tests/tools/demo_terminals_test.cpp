// The sample downloads of `vantorelix-setup --terminal CODE`, read back by the terminal
// windows' own record rules.
#include "demo_terminals.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <optional>
#include <set>

#include "data_drive.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/files.h"
#include "support/qt_print.h"
#include "terminals/terminal_rules.h"

namespace vx::tools {
namespace {

using terminals::Reading;

class DemoTerminalsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new QTemporaryDir;
    DataDriveOptions o;
    o.demo = true;
    o.articles = 200;
    o.today = QDate(2024, 6, 15);
    drive_ = new DataDrive(MakeDataDrive(dir_->path(), o));
  }
  static void TearDownTestSuite() {
    delete drive_;
    delete dir_;
  }
  QString Host(const QString& windowsPath) const {
    return HostPathUnder(drive_->root, windowsPath);
  }
  // The codes the demo catalogues carry.
  std::set<QString> CatalogueCodes() const {
    std::set<QString> codes;
    for (const auto& s : drive_->suppliers) {
      if (s.slot < 1) continue;
      auto rs = db::Database::Open(s.hostPath)->OpenRecordset("select eanare from codean");
      for (; !rs->Eof(); rs->MoveNext()) codes.insert(rs->Field(0).str());
    }
    return codes;
  }
  static QTemporaryDir* dir_;
  static DataDrive* drive_;
};
QTemporaryDir* DemoTerminalsTest::dir_ = nullptr;
DataDrive* DemoTerminalsTest::drive_ = nullptr;

std::vector<Reading> EachLine(const QStringList& lines, Reading (*parse)(const QString&)) {
  std::vector<Reading> out;
  for (const QString& line : lines) out.push_back(parse(line));
  return out;
}

TEST_F(DemoTerminalsTest, EachTerminalCodeGetsItsSampleReadByItsWindowsRules) {
  const auto fixed = [](int codeColumn) {
    return [codeColumn](const QStringList& lines) {
      std::vector<Reading> out;
      for (const QString& line : lines) {
        out.push_back(terminals::FixedColumnsReading(line, codeColumn, codeColumn + 13));
      }
      return out;
    };
  };
  const struct {
    const char* code;
    const char* file;  // "" for the Wi-Fi table
    std::function<std::vector<Reading>(const QStringList&)> read;
    const char* standIn;  // the download tool's stand-in, "" for none
  } cases[] = {
      {"PDT", "C:\\pdt3100\\dati.txt", fixed(20), ""},
      {"PDC", "C:\\pdt3100\\dati.txt", fixed(18), "C:\\pdt3100\\scarica.exe"},
      {"PDM", "C:\\pdt3100\\dati001.txt", fixed(18), ""},
      {"CIP", "C:\\cipherlab\\dati.txt",
       [](const QStringList& l) { return EachLine(l, terminals::CipherLabReading); },
       "C:\\cipherlab\\IR_read.exe"},
      {"IT7", "", nullptr, ""},
      {"SIS", "C:\\MC3000\\dati\\MC000001.txt",
       [](const QStringList& l) { return EachLine(l, terminals::Mc3000Reading); }, ""},
      {"PD6", "C:\\brunelvatto\\filedati.001",
       [](const QStringList& l) { return terminals::Pdt6100Readings(l.value(0)); }, ""},
      {"630", "C:\\archivio.txt",
       [](const QStringList& l) { return EachLine(l, terminals::GeneralCode630Reading); }, ""},
      {"", "C:\\mvterminal\\ordini.txt",
       [](const QStringList& l) { return EachLine(l, terminals::DefaultTerminalReading); }, ""},
  };
  const std::set<QString> catalogue = CatalogueCodes();
  auto main = db::Database::Open(drive_->mainDb);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    // Twice: the second call replaces what the first left.
    SetUpTerminal(drive_->root, 'C', c.code);
    const QStringList made = SetUpTerminal(drive_->root, 'C', QString(" %1 ").arg(c.code));
    EXPECT_FALSE(made.isEmpty());
    auto store = main->OpenRecordset("select ncr from utenti where codutente = 1");
    EXPECT_EQ(store->Field(0).str(), c.code);

    std::vector<Reading> readings;
    if (QString(c.file).isEmpty()) {
      auto rows = db::Database::Open(Host("C:\\brunelvatto\\dati.mdb"))
                      ->OpenRecordset("select * from ordine");
      for (; !rows->Eof(); rows->MoveNext()) {
        readings.push_back(terminals::WifiReading(rows->Field("eanrig"), rows->Field("colli")));
      }
    } else {
      const std::optional<QStringList> lines = fs::ReadTextLines(Host(c.file));
      ASSERT_TRUE(lines.has_value());
      readings = c.read(*lines);
      if (!QString(c.standIn).isEmpty()) {
        // The stand-in writes the same download again.
        QFile::remove(Host(c.file));
        QProcess tool;
        tool.start(Host(c.standIn), {});
        ASSERT_TRUE(tool.waitForFinished(10000));
        EXPECT_EQ(fs::ReadTextLines(Host(c.file)), lines);
      }
    }
    int known = 0, unknown = 0, zero = 0;
    for (const Reading& r : readings) {
      if (r.kind != Reading::Kind::Ok) continue;
      if (catalogue.count(r.key)) {
        ++known;
      } else if (r.key.startsWith("299")) {
        ++unknown;
      }
      if (r.quantity == 0) ++zero;
    }
    EXPECT_GE(known, 3);
    EXPECT_EQ(unknown, 1);
    // A zero quantity where the layout skips it.
    if (c.code == QString("PD6") || c.code == QString("630")) {
      EXPECT_GE(zero, 1);
    }
  }
  // A pattern's folder holds the one sample: PDM replaced the PDT and PDC files too.
  const auto matching = [&](const QString& folder, const QString& pattern) {
    return QDir(Host(folder)).entryList({pattern}, QDir::Files);
  };
  EXPECT_EQ(matching("C:\\pdt3100", "dati*"), QStringList{"dati001.txt"});
  EXPECT_EQ(matching("C:\\MC3000\\dati", "MC*.txt"), QStringList{"MC000001.txt"});
  // The batch names its program beside it.
  EXPECT_EQ(fs::ReadTextLines(Host("C:\\pdt3100\\scarico.bat"))->last(), "scarica");
  EXPECT_THROW(SetUpTerminal(drive_->root, 'C', "XYZ"), SetupError);
}

}  // namespace
}  // namespace vx::tools
