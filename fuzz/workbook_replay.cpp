// Replays the workbook fuzz targets' seed corpus (generated workbooks of each kind, each
// truncated at many lengths and with bits flipped) and every committed crash reproducer
// through the same entry as the targets. Build it with sanitizers to check the reader.
//
//   workbook_replay [--write-corpus DIR] [FILE|DIR ...]
// Files whose names begin with "xls-" are Workbook streams; the others whole files. With
// --write-corpus the seed corpus is also written to DIR/xlsx and DIR/xls for the targets.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "platform/workbook/compound_file.h"
#include "workbook_fuzz_entry.h"
#include "workbook_writer.h"

namespace {

using namespace vx;

struct Seed {
  QString name;
  QByteArray bytes;
  fuzz::Input input;
};

std::vector<tools::BookSheet> Sheets() {
  tools::BookSheet s{QStringLiteral("Foglio1"), {}};
  for (int r = 1; r <= 40; ++r) {
    s.cells.push_back({r, 1, QStringLiteral("testo %1 àèé €").arg(r)});
    s.cells.push_back({r, 2, r * 1.25});
    s.cells.push_back({r, 3, double(r)});
    s.cells.push_back({r, 4, double(r + 1)});
    s.cells.push_back({r, 5, Variant::fromDayNumber(46000 + r)});
    s.cells.push_back({r, 6, r % 2 == 0});
    s.cells.push_back({r, 7, Variant::error(QStringLiteral("#N/A"))});
    s.cells.push_back({r, 8, QStringLiteral("calcolato"), true});
    s.cells.push_back({r, 9, 3.5, true});
  }
  return {s, tools::BookSheet{QStringLiteral("1"), {{1, 1, QStringLiteral("x")}}}};
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void AddVariants(std::vector<Seed>& out, const QString& name, const QByteArray& whole,
                 fuzz::Input input) {
  out.push_back({name, whole, input});
  const qsizetype step = std::max<qsizetype>(1, whole.size() / 61);
  for (qsizetype n = 0; n < whole.size(); n += step) {
    out.push_back({QStringLiteral("%1-cut%2").arg(name).arg(n), whole.left(n), input});
  }
  quint32 seed = 12345;
  for (int i = 0; i < 120; ++i) {
    QByteArray b = whole;
    for (int k = 0; k < 1 + i % 6; ++k) {
      seed = seed * 1664525u + 1013904223u;
      b[(seed >> 8) % b.size()] ^= static_cast<char>(1 << (seed % 8));
    }
    out.push_back({QStringLiteral("%1-flip%2").arg(name).arg(i), b, input});
  }
}

std::vector<Seed> GeneratedCorpus() {
  std::vector<Seed> out;
  QTemporaryDir dir;
  std::vector<std::pair<QString, tools::BookOptions>> xlsx(4), xls(4);
  xlsx[1].second.sharedStrings = false;
  xlsx[2].second.omitReferences = true;
  xlsx[2].second.absoluteTargets = true;
  xlsx[3].second.richText = true;
  xlsx[3].second.date1904 = true;
  xls[1].second.sharedStrings = false;
  xls[1].second.sharedFormulaBeforeString = true;
  xls[2].second.biff5 = true;
  xls[3].second.biff5 = true;
  xls[3].second.codePage = 850;
  for (size_t i = 0; i < xlsx.size(); ++i) {
    const QString path = dir.filePath(QStringLiteral("w%1.xlsx").arg(i));
    if (tools::WriteXlsx(path, Sheets(), xlsx[i].second)) {
      AddVariants(out, QStringLiteral("xlsx%1").arg(i), ReadFile(path), fuzz::Input::File);
    }
  }
  for (size_t i = 0; i < xls.size(); ++i) {
    const QString path = dir.filePath(QStringLiteral("w%1.xls").arg(i));
    if (!tools::WriteXls(path, Sheets(), xls[i].second)) continue;
    AddVariants(out, QStringLiteral("file-xls%1").arg(i), ReadFile(path), fuzz::Input::File);
    const auto cf = workbook::detail::ReadCompoundFile(
        path, {QStringLiteral("Workbook"), QStringLiteral("Book")});
    if (cf.content)
      AddVariants(out, QStringLiteral("xls-%1").arg(i), *cf.content, fuzz::Input::XlsStream);
  }
  return out;
}

void AddFiles(std::vector<Seed>& out, const QString& path) {
  const QFileInfo info(path);
  if (info.isDir()) {
    for (const QFileInfo& f : QDir(path).entryInfoList(QDir::Files)) AddFiles(out, f.filePath());
    return;
  }
  if (info.fileName().startsWith(QLatin1Char('.'))) return;
  out.push_back({info.fileName(), ReadFile(path),
                 info.fileName().startsWith(QLatin1String("xls-")) ? fuzz::Input::XlsStream
                                                                   : fuzz::Input::File});
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<Seed> corpus = GeneratedCorpus();
  QString writeTo;
  for (int i = 1; i < argc; ++i) {
    const QString a = QString::fromLocal8Bit(argv[i]);
    if (a == QLatin1String("--write-corpus") && i + 1 < argc) {
      writeTo = QString::fromLocal8Bit(argv[++i]);
    } else {
      AddFiles(corpus, a);
    }
  }
  if (!writeTo.isEmpty()) {
    QDir().mkpath(writeTo + QStringLiteral("/xlsx"));
    QDir().mkpath(writeTo + QStringLiteral("/xls"));
    for (const Seed& s : corpus) {
      QFile f(
          writeTo +
          (s.input == fuzz::Input::XlsStream ? QStringLiteral("/xls/") : QStringLiteral("/xlsx/")) +
          s.name);
      if (f.open(QIODevice::WriteOnly)) f.write(s.bytes);
    }
  }
  long cells = 0;
  for (const Seed& s : corpus) cells += fuzz::ReadWholeWorkbook(s.bytes, s.input);
  std::printf("replayed %zu inputs, %ld cells read\n", corpus.size(), cells);
  return cells > 0 ? 0 : 1;
}
