#include "support/pdf_text.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace pdftext {

QString Tool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

QStringList Pdfs(const QString& folder) {
  return QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

QString NewPdf(const QString& folder, const std::function<void()>& print) {
  const QStringList before = Pdfs(folder);
  print();
  for (const QString& f : Pdfs(folder)) {
    if (!before.contains(f)) return folder + QLatin1Char('/') + f;
  }
  return {};
}

QStringList Pages(const QString& pdf) {
  QStringList pages = Tool("pdftotext", {"-layout", pdf, "-"}).split('\f');
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

std::vector<Word> Words(const QString& pdf) {
  const QString html = Tool("pdftotext", {"-bbox", pdf, "-"});
  static const QRegularExpression re(
      "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
      "yMax=\"([\\d.]+)\">([^<]*)</word>");
  std::vector<Word> out;
  int page = -1;
  for (auto it = re.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    if (m.captured(0) == "<page ") {
      ++page;
      continue;
    }
    out.push_back({page, m.captured(1).toDouble(), m.captured(2).toDouble(),
                   m.captured(4).toDouble() - m.captured(2).toDouble(), m.captured(5),
                   m.captured(3).toDouble()});
  }
  return out;
}

const Word* Find(const std::vector<Word>& words, const QString& text, int page) {
  for (const Word& w : words) {
    if (w.page == page && w.text == text) return &w;
  }
  return nullptr;
}

QStringList LineOf(const std::vector<Word>& words, const Word& at) {
  std::vector<const Word*> line;
  for (const Word& w : words) {
    if (w.page == at.page && std::abs(w.y - at.y) < 1.5) line.push_back(&w);
  }
  std::sort(line.begin(), line.end(), [](const Word* a, const Word* b) { return a->x < b->x; });
  QStringList out;
  for (const Word* w : line) out << w->text;
  return out;
}

QString WordsPastTheirBox(const std::vector<Word>& words, const std::vector<double>& edges,
                          const Word& a, double aAt, const Word& b, double bAt) {
  const double unit = (b.x - a.x) / (bAt - aAt);  // points
  QStringList out;
  for (const Word& w : words) {
    const auto edge = std::upper_bound(edges.begin(), edges.end(), aAt + (w.x - a.x) / unit);
    if (w.page == a.page && w.y > a.y + a.height && edge != edges.end() &&
        aAt + (w.right - a.x) / unit > *edge) {
      out << w.text;
    }
  }
  return out.join(' ');
}

}  // namespace pdftext
