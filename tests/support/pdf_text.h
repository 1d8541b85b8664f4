// Printed lists read back from their PDF through poppler's pdftotext: the text of each page
// as laid out, and the words with their boxes.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace pdftext {

// A word of the PDF with its box in points, on page 0, 1, ...
struct Word {
  int page;
  double x, y, height;
  QString text;
  double right = 0;
};

// The PDF files of a folder, by name.
QStringList Pdfs(const QString& folder);
// The path of the PDF that print() made in the folder; empty when it made none.
QString NewPdf(const QString& folder, const std::function<void()>& print);

// The standard output of a program run to its end.
QString Tool(const QString& program, const QStringList& args);
// The pages' text as pdftotext -layout lays it out.
QStringList Pages(const QString& pdf);
std::vector<Word> Words(const QString& pdf);
// The first word with that text on the page; null when none.
const Word* Find(const std::vector<Word>& words, const QString& text, int page = 0);
// The words printed on the same line as a word, left to right.
QStringList LineOf(const std::vector<Word>& words, const Word& at);
// The words below `a` (a column heading) on its page that run past the right edge of the box
// their left edge lies in, joined by blanks. Box edges are in the list's units; the headings
// `a` and `b` start at aAt and bAt units.
QString WordsPastTheirBox(const std::vector<Word>& words, const std::vector<double>& edges,
                          const Word& a, double aAt, const Word& b, double bAt);

}  // namespace pdftext
