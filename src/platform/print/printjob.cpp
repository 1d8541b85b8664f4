#include "platform/print/printjob.h"

#include <QDateTime>
#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <cmath>

#include "platform/paths.h"
#include "platform/print/printers.h"

namespace vx::print {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kDefaultDpi = 1200;  // QPrinter::HighResolution

QFont DefaultFont() {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPointSizeF(10);
  return f;
}

QString FileSafe(const QString& name) {
  QString s = name;
  s.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]+")), QStringLiteral("_"));
  return s.isEmpty() ? QStringLiteral("stampa") : s;
}

// The length of the longest head of the text no wider than room (device units): up to the
// last blank that lets it fit, else as many characters as fit; at least one character.
int FittingLength(const QFontMetricsF& fm, const QString& text, double room) {
  if (fm.horizontalAdvance(text) <= room) return int(text.size());
  int fits = 1;
  for (int n = 2; n < text.size() && fm.horizontalAdvance(text.left(n)) <= room; ++n) fits = n;
  const int blank = int(text.left(fits + 1).lastIndexOf(QLatin1Char(' ')));
  return blank > 0 ? blank : fits;
}

}  // namespace

PrintJob::PrintJob(QString documentName) : name_(std::move(documentName)), font_(DefaultFont()) {}

PrintJob::~PrintJob() {
  // Whatever was printed is not lost when the job goes away unfinished.
  if (painter_) EndDoc();
}

void PrintJob::SetOrientation(Orientation o) {
  orientation_ = o;
  if (printer_) {
    printer_->setPageOrientation(o == Orientation::Landscape ? QPageLayout::Landscape
                                                             : QPageLayout::Portrait);
  }
}

void PrintJob::ScaleTwips() { twips_ = true; }

void PrintJob::Scale(double x1, double y1, double x2, double y2) {
  if (x2 == x1 || y2 == y1) return;  // a scale without extent cannot map the page
  twips_ = false;
  sx1_ = x1;
  sy1_ = y1;
  sx2_ = x2;
  sy2_ = y2;
}

void PrintJob::SetFontSize(double points) {
  if (points > 0) font_.setPointSizeF(points);
}

QString PrintJob::PrintFolder() {
  return QString(fs::CurrentDrive()) + QStringLiteral(":\\Programmi\\tolmo\\stampe");
}

bool PrintJob::Begin() {
  if (painter_) return true;
  if (failed_) return false;
  const QString name = printerName_.isEmpty() ? CurrentPrinterName() : printerName_;
  if (IsPdfPrinter(name)) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    const QString folder = fs::HostPath(PrintFolder());
    if (!fs::CreateFolder(folder)) {
      failed_ = true;
      error_ = QStringLiteral("Impossibile creare la cartella di stampa %1.").arg(PrintFolder());
      return false;
    }
    path_ = folder + QLatin1Char('/') + FileSafe(name_) + QLatin1Char('-') +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz")) +
            QStringLiteral(".pdf");
    printer_->setOutputFileName(path_);
  } else {
    printer_ =
        std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
  }
  printer_->setDocName(name_);
  printer_->setPageSize(QPageSize(QPageSize::A4));
  printer_->setPageOrientation(orientation_ == Orientation::Landscape ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait);
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(printer_.get())) {
    painter_.reset();
    printer_.reset();
    path_.clear();
    failed_ = true;
    error_ = QStringLiteral("Impossibile stampare sulla stampante %1.").arg(name);
    return false;
  }
  page_ = 1;
  metrics_.clear();  // measured for another device until now
  return true;
}

QRectF PrintJob::PaintRect() const {
  if (printer_) return printer_->pageLayout().paintRectPixels(printer_->resolution());
  // Before the document starts: the A4 page of the job's orientation at the usual resolution.
  const QPageLayout layout(
      QPageSize(QPageSize::A4),
      orientation_ == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
      QMarginsF());
  return layout.paintRectPixels(kDefaultDpi);
}

double PrintJob::Dpi() const { return printer_ ? printer_->resolution() : kDefaultDpi; }

double PrintJob::Kx() const {
  return twips_ ? Dpi() / kTwipsPerInch : PaintRect().width() / (sx2_ - sx1_);
}

double PrintJob::Ky() const {
  return twips_ ? Dpi() / kTwipsPerInch : PaintRect().height() / (sy2_ - sy1_);
}

double PrintJob::DevX(double x) const { return (x - (twips_ ? 0 : sx1_)) * Kx(); }
double PrintJob::DevY(double y) const { return (y - (twips_ ? 0 : sy1_)) * Ky(); }

QFontMetricsF PrintJob::Metrics() const {
  for (const auto& [font, metrics] : metrics_) {
    if (font == font_) return metrics;
  }
  if (metrics_.size() >= 8) metrics_.clear();
  if (printer_) return metrics_.emplace_back(font_, QFontMetricsF(font_, printer_.get())).second;
  // Before the document starts: the font at the printer's resolution.
  QFont f = font_;
  f.setPixelSize(qMax(1, qRound(font_.pointSizeF() * kDefaultDpi / 72.0)));
  return metrics_.emplace_back(font_, QFontMetricsF(f)).second;
}

double PrintJob::TextHeight() const { return Metrics().lineSpacing() / Ky(); }

double PrintJob::TextWidth(const QString& text) const {
  return Metrics().horizontalAdvance(text) / Kx();
}

void PrintJob::Draw(const QString& text, const QFontMetricsF& fm) {
  if (text.isEmpty()) return;
  painter_->setFont(font_);
  painter_->setPen(Qt::black);
  painter_->drawText(QPointF(DevX(x_), DevY(y_) + fm.ascent()), text);
}

void PrintJob::Print(const QString& text, bool endLine) {
  if (!Begin()) return;
  const QFontMetricsF fm = Metrics();
  Draw(text, fm);
  if (endLine) {
    x_ = twips_ ? 0 : sx1_;
    y_ += fm.lineSpacing() / Ky();
  } else {
    x_ += fm.horizontalAdvance(text) / Kx();
  }
}

void PrintJob::PrintFitted(const QString& text, double room, double smallest) {
  if (!Begin()) return;
  QString shown = text;
  while (shown.endsWith(QLatin1Char(' '))) shown.chop(1);
  const double width = TextWidth(shown);
  if (width <= room) {
    Draw(shown, Metrics());
    x_ += width;
    return;
  }
  const double size = FontSize();
  // Widths grow with the size, if not quite in proportion: start from the proportional size
  // and step down until the text fits.
  double fitted = std::floor(size * room / width * 2) / 2;
  for (; fitted >= smallest; fitted -= 0.5) {
    SetFontSize(fitted);
    if (TextWidth(shown) <= room) break;
  }
  if (fitted < smallest) {
    SetFontSize(smallest);
    shown = Metrics().elidedText(shown, Qt::ElideRight, room * Kx());
  }
  Print(shown, false);
  SetFontSize(size);
}

void PrintJob::PrintWrapped(const QString& text, double indent) {
  if (!Begin()) return;
  const double left = twips_ ? 0 : sx1_;
  const QRectF page = PaintRect();
  const QFontMetricsF fm = Metrics();
  QString rest = text;
  do {
    if (DevY(y_) > 0 && DevY(y_) + fm.height() > page.height()) {
      const double x = x_;
      NewPage();
      x_ = x;
    }
    const int n = FittingLength(fm, rest, page.width() - DevX(x_));
    const QString line = rest.left(n);
    rest = rest.mid(n);
    while (rest.startsWith(QLatin1Char(' '))) rest.remove(0, 1);
    Print(line, true);
    if (!rest.isEmpty()) x_ = left + indent;
  } while (!rest.isEmpty());
}

void PrintJob::Line(double x1, double y1, double x2, double y2, bool box) {
  if (!Begin()) return;
  QPen pen(Qt::black);
  pen.setWidthF(drawWidth_);
  painter_->setPen(pen);
  painter_->setBrush(Qt::NoBrush);
  const QPointF a(DevX(x1), DevY(y1));
  const QPointF b(DevX(x2), DevY(y2));
  if (box) {
    painter_->drawRect(QRectF(a, b).normalized());
  } else {
    painter_->drawLine(a, b);
  }
  // As the printer does: the print position ends at the second point.
  x_ = x2;
  y_ = y2;
}

void PrintJob::NewPage() {
  if (!Begin()) return;
  printer_->newPage();
  ++page_;
  x_ = twips_ ? 0 : sx1_;
  y_ = twips_ ? 0 : sy1_;
}

PrintResult PrintJob::EndDoc() {
  PrintResult result;
  if (failed_) {
    result.ok = false;
    result.error = error_;
  } else if (painter_) {
    const bool ended = painter_->end();
    result.pages = page_;
    result.path = path_;
    if (!ended) {
      result.ok = false;
      result.error = QStringLiteral("La stampa non è stata completata.");
      if (!path_.isEmpty()) QFile::remove(path_);
      result.path.clear();
    }
  }
  painter_.reset();
  printer_.reset();
  metrics_.clear();
  path_.clear();
  failed_ = false;
  error_.clear();
  page_ = 0;
  x_ = y_ = 0;
  return result;
}

void PrintJob::Abort() {
  if (painter_) {
    if (path_.isEmpty()) printer_->abort();
    painter_->end();
    if (!path_.isEmpty()) QFile::remove(path_);
  }
  painter_.reset();
  printer_.reset();
  metrics_.clear();
  path_.clear();
  failed_ = false;
  error_.clear();
  page_ = 0;
  x_ = y_ = 0;
}

PrintJob& Printer() {
  static PrintJob job;
  return job;
}

}  // namespace vx::print
