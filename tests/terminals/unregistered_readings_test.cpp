// Every window that reads a download file, given readings it cannot register and files that
// are no text of its terminal: nothing is dropped without a word and the file stays.
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <functional>
#include <utility>
#include <vector>

#include "platform/db/recordset.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/print/printjob.h"
#include "platform/ui/form.h"
#include "support/qt_print.h"
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

using Readings = std::vector<std::pair<QString, QString>>;  // code, quantity

template <class W>
void Confirm() {
  W* w = ui::Forms::Show<W>();
  if (w) QTest::mouseClick(w->Command1, Qt::LeftButton);
}

QString Fixed(const QString& text, int width) { return text.leftJustified(width, ' ', true); }

// A layout of one reading per line: filler, the code in 13, the quantity in `width`, a tail.
std::function<QStringList(const Readings&)> PerLine(int codeColumn, const QString& middle,
                                                    int width) {
  return [=](const Readings& readings) {
    QStringList lines;
    for (const auto& [code, quantity] : readings) {
      lines << QString(codeColumn - 1, 'x') + Fixed(code, 13) + middle + Fixed(quantity, width) +
                   "coda";
    }
    return lines;
  };
}

struct TerminalType {
  const char* code;
  QString file;
  std::function<QStringList(const Readings&)> download;
  void (*confirm)();
  bool records = false;  // PDT6100: the readings are 22-character records of the first line
};

const TerminalType kTypes[] = {
    {"default", "C:\\mvterminal\\ordini.txt", PerLine(1, ";", 8), Confirm<cnfpv>},
    {"PDT", "C:\\pdt3100\\dati.txt", PerLine(20, "", 6), Confirm<cnfpv2>},
    {"PDC", "C:\\pdt3100\\dati.txt", PerLine(18, "", 6), Confirm<cnfpv7>},
    {"PDM", "C:\\pdt3100\\dati1.txt", PerLine(18, "", 6), Confirm<cnfpv3>},
    {"CIP", "C:\\cipherlab\\dati.txt",
     [](const Readings& readings) {
       QStringList lines;
       for (const auto& [code, quantity] : readings) lines << code + "," + quantity;
       return lines;
     },
     Confirm<cnfpv4>},
    {"SIS", "C:\\MC3000\\dati\\MC0001.txt", PerLine(24, "-------", 6), Confirm<cnfpv6>},
    {"PD6", "C:\\brunelvatto\\filedati.001",
     [](const Readings& readings) {
       QString first(104, 'h');
       for (const auto& [code, quantity] : readings)
         first += Fixed(code, 13) + Fixed(quantity, 7) + "..";
       return QStringList{first, "FINE"};
     },
     Confirm<cnfpv8>, true},
    {"630", "C:\\archivio.txt", PerLine(1, "", 8), Confirm<cnfpv9>},
};

class UnregisteredReadingsTest : public TerminalTest {
 protected:
  void SetUp() override {
    TerminalTest::SetUp();
    for (const char* ean : {"8001234567890", "8005555555555", "8007777777777"}) {
      AddArticle(ean, {1, 2, 3, 4});  // slot 1 alone the cheapest for every rule
    }
  }
  // Each run starts from a closed window, no download, an empty print folder and packages 0.
  void Reset(const TerminalType& run) {
    ui::Forms::UnloadAll();
    ProcessDeferredDeletes();
    QDir(fs::HostPath(print::PrintJob::PrintFolder())).removeRecursively();
    for (const TerminalType& type : kTypes) QFile::remove(fs::HostPath(type.file));
    db_->Execute("update articoli set colli1 = 0, colli2 = 0, colli3 = 0, colli4 = 0, sel = ' '");
    boxes_->Clear();
    if (QString(run.code) == "CIP") boxes_->Answer(ui::MsgAnswer::Yes);  // its question
  }
  int Marked() const {
    auto rs = db_->OpenRecordset("select count(*) as n from articoli where sel = 'X'");
    return int(rs->Field("n").toLong());
  }
};

// The printed line with its blanks as pdftotext folds them.
QRegularExpression Printed(const QString& line) {
  QStringList words = line.split(' ', Qt::SkipEmptyParts);
  for (QString& w : words) w = QRegularExpression::escape(w);
  return QRegularExpression(words.join("\\s+"));
}

TEST_F(UnregisteredReadingsTest, ReadingsThatCannotBeRegisteredAreListedAndKeepTheFile) {
  VX_REQUIRE_TOOL(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext");
  const struct {
    QString code, quantity;
    const char* fault;
  } bad[] = {{"", "3", "codice mancante"},
             {"8007777777777", "1e308", "quantità troppo grande"},
             {"8007777777777", "1e309", "quantità troppo grande"},
             {"8007777777777", "-5", "quantità negativa"},
             {"8007777777777", "NaN", "quantità non numerica"},
             {"8007777777777", "1.5", "quantità non intera"}};
  for (const TerminalType& type : kTypes) {
    for (const auto& b : bad) {
      SCOPED_TRACE(QString("%1, quantity %2").arg(type.code, b.quantity).toStdString());
      Reset(type);
      const QStringList lines =
          type.download({{"8001234567890", "2"}, {b.code, b.quantity}, {"8005555555555", "4"}});
      WriteSource(type.file, lines);
      type.confirm();

      // The readings around it are registered; the bad one writes nothing.
      EXPECT_EQ(Column("8001234567890", "colli1").toDouble(), 2);
      EXPECT_EQ(Column("8005555555555", "colli1").toDouble(), 4);
      EXPECT_EQ(Column("8007777777777", "sel").str(), " ");
      EXPECT_EQ(Column("8007777777777", "colli1").toDouble(), 0);
      EXPECT_TRUE(SourceExists(type.file));
      EXPECT_FALSE(boxes_->Texts().contains(" Elaborazione terminata con successo "));
      const QString closing =
          "ATTENZIONE!!! Elaborazione terminata: 1 lettura non registrata, "
          "elencata nella stampa con il numero della riga; il file " +
          type.file + " resta sul disco.";
      EXPECT_TRUE(boxes_->Texts().contains(closing)) << boxes_->Texts().join(" | ").toStdString();

      const QString text = type.records ? lines[0].mid(104 + 22, 22) : lines[1];
      const QString listed = QString("Riga %1 non registrata (%2): %3")
                                 .arg(type.records ? 1 : 2)
                                 .arg(b.fault, text.trimmed());
      const QString printed = PrintedText();
      EXPECT_TRUE(printed.contains(Printed(listed))) << listed.toStdString() << "\n"
                                                     << printed.toStdString();
    }
  }
}

TEST_F(UnregisteredReadingsTest, AFileThatIsNoTextOfTheTerminalWritesNothingAndStays) {
  QRandomGenerator random(20261209);
  QByteArray noise(4096, '\0');
  for (char& c : noise) c = char(random.bounded(256));
  const QString letters = QString("abcdefghij").repeated(20);
  for (const TerminalType& type : kTypes) {
    const QStringList good = type.download({{"8001234567890", "2"}, {"8005555555555", "4"}});
    const struct {
      const char* what;
      QByteArray bytes;
    } files[] = {
        {"NUL bytes", fs::ToCp1252(good.join("\r\n")) + QByteArray("\r\n\0\0\0\0\r\n", 8)},
        {"UTF-16 with its mark",
         QByteArray("\xFF\xFE") +
             QByteArray(reinterpret_cast<const char*>(good.join("\r\n").utf16()),
                        int(good.join("\r\n").size() * 2))},
        {"random bytes", noise},
        {"no line of the layout", fs::ToCp1252(QStringList(3, letters).join("\r\n") + "\r\n")},
    };
    for (const auto& f : files) {
      SCOPED_TRACE(QString("%1, %2").arg(type.code, f.what).toStdString());
      Reset(type);
      fs::CreateFolder(type.file.left(type.file.lastIndexOf('\\')));
      QFile out(fs::HostPath(type.file));
      ASSERT_TRUE(out.open(QIODevice::WriteOnly));
      out.write(f.bytes);
      out.close();
      type.confirm();

      EXPECT_EQ(Marked(), 0);
      EXPECT_EQ(Column("8001234567890", "colli1").toDouble(), 0);
      EXPECT_TRUE(SourceExists(type.file));
      ASSERT_FALSE(boxes_->Texts().isEmpty());
      EXPECT_EQ(boxes_->Texts().last(),
                "ATTENZIONE!!! Il file " + type.file +
                    " non contiene letture del terminalino: nessuna quantità registrata, il file "
                    "resta sul disco.");
      EXPECT_EQ(boxes_->Boxes().back().icon, ui::MsgIcon::Critical);
    }
  }
}

}  // namespace
}  // namespace vx::terminals::testing
