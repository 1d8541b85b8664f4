// The boxed comparison lists: rows of boxes on a scaled page (landscape 650 x 450 units for
// the four-supplier list, 450 x 650 as the printer has it for the three-supplier one), a
// three-row page heading (date, title and page; store; column headings) and one row of
// 12-unit boxes per article, each text 2 units inside its box's top-left corner.
//
// The pieces that differ between the lists (the columns, the title, the question's title and
// how the view switches to the ticked rows) are parameters; the box edges live in the shared
// print state (stampa_x1, stampa_y1, stampa_x2, stampa_y2, riga_stampa).
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "platform/print/printjob.h"
#include "platform/variant.h"

namespace vx::common {
struct SharedValues;
}

namespace vx::comparison {

// The current box of a row of boxes, kept in the print state, and the texts placed in it.
class BoxCursor {
 public:
  BoxCursor(print::PrintJob& job, common::SharedValues& g) : job_(job), g_(g) {}

  // The first box of a row: left edge x, top `top` taken as the nearest whole unit.
  void Start(double top, int x, int width, int height);
  // The next box of the row, `width` wide, from where the last one ended.
  void Next(int width);
  // The outline of the current box.
  void Draw();
  // The print position at the box's top-left corner plus (dx, dy).
  void MoveTo(int dx, int dy);
  // A text at the corner plus (dx, dy); the line stays open unless endLine.
  void Text(int dx, int dy, const QString& text, bool endLine = false);
  // A text at the corner plus (dx, dy) that stays inside the box: set smaller, down to 7
  // points, where it is wider, and cut to end in "…" where even that is too wide.
  void FitText(int dx, int dy, const QString& text);

 private:
  print::PrintJob& job_;
  common::SharedValues& g_;
};

// A column of a list: its box width, its heading (empty: none) with the heading's font size
// and an optional second heading line, and the font size of the rows' texts.
struct ListColumn {
  int width = 0;
  QString heading;
  double headingSize = 10;
  double bodySize = 10;
  QString heading2;  // 7 units below the first line
};

// What a list's page heading shows besides the date.
struct ListHeading {
  QString title;                    // row 1, size 14 bold
  QString storeName;                // row 2, after "Societa:", cut or padded to 25 characters
  std::vector<ListColumn> columns;  // row 3, from x 10 to the right
  int titleWidth = 400;             // row 1's title box, after the 90-unit date box
  int storeWidth = 490;             // row 2's store box; a 130-unit box follows each
  bool endLine = false;             // the first row begins a text line below the column headings
};

// The page of a list: its orientation (or as the printer has it), its scale, and where a
// row's top + 2 ends the page.
struct ListPage {
  bool landscape = true;
  double width = 650;
  double height = 450;
  int breakAt = 425;
  bool lineBetweenRows = false;  // a text line of the body font between two rows
};

// The page heading on the current page, numbered `page`: the date, title and page boxes, the
// store box and the column headings, with line width 3; it leaves stampa_x1 and stampa_y2 at
// the last column heading and the print position on its bottom edge (or the line after it
// with endLine), riga_stampa at 0,
// the body font (size 10, not bold) and line width 1.
void PrintListHeading(print::PrintJob& job, common::SharedValues& g, const ListHeading& heading,
                      int page);

// One body row at the print position: a 12-unit box per column with its text kept inside it
// (texts beyond the columns are ignored, missing ones print nothing); riga_stampa grows by
// one.
void PrintListRow(print::PrintJob& job, common::SharedValues& g,
                  const std::vector<ListColumn>& columns, const QStringList& texts);

// The whole document: the page's orientation and scale (0, 0)-(width, height), the heading of
// page 1, then the rows that nextRow gives (it fills the texts and returns false after the
// last row). After a row whose top + 2 reaches breakAt, a new page with its heading follows.
// Pages are numbered from 1. A row source that throws abandons the document.
print::PrintResult PrintBoxedList(print::PrintJob& job, common::SharedValues& g,
                                  const std::vector<ListColumn>& columns,
                                  const std::function<void(int page)>& heading,
                                  const std::function<bool(QStringList&)>& nextRow,
                                  const ListPage& page = {});

// The list's "Stampa elenco " flow: the question under `title`; No changes nothing. On Yes
// showTicked switches the view to the ticked rows (false when its query failed, which it has
// told: nothing is printed), then print runs; a failed document is told in a critical box.
void PrintTickedList(const QString& title, const std::function<bool()>& showTicked,
                     const std::function<print::PrintResult()>& print);

// The texts of a slot's quantity and cost boxes: packages with "###,##0", Null as 0; the cost
// with "###,##0.0000", nothing for 0 or Null.
QString ListPackagesText(const Variant& packages);
QString ListCostText(const Variant& cost);

// A number formatted with `format`, after the blanks that end its whole part in the sixth
// character: 6 - L blanks where its whole part (rounded down, a minus included) has L < 4
// characters, 5 - L otherwise (the thousands mark takes one), none when that is negative.
// Null and Empty print as 0.
QString LeadingBlanksText(const Variant& value, const QString& format);

}  // namespace vx::comparison
