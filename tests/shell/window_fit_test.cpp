// Every window of the program, opened on the demo data drive as the operator opens it, shows
// its captions whole: no label, button, check box, option button or frame title is wider, in
// its own font, than the room its control gives it, and no grid column cuts a number or a
// heading.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTextBlock>
#include <QTextCursor>
#include <functional>

#include "common/shared_values.h"
#include "common/windows.h"
#include "data_drive.h"
#include "masterdata/art03.h"
#include "masterdata/for01.h"
#include "platform/db/database.h"
#include "platform/print/printers.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/form.h"
#include "platform/ui/statusbox.h"
#include "shell/Main.h"
#include "shell/window_registry.h"
#include "support/demo_comparison.h"
#include "support/scripted_messages.h"
#include "support/temp_data_root.h"

namespace vx::shell {
namespace {

// The text as the control shows it: "&" marks a mnemonic, "&&" shows one "&".
QString Shown(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

int Widest(const QFontMetrics& fm, const QString& text) {
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n')))
    widest = std::max(widest, fm.horizontalAdvance(line));
  return widest;
}

// A control's text, the pixels it needs and the pixels it has; needed 0 for nothing to show.
struct Room {
  QString text;
  int needed = 0;
  int available = 0;
};

Room LabelRoom(const QLabel& l) {
  const QFontMetrics fm(l.font());
  const int width = l.contentsRect().width() - 2 * l.margin() - std::max(0, l.indent());
  if (!l.wordWrap()) return {l.text(), Widest(fm, l.text()), width};
  // A wrapping label cuts what its height cannot hold, or a word wider than its width.
  const QRect wrapped = fm.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, l.text());
  if (wrapped.width() > width) return {l.text(), wrapped.width(), width};
  return {l.text(), wrapped.height(), l.contentsRect().height() - 2 * l.margin()};
}

Room ButtonRoom(const QAbstractButton& b, QStyle::SubElement contents) {
  QStyleOptionButton opt;
  opt.initFrom(&b);
  opt.text = b.text();
  opt.icon = b.icon();
  opt.iconSize = b.iconSize();
  const QRect room = b.style()->subElementRect(contents, &opt, &b).intersected(b.rect());
  const int icon = b.icon().isNull() ? 0 : b.iconSize().width() + 4;
  return {b.text(), Widest(QFontMetrics(b.font()), Shown(b.text())) + icon, room.width()};
}

Room GroupBoxRoom(const QGroupBox& g) {
  QStyleOptionGroupBox opt;
  opt.initFrom(&g);
  opt.text = g.title();
  opt.lineWidth = 1;
  opt.textAlignment = g.alignment();
  opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
  const QRect label =
      g.style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, &g);
  // The title starts where the style puts it and must end inside the frame.
  return {g.title(), QFontMetrics(g.font()).horizontalAdvance(Shown(g.title())),
          g.width() - label.left()};
}

Room RoomOf(const QWidget& w) {
  if (const auto* l = qobject_cast<const QLabel*>(&w)) return LabelRoom(*l);
  if (const auto* c = qobject_cast<const QCheckBox*>(&w))
    return ButtonRoom(*c, QStyle::SE_CheckBoxContents);
  if (const auto* r = qobject_cast<const QRadioButton*>(&w))
    return ButtonRoom(*r, QStyle::SE_RadioButtonContents);
  if (const auto* p = qobject_cast<const QPushButton*>(&w))
    return ButtonRoom(*p, QStyle::SE_PushButtonContents);
  if (const auto* g = qobject_cast<const QGroupBox*>(&w)) return GroupBoxRoom(*g);
  return {};
}

// A window's or control's name: its objectName, else its class without the namespace.
QString WindowName(const QWidget& w) {
  if (!w.objectName().isEmpty()) return w.objectName();
  return QString::fromLatin1(w.metaObject()->className()).section(QStringLiteral("::"), -1);
}

// "window/grid column N: text (needs N px, has M)" for the first heading and the first number
// of each grid column that the column cuts (descriptions may end in an ellipsis; numbers and
// headings must show whole). A cell cuts a text wider, to a fraction of a pixel, than the cell
// less the grid line and the style's text margin on either side.
QStringList CutNumbers(const QWidget& top, const ui::FlexGrid& grid) {
  static const QRegularExpression number(QStringLiteral("^-?[0-9][0-9.,]*$"));
  const int margins =
      2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1) + 1;
  QStringList cuts;
  if (!grid.isVisibleTo(&top)) return cuts;
  for (int c = 0; c < grid.Cols(); ++c) {
    if (grid.isColumnHidden(c)) continue;
    for (int r = 0; r < std::min(grid.Rows(), 300); ++r) {
      const QString text = grid.TextMatrix(r, c);
      const int room = grid.columnWidth(c) - margins;
      if ((r < grid.FixedRows() || number.match(text).hasMatch()) &&
          grid.fontMetrics().elidedText(text, Qt::ElideRight, room) != text) {
        cuts << QStringLiteral("%1/%2 column %3: \"%4\" (needs %5 px, has %6)")
                    .arg(WindowName(top), grid.objectName())
                    .arg(c)
                    .arg(text)
                    .arg(QFontMetricsF(grid.fontMetrics()).horizontalAdvance(text) + margins)
                    .arg(grid.columnWidth(c));
        break;
      }
    }
  }
  return cuts;
}

// The widest texts of the grids' columns: numbers, written into a data row before the look,
// and headings (row 0), as the windows write them.
struct WidestCell {
  const char* window;
  int row, col;
  const char* text;
};
constexpr WidestCell kWidest[] = {
    {"cnf02", 1, 9, "9999,9999"}, {"cnf02", 2, 12, "9999,5000"}, {"cnf02", 3, 15, "1234,5000"},
    {"cnf02", 1, 24, "-100,00"},  {"cnf02", 2, 26, "-123,45"},   {"cnf02", 0, 10, "P1"},
    {"cnf02", 0, 11, "Colli1"},   {"cnf02", 0, 13, "P2"},        {"cnf02", 0, 14, "Colli2"},
    {"cnf02", 0, 16, "P3"},       {"cnf02", 0, 17, "Colli3"},    {"cnf02", 0, 19, "P4"},
    {"cnf02", 0, 20, "colli4"},   {"cnf02T", 1, 9, "9999,5000"}, {"cnf02T", 2, 13, "1234,5000"},
    {"cnf02T", 1, 15, "-123,45"}, {"cnf02T", 0, 6, "imballo"},   {"for03", 0, 1, "Codice"},
};

// Writes the widest numbers into the shown grids, adding the rows of the table it applied to
// `applied`; "window: missing heading" where a heading is not what the table expects.
QStringList WriteWidest(const QWidget& top, QSet<int>& applied) {
  QStringList missing;
  for (int i = 0; i < int(std::size(kWidest)); ++i) {
    const WidestCell& w = kWidest[i];
    auto* grid = top.findChild<ui::FlexGrid*>(QStringLiteral("flex1"));
    if (WindowName(top) != QLatin1String(w.window) || !grid) continue;
    applied.insert(i);
    if (w.row > 0) {
      grid->SetTextMatrix(w.row, w.col, QString::fromLatin1(w.text));
    } else if (grid->TextMatrix(0, w.col) != QLatin1String(w.text)) {
      missing << QStringLiteral("%1: missing heading %2").arg(WindowName(top), w.text);
    }
  }
  return missing;
}

// The program's windows on screen.
std::vector<ui::Form*> ShownWindows() {
  std::vector<ui::Form*> shown;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    auto* form = qobject_cast<ui::Form*>(top);
    if (form && form->isVisible()) shown.push_back(form);
  }
  return shown;
}

// "window/control: text (needs N px, has M)" for every cut caption of the shown windows, and
// every cut number and heading of their grids, with the widest numbers written into them.
QStringList CutCaptions(QSet<int>& widest) {
  QStringList cuts;
  for (ui::Form* top : ShownWindows()) {
    cuts << WriteWidest(*top, widest);
    for (const ui::FlexGrid* grid : top->findChildren<ui::FlexGrid*>())
      cuts << CutNumbers(*top, *grid);
    for (QWidget* w : top->findChildren<QWidget*>()) {
      if (!w->isVisibleTo(top)) continue;
      const Room room = RoomOf(*w);
      if (!room.text.isEmpty() && room.needed > room.available) {
        cuts << QStringLiteral("%1/%2: \"%3\" (needs %4 px, has %5)")
                    .arg(WindowName(*top), WindowName(*w), room.text)
                    .arg(room.needed)
                    .arg(room.available);
      }
    }
  }
  cuts.removeDuplicates();
  return cuts;
}

void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// The demo data drive with the four suppliers loaded into the comparison, the shared values
// the login leaves, and the program's windows registered.
class WindowFitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::DataDriveOptions options;
    options.demo = true;
    options.articles = 60;
    options.today = QDate(2026, 3, 10);
    drive_ = tools::MakeDataDrive(root_.root(), options);
    QString failure;
    ASSERT_TRUE(LoadDemoComparison(drive_.mainDbWindows, 4, &failure)) << failure.toStdString();
    print::SetPrinterList(QStringList{print::kPdfPrinterName});
    auto& g = common::G();
    g.Reset();
    g.drive = "C";
    g.percorso_db = drive_.mainDbWindows;
    g.percorso_client = drive_.storeDbWindows;
    g.codcommesso = 1;
    g.codutente = 1;
    RegisterProgramWindows();
  }
  void TearDown() override {
    ui::Forms::UnloadAll();
    Settle();
    print::SetPrinterList(std::nullopt);
    common::G().Reset();
  }

  // Every registered window, and the two cards that windows open, each by its name.
  std::vector<std::pair<QString, std::function<void()>>> Openers() const {
    std::vector<std::pair<QString, std::function<void()>>> openers;
    for (const QString& name : common::RegisteredWindows())
      openers.emplace_back(name, [name] { common::OpenWindow(name); });
    openers.emplace_back(QStringLiteral("for01"), [] {
      common::G().codice_fornitore = 1;
      ui::Forms::Show<masterdata::for01>();
    });
    const QString mainDb = drive_.mainDbWindows;
    openers.emplace_back(QStringLiteral("art03"), [mainDb] {
      auto main = db::Database::Open(mainDb);
      auto st = main->Prepare(QStringLiteral("select ean from eanconv where codfor = 1"));
      common::G().codice_fornitore = 1;
      common::G().ean_corrente = st.Step() ? st.Column(0).str() : QString();
      st.Reset();
      ui::Forms::Show<masterdata::art03>();
    });
    return openers;
  }

  // Opens each window over the main window, as the operator does, and collects what look()
  // finds in the windows then on screen.
  QStringList EachWindow(const std::function<QStringList()>& look) const {
    QStringList found;
    for (const auto& [name, open] : Openers()) {
      SCOPED_TRACE(name.toStdString());
      ScriptedMessages boxes;
      ui::Forms::Show<Main>();
      open();
      Settle();
      found << look();
      ui::Forms::UnloadAll();
      Settle();
    }
    found.removeDuplicates();
    return found;
  }

  TempDataRoot root_;
  tools::DataDrive drive_;
};

TEST_F(WindowFitTest, EveryWindowShowsItsCaptionsAndNumbersWhole) {
  ASSERT_GE(Openers().size(), 20u);
  QSet<int> widest;
  const QStringList cuts = EachWindow([&widest] { return CutCaptions(widest); });
  EXPECT_EQ(widest.size(), int(std::size(kWidest)));
  EXPECT_TRUE(cuts.isEmpty()) << cuts.join(QLatin1Char('\n')).toStdString();
}

// A status log keeps the start of its lines in view after a line wider than the box.
TEST_F(WindowFitTest, EveryStatusLogShowsTheStartOfItsLines) {
  int logs = 0;
  const QStringList hidden = EachWindow([&logs] {
    QStringList out;
    for (ui::Form* top : ShownWindows()) {
      for (auto* log : top->findChildren<ui::StatusBox*>()) {
        if (!log->isVisibleTo(top)) continue;
        ++logs;
        log->AppendLine(QStringLiteral("Fornitore 1: ") + QString(60, QLatin1Char('X')) +
                        QStringLiteral(" articoli caricati dal listino"));
        log->AppendLine(QStringLiteral("ERRORE: ") + QString(400, QLatin1Char('Y')));
        QCoreApplication::processEvents();
        const QRect start = log->cursorRect(QTextCursor(log->document()->lastBlock()));
        if (start.left() < 0 || start.left() > log->viewport()->width() / 4)
          out << WindowName(*top) + QLatin1Char('/') + log->objectName();
      }
    }
    return out;
  });
  EXPECT_GE(logs, 4);
  EXPECT_TRUE(hidden.isEmpty()) << hidden.join(QLatin1Char('\n')).toStdString();
}

TEST_F(WindowFitTest, DecorationPicturesAreShown) {
  for (const QString window : {"art22", "cnf01T"}) {
    ASSERT_TRUE(common::OpenWindow(window));
    Settle();
    const ui::Form* shown = nullptr;
    for (ui::Form* top : ShownWindows()) {
      if (WindowName(*top) == window) shown = top;
    }
    ASSERT_NE(shown, nullptr) << window.toStdString();
    for (const QString picture : {"Image1", "Image2"}) {
      SCOPED_TRACE((window + QLatin1Char('/') + picture).toStdString());
      const auto* image = shown->findChild<QLabel*>(picture);
      ASSERT_NE(image, nullptr);
      EXPECT_TRUE(image->isVisibleTo(shown));
      EXPECT_FALSE(image->pixmap().isNull());
      EXPECT_GE(image->pixmap().width(), 32);
      EXPECT_GE(image->width(), image->pixmap().width());
    }
    ui::Forms::UnloadAll();
    Settle();
  }
}

}  // namespace
}  // namespace vx::shell
