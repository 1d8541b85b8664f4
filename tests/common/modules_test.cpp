#include "common/modules.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <memory>

#include "platform/print/printers.h"
#include "support/temp_data_root.h"

using namespace vx::common;

namespace {

// A child process whose executable file carries the given name (a copy of sleep).
std::unique_ptr<QProcess> StartNamed(const QTemporaryDir& dir, const QString& name) {
  const QString path = dir.filePath(name);
  QFile::copy("/bin/sleep", path);
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  auto p = std::make_unique<QProcess>();
  p->start(path, {"60"});
  p->waitForStarted(5000);
  return p;
}

bool Alive(QProcess& p) { return p.state() == QProcess::Running && ::kill(p.processId(), 0) == 0; }

TEST(TerminaProcessoTest, StopsNamesEndingWithTheNameWithoutRegardToCase) {
  QTemporaryDir dir;
  // A name of this test's own, so that no other process of the user is touched.
  const QString name = QStringLiteral("vosk2-%1.exe").arg(getpid());
  auto upper = StartNamed(dir, name.toUpper());
  auto prefixed = StartNamed(dir, "x" + name);
  auto longer = StartNamed(dir, name + ".bak");
  ASSERT_TRUE(Alive(*upper) && Alive(*prefixed) && Alive(*longer));

  mod_termina_processo(name);

  EXPECT_TRUE(upper->waitForFinished(10000));
  EXPECT_TRUE(prefixed->waitForFinished(10000));
  EXPECT_EQ(upper->exitStatus(), QProcess::CrashExit);  // ended by the signal
  EXPECT_TRUE(Alive(*longer));
  longer->kill();
  longer->waitForFinished(10000);
}

TEST(TerminaProcessoTest, AnEmptyNameStopsNothing) {
  QTemporaryDir dir;
  auto p = StartNamed(dir, QStringLiteral("empty-%1").arg(getpid()));
  mod_termina_processo("");
  EXPECT_TRUE(Alive(*p));
  p->kill();
  p->waitForFinished(10000);
}

TEST(AggiungiBarraTest, AppendsOneBackslashWhereMissing) {
  EXPECT_EQ(mod_aggiungi_barra(QString("C:\\programmi\\tolmo\\")), "C:\\programmi\\tolmo\\");
  EXPECT_EQ(mod_aggiungi_barra(QString("C:\\programmi\\tolmo")), "C:\\programmi\\tolmo\\");
  EXPECT_EQ(mod_aggiungi_barra(QString("")), "\\");
  EXPECT_EQ(mod_aggiungi_barra(vx::Variant()), "\\");
  EXPECT_EQ(mod_aggiungi_barra(QString("C:/a/")), "C:/a/\\");
}

TEST(DettagliFileTest, FourthEntryIsTheModificationDate) {
  TempDataRoot root;
  const QString path = root.WriteFile("C/Programmi/tolmo/Vantorelix.exe", QByteArray(3000, 'x'));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2025, 11, 28), QTime(17, 42, 10)),
                            QFileDevice::FileModificationTime));
  f.close();

  const auto details = mod_dettagli_file("C:\\programmi\\tolmo\\", "vantorelix.exe");
  ASSERT_GE(details.size(), 4u);
  EXPECT_EQ(details[0], (std::pair<QString, QString>{"Nome", "Vantorelix.exe"}));
  EXPECT_EQ(details[1].second, "3 KB");
  EXPECT_EQ(details[2].second, "Applicazione");
  EXPECT_EQ(details[3], (std::pair<QString, QString>{"Ultima modifica", "28/11/2025 17:42"}));
  for (const auto& [title, text] : details) EXPECT_FALSE(title.isEmpty());
}

TEST(DettagliFileTest, MissingFolderOrItemGivesNothing) {
  TempDataRoot root;
  root.WriteFile("C/Programmi/tolmo/a.txt", "x");
  EXPECT_TRUE(mod_dettagli_file("C:\\programmi\\nessuna\\", "a.txt").empty());
  EXPECT_TRUE(mod_dettagli_file("C:\\programmi\\tolmo\\", "b.txt").empty());
  EXPECT_TRUE(mod_dettagli_file("", "a.txt").empty());
  EXPECT_FALSE(mod_dettagli_file("C:\\programmi\\tolmo", "A.TXT").empty());
}

class IndiceStampanteTest : public ::testing::Test {
 protected:
  void SetUp() override { vx::print::SetPrinterList(QStringList{"HP LaserJet", "PDFCreator"}); }
  void TearDown() override { vx::print::SetPrinterList(std::nullopt); }
};

TEST_F(IndiceStampanteTest, PositionOfTheNameWithoutRegardToCase) {
  EXPECT_EQ(mod_indice_stampante("pdfcreator"), 1);
  EXPECT_EQ(mod_indice_stampante("HP LASERJET"), 0);
  EXPECT_EQ(mod_indice_stampante("Epson"), 0);  // none: the first printer
  EXPECT_EQ(mod_indice_stampante(""), 0);
}

}  // namespace
