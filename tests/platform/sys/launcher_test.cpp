#include "platform/sys/launcher.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include "support/stand_in_terminal.h"
#include "support/temp_data_root.h"

using vx::sys::StartDetached;

namespace {

TEST(StartDetachedTest, SaysWhyAProgramCannotStart) {
  TempDataRoot root;
  root.WriteFile("C/Fornitori/notes.txt", "x");
  const auto empty = StartDetached("  ");
  EXPECT_FALSE(empty.ok);
  EXPECT_FALSE(empty.reason.isEmpty());

  const auto missing = StartDetached("C:\\Fornitori\\varu.exe");
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.reason, "il file non esiste.");  // the caller names the program

  const auto plain = StartDetached("C:\\Fornitori\\notes.txt");
  EXPECT_FALSE(plain.ok);
  EXPECT_TRUE(plain.reason.contains("non è eseguibile"));

  const auto folder = StartDetached("C:\\Fornitori");
  EXPECT_FALSE(folder.ok);
}

TEST(StartDetachedTest, StartsTheMappedProgramInItsOwnFolder) {
  TempDataRoot root;
  // The program leaves a mark in its working folder with its argument.
  const QString script =
      root.WriteFile("C/Fornitori/Ordini.exe", "#!/bin/sh\necho \"$1\" > started.txt\n");
  QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  const auto r =
      StartDetached("c:\\fornitori\\ORDINI.EXE", {"ciao"}, vx::sys::WindowState::Maximized);
  ASSERT_TRUE(r.ok) << r.reason.toStdString();
  EXPECT_TRUE(r.reason.isEmpty());
  EXPECT_GT(r.pid, 0);

  QFile mark(root.root() + "/C/Fornitori/started.txt");
  const QDeadlineTimer deadline(10000);
  while (!(mark.exists() && mark.size() > 0) && !deadline.hasExpired()) QThread::msleep(20);
  ASSERT_TRUE(mark.open(QIODevice::ReadOnly));
  EXPECT_EQ(mark.readAll().trimmed(), "ciao");
}

// A batch runs line by line in the terminal, from its own folder, and stays as written.
TEST(StartDetachedTest, RunsABatchInTheTerminal) {
  TempDataRoot root;
  StandInTerminal terminal("xyz\n");
  root.WriteFile("C/Pdt3100/Dati.TXT", "1");
  WriteScript(root.root() + "/C/Pdt3100/tools/Prog.exe",
              "echo \"cwd=$(pwd)\"\nfor a; do echo \"arg=$a\"; done\nread k; echo \"key=$k\"\n");
  const QByteArray batch =
      "@ECHO Inizio scarico\r\n"
      "echo.\r\n"
      "@ECHO OFF\r\n"
      "PAUSE\r\n"
      "cd C:\\nessuna\r\n"
      "cd c:\\PDT3100\\TOOLS\r\n"
      "prog e -o+ c:\\pdt3100\\dati.txt \"due parole\" relativo.txt\r\n"
      "C:\\manca\\rar x\r\n"
      "copy a b\r\n"
      "dir > elenco.txt\r\n"
      "REM niente\r\n"
      ":etichetta\r\n"
      "\r\n"
      "ECHO l'ultima $(riga) \xe8\r\n"
      "PAUSE\r\n";
  const QString bat = root.WriteFile("C/Pdt3100/scarico.bat", batch);

  const auto r = StartDetached("C:\\PDT3100\\SCARICO.BAT", {}, vx::sys::WindowState::Maximized);
  ASSERT_TRUE(r.ok) << r.reason.toStdString();
  const auto output = terminal.WaitForOutput();
  ASSERT_TRUE(output.has_value());
  const QString pause = "Premere un tasto per continuare . . . \n";
  const QString folder = root.root() + "/C/Pdt3100";
  EXPECT_EQ(*output,
            "Inizio scarico\n"
            "\n" +
                pause +
                "Impossibile trovare il percorso specificato: C:\\nessuna\n"
                "cwd=" +
                folder +
                "/tools\n"
                "arg=e\narg=-o+\narg=" +
                folder +
                "/Dati.TXT\n"
                "arg=due parole\narg=relativo.txt\n"
                "key=yz\n"  // the pause took one key
                "Programma non trovato: C:\\manca\\rar\n"
                "Comando non eseguito: copy a b\n"
                "Comando non eseguito: dir > elenco.txt\n"
                "l'ultima $(riga) \u00e8\n" +  // text, never run
                pause);
  EXPECT_EQ(terminal.StartFolder(), folder);
  QFile f(bat);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), batch);
}

TEST(StartDetachedTest, ABatchWithoutATerminalOrFileDoesNotStart) {
  TempDataRoot root;
  root.WriteFile("C/Pdt3100/scarico.bat", "PAUSE\r\n");
  StandInTerminal none("", StandInTerminal::Presence::Absent);
  const auto noTerminal = StartDetached("C:\\Pdt3100\\scarico.bat");
  EXPECT_FALSE(noTerminal.ok);
  EXPECT_TRUE(noTerminal.reason.contains("x-terminal-emulator")) << noTerminal.reason.toStdString();

  const auto missing = StartDetached("C:\\Pdt3100\\manca.bat");
  EXPECT_FALSE(missing.ok);
  EXPECT_TRUE(missing.reason.contains("non esiste"));
  root.WriteFile("C/Pdt3100/guasto.bat", QByteArray("PAUSE\r\n\x1A") + "DEL *.*\r\n");
  EXPECT_TRUE(StartDetached("C:\\Pdt3100\\guasto.bat")
                  .reason.startsWith("il file batch è danneggiato: il byte di fine file"));
}

}  // namespace
