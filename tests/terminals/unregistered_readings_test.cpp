// Every window that reads a download file, given readings it cannot register and files that
// are no text of its terminal: nothing is dropped without a word and the file stays.
#include <QDir>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/print/printjob.h"
#include "platform/ui/form.h"
#include "support/requirements.h"
#include "terminals/cnfpv.h"
#include "terminals/cnfpv2.h"
#include "terminals/cnfpv3.h"
#include "terminals/cnfpv4.h"
#include "terminals/cnfpv6.h"
#include "terminals/cnfpv7.h"
#include "terminals/cnfpv8.h"
#include "terminals/cnfpv9.h"
#include "terminals/terminal_fixture.h"

namespace vx::terminals::testing {
namespace {

template <class W>
void Confirm() {
  QTest::mouseClick(ui::Forms::Show<W>()->Command1, Qt::LeftButton);
}

// A download: each reading is filler, the code in 13, the separator, the quantity in `width`
// and "..", one a line (PDT6100: 22-character records of the first line after 104).
struct TerminalType {
  const char* code;
  QString file;
  int filler;
  const char* separator;
  int width;
  void (*confirm)();
  bool adds = false;  // its rule adds to the packages: a file is registered whole or not at all
  QStringList Download(const std::vector<std::pair<QString, QString>>& readings) const {
    QStringList lines;
    for (const auto& [c, q] : readings) {
      lines << QString(filler, 'x') + c.leftJustified(13) + separator + q.leftJustified(width) +
                   "..";
    }
    return QString(code) == "PD6" ? QStringList{QString(104, 'h') + lines.join(""), "FINE"} : lines;
  }
};
const TerminalType kTypes[] = {
    {"", "C:\\mvterminal\\ordini.txt", 0, ";", 8, Confirm<cnfpv>},
    {"PDT", "C:\\pdt3100\\dati.txt", 19, "", 6, Confirm<cnfpv2>},
    {"PDC", "C:\\pdt3100\\dati.txt", 17, "", 6, Confirm<cnfpv7>},
    {"PDM", "C:\\pdt3100\\dati1.txt", 17, "", 6, Confirm<cnfpv3>},
    {"CIP", "C:\\cipherlab\\dati.txt", 0, ",", 0, Confirm<cnfpv4>},
    {"SIS", "C:\\MC3000\\dati\\MC0001.txt", 23, "-------", 6, Confirm<cnfpv6>},
    {"PD6", "C:\\brunelvatto\\filedati.001", 0, "", 7, Confirm<cnfpv8>, true},
    {"630", "C:\\archivio.txt", 0, "", 8, Confirm<cnfpv9>, true}};

class UnregisteredReadingsTest : public TerminalTest {
 protected:
  void SetUp() override {
    TerminalTest::SetUp();
    for (const char* ean : {"8001234567890", "8005555555555", "8007777777777"}) {
      AddArticle(ean, {1, 2, 3, 4});  // slot 1 alone the cheapest for every rule
    }
  }
  // A run from a closed window, no download, an empty print folder and packages 0.
  void Run(const TerminalType& type, const QByteArray& download, void (*then)(QFile&) = nullptr) {
    ui::Forms::UnloadAll();
    ProcessDeferredDeletes();
    QDir(fs::HostPath(print::PrintJob::PrintFolder())).removeRecursively();
    for (const TerminalType& t : kTypes) QFile::remove(fs::HostPath(t.file));
    db_->Execute("update articoli set colli1 = 0, colli2 = 0, colli3 = 0, colli4 = 0, sel = ' '");
    boxes_->Clear();
    if (QString(type.code) == "CIP") boxes_->Answer(ui::MsgAnswer::Yes);  // its question
    fs::CreateFolder(type.file.left(type.file.lastIndexOf('\\')));
    QFile out(fs::HostPath(type.file));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(download) == download.size());
    if (then) then(out);
    out.close();
    type.confirm();
  }
};

TEST_F(UnregisteredReadingsTest, ReadingsThatCannotBeRegisteredAreListedAndKeepTheFile) {
  VX_REQUIRE_TOOL(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext");
  const QString e = "8007777777777";
  const struct {
    QString code;
    const char *quantity, *fault;
  } bad[] = {{"", "3", "codice mancante"},           {e, "1e308", "quantità troppo grande"},
             {e, "1e309", "quantità troppo grande"}, {e, "-5", "quantità negativa"},
             {e, "NaN", "quantità non numerica"},    {e, "1.5", "quantità non intera"}};
  for (const TerminalType& type : kTypes) {
    for (const auto& b : bad) {
      SCOPED_TRACE(QString("%1, %2").arg(type.code, b.quantity).toStdString());
      const QStringList lines =
          type.Download({{"8001234567890", "2"}, {b.code, b.quantity}, {"8005555555555", "4"}});
      Run(type, fs::ToCp1252(lines.join("\r\n") + "\r\n"));
      EXPECT_EQ(Column("8001234567890", "colli1").toDouble(), type.adds ? 0 : 2);
      EXPECT_EQ(Column("8005555555555", "colli1").toDouble(), type.adds ? 0 : 4);
      EXPECT_EQ(Column(e, "sel").str() + Column(e, "colli1").str(), " 0");
      EXPECT_TRUE(SourceExists(type.file));
      const QString said =
          type.adds ? "ATTENZIONE!!! Il file " + type.file +
                          " contiene 1 lettura non registrabile, elencata nella stampa con il "
                          "numero della riga: nessuna quantità registrata, il file resta sul "
                          "disco."
                    : "ATTENZIONE!!! Elaborazione terminata: 1 lettura non registrata, elencata "
                      "nella stampa con il numero della riga; il file " +
                          type.file + " resta sul disco.";
      EXPECT_TRUE(boxes_->Texts().contains(said)) << boxes_->Texts().join(" | ").toStdString();
      // Listed with its line and text; pdftotext folds runs of blanks.
      const bool pd6 = QString(type.code) == "PD6";
      QStringList words = QString("Riga %1 non registrata (%2): %3")
                              .arg(pd6 ? 1 : 2)
                              .arg(b.fault, pd6 ? lines[0].mid(126, 22) : lines[1])
                              .split(' ', Qt::SkipEmptyParts);
      for (QString& w : words) w = QRegularExpression::escape(w);
      EXPECT_TRUE(PrintedText().contains(QRegularExpression(words.join("\\s+"))))
          << words.join(" ").toStdString() << "\n"
          << PrintedText().toStdString();
    }
  }
}

TEST_F(UnregisteredReadingsTest, AFileThatIsNoTextOfTheTerminalWritesNothingAndStays) {
  QRandomGenerator random(20261209);
  QByteArray noise(4096, '\0');
  for (char& c : noise) c = char(random.bounded(256));
  for (const TerminalType& type : kTypes) {
    const QString good = type.Download({{"8001234567890", "2"}}).join("\r\n") + "\r\n";
    const struct {
      const char* what;
      QByteArray bytes;
      QString reason = "non contiene letture del terminalino";
      void (*then)(QFile&) = nullptr;
    } files[] = {
        {"NUL bytes", fs::ToCp1252(good) + QByteArray("\0\0\0\0\r\n", 6)},
        {"UTF-16", "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(good.utf16()),
                                           int(good.size() * 2))},
        {"random bytes", noise},
        {"no line of the layout", fs::ToCp1252(QString("abcdefghij").repeated(20) + "\r\n")},
        {"text after a DOS end mark", fs::ToCp1252(good + "\x1A" + good),
         QString("è danneggiato: il byte di fine file (0x1A) alla posizione %1 è seguito da altro "
                 "testo")
             .arg(good.size() + 1)},
        {"beyond a download's size", fs::ToCp1252(good),
         "supera i 16 MB ammessi per un file di questo tipo",
         [](QFile& f) { f.resize(fs::kMaxDownloadBytes + 1); }}};
    for (const auto& [what, bytes, reason, then] : files) {
      SCOPED_TRACE(QString("%1, %2").arg(type.code, what).toStdString());
      Run(type, bytes, then);
      EXPECT_EQ(Column("8001234567890", "sel").str() + Column("8001234567890", "colli1").str(),
                " 0");
      EXPECT_TRUE(SourceExists(type.file));
      EXPECT_EQ(boxes_->Texts().last(), "ATTENZIONE!!! Il file " + type.file + " " + reason +
                                            ": nessuna quantità registrata, il file resta sul "
                                            "disco.");
    }
  }
}

}  // namespace
}  // namespace vx::terminals::testing
