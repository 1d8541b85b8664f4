// What the four- and three-supplier loader windows share: the controls of a slot frame and
// their filling from a `fornitori` row, the sink that wires the long procedures to the
// window, the busy mark, the errors of a run, the percentage rule, and the saving of the slot
// settings.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "common/progress.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace vx::db {
class DataControl;
class Recordset;
}  // namespace vx::db

namespace vx::ui {
class DBCombo;
class ProgressBar;
class TextBox;
}  // namespace vx::ui

namespace vx::comparison {

// The controls of slot N's frame, named as the windows name them (DBComboN, codforNw,
// perceNw, CheckN, desN, elaN, creaN, desNl).
struct SlotFrame {
  int slot = 0;
  QGroupBox* frame = nullptr;
  ui::DBCombo* list = nullptr;
  ui::TextBox* code = nullptr;
  ui::TextBox* percent = nullptr;
  QLabel* percentHeading = nullptr;  // %  "+/-"
  QCheckBox* conversion = nullptr;   // "Applica tabella moltiplicatori"
  QCheckBox* description = nullptr;  // "Descrizione Articolo"
  QCheckBox* load = nullptr;         // "Elabora"
  QCheckBox* type = nullptr;         // "Ordine per tipologia", where the window has it
  QLabel* note = nullptr;            // the price-list note, where the window shows it
};

struct SlotFrameOptions {
  bool typeBox = false;    // creaN
  bool noteLabel = false;  // desNl
  QString headingName;     // objectName of the percentage heading (none when empty)
};

// Makes the frame (caption "Selezionare Fornitore N#", objectName `frameName`) and its
// controls; the window lays them out. The list shows `descr` and binds `codice` of `forn`.
SlotFrame MakeSlotFrame(QWidget* parent, int n, const QString& frameName,
                        const SlotFrameOptions& options, db::DataControl* forn);

// How a `fornitori` row fills its slot's frame.
struct SlotFillRule {
  // True: a flag is the box's value as a whole number (2 shows it grey, anything that is
  // no 1 or 2 leaves it unticked). False: any number but 0 ticks it.
  bool flagValues = false;
};

// Fills the frame of the row's slot: code, list text, percentage "##0.00", and the options
// whose columns hold a value.
void FillSlotFrame(const SlotFrame& f, db::Recordset& row, const SlotFillRule& rule);

// The slot of a `fornitori` row whose `codice` is 1 to `slotCount`, else 0.
int SlotOfRow(db::Recordset& row, int slotCount);

// A check box's value: 0 unticked, 1 ticked, 2 grey.
int BoxValue(const QCheckBox* box);

// The "ERRORE" lines a window logs during one run of "Elabora dati", listed together in one
// warning box at the run's end, before the grid opens. A supplier database that could not be
// opened is listed once, with the suppliers and slots it cost, however many loads met it.
class RunErrors {
 public:
  void Start() {
    entries_.clear();
    faultLine_.clear();
  }
  void Note(const QString& statusLine);
  // A database fault, logged next on statusLine (which Note then passes over).
  void Fault(const common::DatabaseFault& fault, const QString& statusLine);
  // The box, when the run logged any error.
  void Warn(const QString& title) const;

 private:
  struct Supplier {
    QString name;
    std::vector<int> own, alternative;  // slots
  };
  struct Entry {
    QString line;
    QString path;  // a database fault's file, else empty
    std::vector<Supplier> suppliers;
  };
  std::vector<Entry> entries_;
  QString faultLine_;
};

// The window's status procedure, progress bar and two buttons as the long procedures'
// sink: the buttons hide while the bar shows. Database faults go to `errors` too.
class LoaderSink : public common::ProgressSink {
 public:
  LoaderSink(QWidget& window, std::function<void(const QString&)> status, ui::ProgressBar* bar,
             QPushButton* run, QPushButton* exit, RunErrors& errors)
      : window_(window),
        status_(std::move(status)),
        bar_(bar),
        run_(run),
        exit_(exit),
        errors_(errors) {}
  void Status(const QString& message) override { status_(message); }
  void Fault(const common::DatabaseFault& fault, const QString& message) override {
    errors_.Fault(fault, message);
    status_(message);
  }
  void Begin(int maximum) override;
  void Step() override;
  void End() override;
  void Yield() override;

 private:
  QWidget& window_;
  std::function<void(const QString&)> status_;
  ui::ProgressBar* bar_;
  QPushButton* run_;
  QPushButton* exit_;
  RunErrors& errors_;
};

// Marks the window busy for a scope (nested scopes keep it busy until the outermost ends).
class BusyScope {
 public:
  explicit BusyScope(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~BusyScope() { flag_ = was_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& flag_;
  bool was_;
};

// A percentage box's number: empty (or blank) is 0, otherwise the Italian reading of a
// typed number ("10.5" is refused, not read as 105); below -100 it is refused too.
std::optional<double> PercentOf(const QString& text);
QString BadPercentMessage(int slot, const QString& text);
// Empty percentage boxes become "0"; then every box must hold a number: the first that does
// not is logged on `status` and false is returned.
bool CheckPercentages(const std::vector<SlotFrame>& frames,
                      const std::function<void(const QString&)>& status);

// Every supplier row of `forn` is edited and updated in one transaction; the rows whose
// `codice` is a slot's number take that slot's percentage and options, whichever supplier
// the slot's list shows.
void SaveSlotSettings(db::DataControl& forn, const std::vector<SlotFrame>& frames);

}  // namespace vx::comparison
