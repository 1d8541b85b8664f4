// A print document the way the printing code drives the printer: a print position
// (CurrentX, CurrentY) in the page's scale units (twips unless a scale is set), a font,
// texts printed at the position, lines and boxes, new pages and the end of the document.
//
// The document goes to the printer it starts on (the current printer, printers.h, unless
// one is named). On the PDF printer it becomes a file in the print folder of the data drive.
// Nothing is produced until the first text, line or page; a document that fails to start is
// abandoned and EndDoc tells why.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

class QPainter;
class QPrinter;

namespace vx::print {

enum class Orientation { Portrait = 1, Landscape = 2 };

struct PrintResult {
  bool ok = true;
  QString path;   // the PDF file written, empty for a system printer or an empty document
  int pages = 0;  // pages produced
  QString error;  // for the operator, when !ok
};

class PrintJob {
 public:
  explicit PrintJob(QString documentName = QStringLiteral("stampa"));
  ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  // The printer of the next document; empty means the current printer.
  void SetPrinterName(const QString& name) { printerName_ = name; }

  // A4; the orientation applies from the next page on.
  void SetOrientation(Orientation o);
  Orientation orientation() const { return orientation_; }

  // Scale units: twips (1440 an inch) from the printable area's top left, or a user scale
  // in which the printable area runs from (x1, y1) at the top left to (x2, y2).
  void ScaleTwips();
  void Scale(double x1, double y1, double x2, double y2);

  double CurrentX() const { return x_; }
  double CurrentY() const { return y_; }
  void SetCurrentX(double x) { x_ = x; }
  void SetCurrentY(double y) { y_ = y; }

  QString FontName() const { return font_.family(); }
  double FontSize() const { return font_.pointSizeF(); }
  bool FontBold() const { return font_.bold(); }
  void SetFontName(const QString& name) { font_.setFamily(name); }
  void SetFontSize(double points);
  void SetFontBold(bool bold) { font_.setBold(bold); }

  // Width of lines and box outlines in printer dots.
  int DrawWidth() const { return drawWidth_; }
  void SetDrawWidth(int dots) { drawWidth_ = dots < 1 ? 1 : dots; }

  // Prints the text with its top left at the print position. With endLine the position
  // moves to the left edge one text line down; without, it stays after the text.
  void Print(const QString& text, bool endLine = true);
  // Prints the text as Print does without ending the line, within `room` units of the print
  // position: where it is wider (trailing blanks aside), in a smaller size that fits, down to
  // `smallest` points; where even that is too wide, cut to end in "…" at that size. The font
  // size is left as it was.
  void PrintFitted(const QString& text, double room, double smallest);
  // Ends the text line only.
  void EndLine() { Print(QString(), true); }
  // Prints the text from the print position as Print does, broken at blanks into as many
  // lines as the printable width needs (a word wider than a whole line is broken where it
  // reaches the edge); lines after the first start `indent` units from the left edge. A line
  // that would cross the bottom of the page starts a new page.
  void PrintWrapped(const QString& text, double indent = 0);
  // A line, or with box the outline of the rectangle, from (x1, y1) to (x2, y2).
  void Line(double x1, double y1, double x2, double y2, bool box = false);

  // Height of a text line and width of a text in the current font, in scale units.
  double TextHeight() const;
  double TextWidth(const QString& text) const;

  void NewPage();
  // Ends the document and hands it to the printer (or closes its PDF file). A document that
  // cannot be completed leaves no PDF file behind.
  PrintResult EndDoc();
  // Abandons the document: nothing reaches the printer and no PDF file is left.
  void Abort();

  int Page() const { return page_; }

  // "<drive>:\Programmi\tolmo\stampe", where the PDF printer's documents go.
  static QString PrintFolder();

 private:
  bool Begin();
  QRectF PaintRect() const;  // printable area in device pixels
  double Dpi() const;
  // The current font's metrics on the document's device, kept per font while the device
  // stays the same: measuring every text of a long list costs more than printing it.
  QFontMetricsF Metrics() const;
  // Draws the text at the print position; the position does not move.
  void Draw(const QString& text, const QFontMetricsF& fm);
  double Kx() const;  // device pixels per scale unit
  double Ky() const;
  double DevX(double x) const;
  double DevY(double y) const;

  QString name_;
  QString printerName_;
  Orientation orientation_ = Orientation::Portrait;
  bool twips_ = true;
  double sx1_ = 0, sy1_ = 0, sx2_ = 0, sy2_ = 0;
  double x_ = 0, y_ = 0;
  QFont font_;
  int drawWidth_ = 1;
  int page_ = 0;
  bool failed_ = false;
  QString error_;
  QString path_;
  mutable std::vector<std::pair<QFont, QFontMetricsF>> metrics_;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
};

// The program's printer: one document at a time, shared by every window.
PrintJob& Printer();

}  // namespace vx::print
