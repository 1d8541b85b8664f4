// A data drive for the Corvalia text import: the main database with its supplier rows, the
// Corvalia catalogue holding an old article, and the text files of the edge cases written
// into the text folder.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>
#include <vector>

#include "common/progress.h"
#include "platform/db/database.h"
#include "platform/variant.h"
#include "support/qt_print.h"
#include "support/temp_data_root.h"

namespace vx::pricelists::testing {

// Records what a pass reports: its lines, each Begin's maximum and the bar's value.
class RecordingSink : public common::ProgressSink {
 public:
  void Status(const QString& message) override { lines << message; }
  void Begin(int max) override {
    maxima.push_back(max);
    value = 0;
  }
  void Step() override {
    ++steps;
    if (value + 1 <= maxima.back()) ++value;
  }
  void Yield() override {
    ++yields;
    if (onYield) onYield(*this);
  }

  QStringList lines;
  std::vector<int> maxima;
  int value = 0, steps = 0, yields = 0;
  std::function<void(RecordingSink&)> onYield;
};

class CorvaliaFixture : public ::testing::Test {
 protected:
  static constexpr const char* kFolder = "C:\\Programmi\\tolmo\\corvalia\\";
  static constexpr const char* kCatalogue = "C:\\corvalia\\dati.mdb";

  void SetUp() override;
  void TearDown() override;

  // Windows-1252 text with CR LF after every line.
  static QByteArray CrLf(const QStringList& lines);
  // Writes a file of the text folder.
  void WriteText(const QString& name, const QByteArray& bytes);
  // The edge-case files: b0612.TXT (and B0613.TXT, never read), T0612.TXT with lone line
  // feeds and no end on its last line, A0612.TXT with a DOS end mark.
  void WriteEdgeCaseFiles();

  // The first column of the first row (Empty when none), `key` bound to its ? when given.
  Variant Scalar(const QString& sql, const Variant& key = Variant());
  Variant Article(qint64 codart, const QString& column);
  int Count(const QString& table);
  // The codean rows as "codare|eanare", in order of codare and eanare.
  QStringList Eans();

  TempDataRoot root_;
  std::shared_ptr<db::Database> main_;
  std::shared_ptr<db::Database> catalogue_;
};

}  // namespace vx::pricelists::testing
