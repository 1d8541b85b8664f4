#include "comparison/boxed_list.h"

#include <cmath>
#include <exception>

#include "common/shared_values.h"
#include "platform/clock.h"
#include "platform/conv.h"
#include "platform/ui/msgbox.h"

namespace vx::comparison {

namespace {

constexpr int kLeft = 10;         // left edge of every row
constexpr int kRowHeight = 12;    // body rows
constexpr int kHeadingRows = 20;  // rows 1 and 2 of the heading
constexpr int kColumnsRow = 17;   // row 3 of the heading
constexpr int kRightInset = 1;    // room kept between a text and its box's right edge
constexpr double kSmallestPoints = 7;

const QString kListFont = QStringLiteral("times new roman");

}  // namespace

void BoxCursor::Start(double top, int x, int width, int height) {
  g_.stampa_y1 = CInt(top);
  g_.stampa_x1 = qint16(x);
  g_.stampa_x2 = qint16(x + width);
  g_.stampa_y2 = qint16(g_.stampa_y1 + height);
}

void BoxCursor::Next(int width) {
  g_.stampa_x1 = g_.stampa_x2;
  g_.stampa_x2 = qint16(g_.stampa_x1 + width);
}

void BoxCursor::Draw() { job_.Line(g_.stampa_x1, g_.stampa_y1, g_.stampa_x2, g_.stampa_y2, true); }

void BoxCursor::MoveTo(int dx, int dy) {
  job_.SetCurrentX(g_.stampa_x1 + dx);
  job_.SetCurrentY(g_.stampa_y1 + dy);
}

void BoxCursor::Text(int dx, int dy, const QString& text, bool endLine) {
  MoveTo(dx, dy);
  job_.Print(text, endLine);
}

void BoxCursor::FitText(int dx, int dy, const QString& text) {
  MoveTo(dx, dy);
  job_.PrintFitted(text, g_.stampa_x2 - g_.stampa_x1 - dx - kRightInset, kSmallestPoints);
}

void PrintListHeading(print::PrintJob& job, common::SharedValues& g, const ListHeading& heading,
                      int page) {
  g.riga_stampa = 0;
  job.SetDrawWidth(3);
  const QString store = FixedText(heading.storeName, 25);
  BoxCursor box(job, g);

  // Row 1: date, title, page number.
  job.SetCurrentX(kLeft);
  job.SetCurrentY(20);
  box.Start(job.CurrentY() + 5, kLeft, 90, kHeadingRows);
  box.Draw();
  box.Text(15, 5, Format(Variant(Today()), QStringLiteral("Short Date")));
  job.SetFontSize(10);
  job.SetFontBold(false);
  job.SetFontName(kListFont);
  box.Next(heading.titleWidth);
  box.Draw();
  job.SetFontSize(14);
  job.SetFontBold(true);
  box.Text(25, 5, heading.title);
  box.Next(130);
  box.Draw();
  job.SetFontSize(10);
  box.Text(60, 5, QStringLiteral("Pag.  %1").arg(page), true);

  // Row 2: the store.
  box.Start(job.CurrentY() + 5, kLeft, heading.storeWidth, kHeadingRows);
  box.Draw();
  box.Text(5, 5, QStringLiteral("Societa:"));
  job.Print(store, false);
  box.Next(130);
  box.Draw();
  box.MoveTo(5, 5);
  job.EndLine();
  job.SetFontBold(false);

  // Row 3: the column headings.
  job.SetFontSize(10);
  bool first = true;
  for (const ListColumn& column : heading.columns) {
    if (first) {
      box.Start(job.CurrentY() + 7, kLeft, column.width, kColumnsRow);
      job.SetFontBold(true);
      first = false;
    } else {
      box.Next(column.width);
    }
    box.Draw();
    if (!column.heading.isEmpty()) {
      job.SetFontSize(column.headingSize);
      box.FitText(2, 2, column.heading);
    }
    if (!column.heading2.isEmpty()) box.FitText(2, 7, column.heading2);
  }
  // The first row of the page begins on the bottom edge of the column headings.
  job.SetCurrentX(g.stampa_x1);
  job.SetCurrentY(g.stampa_y2);
  if (heading.endLine) job.EndLine();
  job.SetFontSize(10);
  job.SetFontBold(false);
  job.SetDrawWidth(1);
}

void PrintListRow(print::PrintJob& job, common::SharedValues& g,
                  const std::vector<ListColumn>& columns, const QStringList& texts) {
  BoxCursor box(job, g);
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i == 0) {
      box.Start(job.CurrentY(), kLeft, columns[i].width, kRowHeight);
    } else {
      box.Next(columns[i].width);
    }
    box.Draw();
    job.SetFontSize(columns[i].bodySize);
    if (qsizetype(i) < texts.size() && !texts[qsizetype(i)].isEmpty()) {
      box.FitText(2, 2, texts[qsizetype(i)]);
    } else {
      box.MoveTo(2, 2);
    }
  }
  ++g.riga_stampa;
}

print::PrintResult PrintBoxedList(print::PrintJob& job, common::SharedValues& g,
                                  const std::vector<ListColumn>& columns,
                                  const std::function<void(int page)>& heading,
                                  const std::function<bool(QStringList&)>& nextRow,
                                  const ListPage& layout) {
  if (layout.landscape) job.SetOrientation(print::Orientation::Landscape);
  job.Scale(0, 0, layout.width, layout.height);
  int page = 1;
  try {
    heading(page);
    QStringList texts;
    while (nextRow(texts)) {
      PrintListRow(job, g, columns, texts);
      // The print position is the last box's corner + 2: the row's top + 2.
      g.stampa_y1 = CInt(job.CurrentY());
      if (g.stampa_y1 >= layout.breakAt) {
        job.NewPage();
        heading(++page);
        g.riga_stampa = 0;
      }
      job.SetCurrentX(g.stampa_x1);
      job.SetCurrentY(g.stampa_y2);
      if (layout.lineBetweenRows) job.EndLine();
    }
  } catch (const std::exception& e) {
    job.Abort();
    print::PrintResult failed;
    failed.ok = false;
    failed.error = QString::fromUtf8(e.what());
    return failed;
  }
  return job.EndDoc();
}

void PrintTickedList(const QString& title, const std::function<bool()>& showTicked,
                     const std::function<print::PrintResult()>& print) {
  if (!ui::AskYesNo(
          QStringLiteral("Attenzione!!!  Sei sicuro di voler Stampare i dati selezionati?"), title,
          ui::MsgIcon::Information, ui::MsgAnswer::No)) {
    return;
  }
  if (!showTicked()) return;
  const print::PrintResult result = print();
  if (!result.ok) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! Stampa non riuscita: ") + result.error, title);
  }
}

QString ListPackagesText(const Variant& packages) {
  const bool none = packages.isNull() || packages.isEmpty();
  return Format(none ? Variant(0) : packages, QStringLiteral("###,##0"));
}

QString ListCostText(const Variant& cost) {
  if (cost.isNull() || cost.isEmpty()) return QString();
  const double value = cost.isNumber() ? cost.toDouble() : ParseRegional(cost.str()).value_or(0.0);
  if (value == 0) return QString();
  return Format(cost, QStringLiteral("###,##0.0000"));
}

QString LeadingBlanksText(const Variant& value, const QString& format) {
  double v = 0;
  if (value.isNumber()) {
    v = value.toDouble();
  } else if (value.isText()) {
    v = ParseRegional(value.str()).value_or(0.0);
  }
  const Variant number(v);
  const int whole = int(QString::number(qint64(std::floor(v))).size());
  const int blanks = whole < 4 ? 6 - whole : 5 - whole;
  return QString(qMax(blanks, 0), QLatin1Char(' ')) + Format(number, format);
}

}  // namespace vx::comparison
