#include "shell/Main.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStyle>
#include <QToolBar>

#include "common/modules.h"
#include "common/programs.h"
#include "common/shared_values.h"
#include "common/windows.h"
#include "data/comparison_load.h"
#include "data/paths_db.h"
#include "data/store_record.h"
#include "platform/clock.h"
#include "platform/conv.h"
#include "platform/db/datacontrol.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/print/printers.h"
#include "platform/sys/launcher.h"
#include "platform/sys/processes.h"
#include "platform/ui/drivelist.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/progressbar.h"
#include "shell/com02.h"
#include "shell/window_registry.h"

namespace vx::shell {

using common::G;
using common::mod_aggiungi_barra;
using common::mod_dettagli_file;
using common::mod_termina_processo;
using common::OpenWindow;
using common::SharedValues;
using ui::MakeControl;
using ui::PixelsToTwips;

namespace {

constexpr int kToolbarHeight = 780;  // twips

// The ordering programs that the closing stops, in the order they are tried.
const QStringList kOrderingPrograms = {QStringLiteral("varu.exe"),
                                       QStringLiteral("brunelvatto.exe"), QStringLiteral("sda.exe"),
                                       QStringLiteral("ordini.exe"), QStringLiteral("apulia.exe")};

struct ToolButton {
  const char* caption;
  const char* key;
};
const ToolButton kToolButtons[] = {
    {" Uscita ", "usci"},    {"Articoli", "lis"}, {"Ordine", "impOrd"}, {"Fornitori", "For"},
    {"Brunelvatto", "far5"}, {"Apulia", "far6"},  {"DIZA", "far7"},     {"Corvalia", "far8"}};

double TwipsWidth(const QWidget* w) { return PixelsToTwips(w->width()); }
double TwipsHeight(const QWidget* w) { return PixelsToTwips(w->height()); }
double TwipsLeft(const QWidget* w) { return PixelsToTwips(w->x()); }
double TwipsTop(const QWidget* w) { return PixelsToTwips(w->y()); }

}  // namespace

Main::Main() : ListKillProcess1(std::make_unique<sys::ProcessList>()) {
  setObjectName(QStringLiteral("Main"));
  resize(ui::TwipsToPixels(12000), ui::TwipsToPixels(8400));

  // The windows this build has; the others' entries stay disabled.
  RegisterProgramWindows();
  common::SetMainWindow(this);

  BuildCommands();
  BuildClientArea();

  stampanti = new db::DataControl(this);
  stampanti->setObjectName(QStringLiteral("stampanti"));
  fornitori = new db::DataControl(this);
  fornitori->setObjectName(QStringLiteral("fornitori"));
  variatil = new db::DataControl(this);
  variatil->setObjectName(QStringLiteral("variatil"));
}

Main::~Main() {
  if (common::MainWindow() == this) common::SetMainWindow(nullptr);
}

QWidget* Main::ProgressFrame() { return scadenze; }

ui::ProgressBar* Main::ProgressBar() { return pb1; }

void Main::Reload() {
  // Closed as the operator closes it (its closing steps run), then a fresh window is loaded
  // and shown in its place.
  Unload();
  ui::Forms::Show<Main>();
}

void Main::BuildCommands() {
  menuBar = new QMenuBar(this);
  menuBar->setObjectName(QStringLiteral("menuBar"));

  auto item = [this](QMenu* menu, const char* name, const QString& caption, const QString& window,
                     std::function<void()> after = {}) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setEnabled(common::HasWindow(window));
    connect(a, &QAction::triggered, this, [this, window, after] {
      OpenWindow(window);
      if (after) after();
    });
    return a;
  };

  mnufile = menuBar->addMenu(QStringLiteral("&File"));
  mnufile->setObjectName(QStringLiteral("mnufile"));
  copiarch = item(mnufile, "copiarch", QStringLiteral("&Copia sicurezza Archivio"),
                  QStringLiteral("arc02"));
  agg_sw = item(mnufile, "agg_sw", QStringLiteral("Aggiorna Software"),
                QStringLiteral("agg_software"), [this] { mnuesci_Click(); });
  mnuesci = mnufile->addAction(QStringLiteral("&Esci"));
  mnuesci->setObjectName(QStringLiteral("mnuesci"));
  connect(mnuesci, &QAction::triggered, this, &Main::mnuesci_Click);

  mnuarchivi = menuBar->addMenu(QStringLiteral("&Archivi "));
  mnuarchivi->setObjectName(QStringLiteral("mnuarchivi"));
  mnute = item(mnuarchivi, "mnute", QStringLiteral("Dati Società"), QStringLiteral("ute01"));
  tabMolt = item(mnuarchivi, "tabMolt", QStringLiteral("Tabella Articoli Moltiplicatori/Divisori"),
                 QStringLiteral("ali01"));
  agg_lis_varu = item(mnuarchivi, "agg_lis_varu",
                      QStringLiteral("Importa  listino Fornitori (VARU/SDA/SEMVRA/RBM)"),
                      QStringLiteral("lis06b"));
  agg_lis_corv = item(mnuarchivi, "agg_lis_corv", QStringLiteral("Importa Listino CORVALIA"),
                      QStringLiteral("art22"));
  mafor = item(mnuarchivi, "mafor", QStringLiteral("&Fornitori"), QStringLiteral("for03"));
}

void Main::BuildClientArea() {
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("client"));

  Toolbar1 = MakeControl<QToolBar>(client_, "Toolbar1", 0, 0, 12000, kToolbarHeight);
  Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  Toolbar1->setIconSize(QSize(20, 20));
  const QStyle::StandardPixmap icons[] = {
      QStyle::SP_DialogCloseButton, QStyle::SP_FileDialogDetailedView,
      QStyle::SP_ArrowDown,         QStyle::SP_DirHomeIcon,
      QStyle::SP_ComputerIcon,      QStyle::SP_ComputerIcon,
      QStyle::SP_ComputerIcon,      QStyle::SP_ComputerIcon};
  for (int i = 1; i <= 8; ++i) {
    const ToolButton& b = kToolButtons[i - 1];
    QAction* a =
        Toolbar1->addAction(style()->standardIcon(icons[i - 1]), QString::fromLatin1(b.caption));
    a->setObjectName(QString::fromLatin1(b.key));
    const QString key = QString::fromLatin1(b.key);
    connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    Buttons[i] = a;
  }
  Buttons[4]->setEnabled(common::HasWindow(QStringLiteral("for03")));

  FrameSem = MakeControl<QGroupBox>(client_, "FrameSem", 60, 840, 3120, 6315);
  Label6 = MakeControl<QLabel>(FrameSem, "Label6", 120, 300, 2880, 255, QStringLiteral("Società"));
  l1 = MakeControl<QLabel>(FrameSem, "l1", 120, 600, 2880, 300);
  l2 = MakeControl<QLabel>(FrameSem, "l2", 120, 1000, 2880, 255,
                           QStringLiteral("Utima Data Confronto"));
  l3 = MakeControl<QLabel>(FrameSem, "l3", 120, 1300, 2880, 300);
  Frame1 = MakeControl<QGroupBox>(FrameSem, "Frame1", 120, 1700, 2880, 750,
                                  QStringLiteral("Anno contabile"));
  annow = MakeControl<QLineEdit>(Frame1, "annow", 240, 300, 1200, 330);
  Label9 = MakeControl<QLabel>(FrameSem, "Label9", 120, 2600, 2880, 300);
  Drive1 = MakeControl<ui::DriveList>(FrameSem, "Drive1", 120, 3000, 1500, 330);
  scadenze = MakeControl<QGroupBox>(FrameSem, "scadenze", 120, 3500, 2880, 1500);
  Label5 = MakeControl<QLabel>(scadenze, "Label5", 120, 240, 2640, 600,
                               QStringLiteral("Attendere prego.... Caricamento dati in corso"));
  Label5->setWordWrap(true);
  pb1 = MakeControl<ui::ProgressBar>(scadenze, "pb1", 120, 960, 2640, 300);

  Picture1 = MakeControl<QLabel>(client_, "Picture1", 3240, 840, 8760, 6315);
  Picture1->setFrameShape(QFrame::StyledPanel);
  Image2 = MakeControl<QLabel>(client_, "Image2", 5400, 3000, 4800, 1200, kProductTitle);
  Image2->setAlignment(Qt::AlignCenter);
  Image2->setStyleSheet(QStringLiteral("font-size: 40px; font-weight: bold; color: #2f5f8f;"));
  Image2->raise();

  dataw = MakeControl<QLineEdit>(client_, "dataw", 60, 7995, 1500, 330);
  dataw->setReadOnly(true);
  Label2 = MakeControl<QLabel>(client_, "Label2", 1680, 7995, 7140, 300);
  Text1 = MakeControl<QLineEdit>(client_, "Text1", 8820, 7995, 3120, 330);
  Text1->setReadOnly(true);
}

// --- Load --------------------------------------------------------------------------------

void Main::Form_Load() {
  SharedValues& g = G();
  scadenze->setVisible(false);
  g.affil = 0;
  g.codlis = "  ";

  g.drive = Drive1->Drive().left(1);
  const QString drive = g.drive.str();
  g.file_sup = data::StoreRecordFilePath(drive);
  g.file_log = data::LogFilePath(drive);
  g.nome_processo = QStringLiteral("vosk2.exe");
  g.percorso_processo = mod_aggiungi_barra(Variant(data::ProgramFolder(drive))) + g.nome_processo;

  fs::TruncateFile(g.file_log);  // a missing log folder does not stop the load

  if (!fs::Exists(g.file_sup)) fs::TruncateFile(g.file_sup);
  g.rec_negozio = data::ReadStoreRecord(g.file_sup);
  g.ragione_sociale = g.rec_negozio.nome_negozio.str();
  g.codutente = qint16(RoundHalfEven(Val(g.rec_negozio.codice_negozio.str())));
  if (g.codutente == 0) g.codutente = 1;

  try {
    ReadStoreRow();
  } catch (const db::DbError& e) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! ") + e.message());
  }

  l1->setText(g.ragione_sociale.str());
  dataw->setText(Format(Variant(Today()), QStringLiteral("Short Date")));
  if (g.codlis.str().trimmed().isEmpty()) g.codlis = "01";
  g.codope = 1;

  try {
    ReadAccountingYear();
    RebuildPrinterTable();
  } catch (const db::DbError& e) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! ") + e.message());
  }

  Label2->setText(g.percorso_db);
  SetCaption(QStringLiteral("Punto Vendita  ") + QString::number(g.codutente) + QLatin1Char(' ') +
             g.ragione_sociale.str() + QLatin1Char(' ') + QString::number(g.anno));
  ShowReleaseLabel();
}

void Main::ReadStoreRow() {
  SharedValues& g = G();
  auto db = db::Database::Open(g.percorso_db);
  auto rs = db->OpenRecordset(QStringLiteral("utenti"), db::RecordsetType::Table);
  rs->SetIndex(QStringLiteral("codutente"));
  if (!rs->Seek(QStringLiteral("="), Variant(int(g.codutente)))) return;

  auto field = [&rs](const char* name) { return rs->Field(QString::fromLatin1(name)); };
  if (!field("dimeti").isNull()) g.dimeti = qint16(field("dimeti").toLong());
  if (!field("affil").isNull()) g.affil = qint16(field("affil").toLong());
  if (!field("ncr").isNull()) g.tipo_terminale = field("ncr").str();
  if (!field("ultimadata").isNull()) {
    l3->setText(Format(field("ultimadata"), QStringLiteral("Short Date")));
  }
  if (g.dimeti == 0) g.dimeti = 75;
  g.codlis = field("codlis").str();  // Null reads as empty text, which becomes "01" below
  g.ragione_sociale = field("dscutente").str();
  g.tipocassa = field("tipocassa").str();
  g.fbiz = field("fbiz").isNull() ? 0 : CInt(field("fbiz").toDouble());
  g.trxbilplu = field("trxbilplu").isNull() ? 0 : CInt(field("trxbilplu").toDouble());
  g.calpv = "N";
  if (!field("calpv").isNull()) g.calpv = field("calpv").str();
  RestartBackgroundProcess();
  if (!field("nrpos").isNull()) g.nrpos = qint32(field("nrpos").toLong());
}

void Main::RestartBackgroundProcess() {
  const SharedValues& g = G();
  if (!fs::Exists(g.percorso_processo) || fs::IsFolder(g.percorso_processo)) return;
  mod_termina_processo(g.nome_processo);
  sys::StartDetached(g.percorso_processo, {}, sys::WindowState::Minimized);
}

void Main::ReadAccountingYear() {
  SharedValues& g = G();
  stampanti->DatabaseName = g.percorso_client;
  stampanti->RecordSource = QStringLiteral("SELECT * FROM inizio WHERE codute = ") +
                            QString::number(g.codutente) + QStringLiteral(" and codope= ") +
                            QString::number(g.codope);
  stampanti->Refresh();
  db::Recordset* rs = stampanti->recordset();
  if (!rs->Eof()) g.anno = CInt(rs->Field(QStringLiteral("annox")).toDouble());
  if (g.anno == 0) g.anno = qint16(Today().year());
  annow->setText(QString::number(g.anno));
}

void Main::RebuildPrinterTable() {
  stampanti->RecordSource = QStringLiteral("SELECT * FROM stampanti ORDER BY [descrizione]");
  stampanti->Refresh();
  db::Recordset* rs = stampanti->recordset();
  // The table is emptied and refilled as one change: never left half rebuilt.
  db::Transaction tx(rs->database());
  if (!rs->Eof()) {
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) rs->Delete();
  }
  const QStringList printers = print::Printers();
  for (int i = 0; i < printers.size(); ++i) {
    rs->AddNew();
    rs->SetField(QStringLiteral("codice"), Variant(i));
    rs->SetField(QStringLiteral("descrizione"), Variant(printers[i]));
    rs->Update();
  }
  tx.Commit();
}

void Main::ShowReleaseLabel() {
  const auto details =
      mod_dettagli_file(QStringLiteral("C:\\programmi\\tolmo\\"), QStringLiteral("vantorelix.exe"));
  if (details.size() < 4) return;
  Label9->setText(QStringLiteral("R. 3.3.3 del ") + details[3].second);
}

// --- Resize ------------------------------------------------------------------------------

void Main::Form_Resize() {
  // The menu bar sits above the client area, in which the design's twips apply.
  const int menuHeight = menuBar->sizeHint().height();
  menuBar->setGeometry(0, 0, width(), menuHeight);
  client_->setGeometry(0, menuHeight, width(), qMax(0, height() - menuHeight));

  const double oldHeight = TwipsHeight(Picture1);
  const double oldWidth = TwipsWidth(Picture1);
  const double innerHeight = TwipsHeight(client_);
  const double innerWidth = TwipsWidth(client_);
  const double h = innerHeight < 1245 ? 0 : innerHeight - 1245;
  const double w = innerWidth < 3240 ? 0 : innerWidth - 3240;

  ui::Place(Toolbar1, 0, 0, innerWidth, kToolbarHeight);
  ui::Place(Picture1, TwipsLeft(Picture1), TwipsTop(Picture1), w, h);
  ui::Place(FrameSem, TwipsLeft(FrameSem), TwipsTop(FrameSem), TwipsWidth(FrameSem), h);
  for (QWidget* c : {static_cast<QWidget*>(dataw), static_cast<QWidget*>(Label2),
                     static_cast<QWidget*>(Text1)}) {
    ui::Place(c, TwipsLeft(c), h + 840, TwipsWidth(c), TwipsHeight(c));
  }
  ui::Place(Text1, w + 60, TwipsTop(Text1), TwipsWidth(Text1), TwipsHeight(Text1));
  const double labelWidth = (w + 60) - TwipsLeft(Label2);
  ui::Place(Label2, TwipsLeft(Label2), TwipsTop(Label2), labelWidth < 0 ? 0 : labelWidth,
            TwipsHeight(Label2));
  ui::Place(Image2, TwipsLeft(Image2) + (w - oldWidth) / 37,
            TwipsTop(Image2) + (h - oldHeight) / 37, TwipsWidth(Image2), TwipsHeight(Image2));
}

// --- Activation, commands and closing ----------------------------------------------------

void Main::Form_Activate() {
  SharedValues& g = G();
  if (g.codcommesso == 0) ui::Forms::Show<com02>();
  if (!RefreshOnMainDatabase(fornitori, QStringLiteral("SELECT * FROM fornitori"))) return;
  for (int i = 5; i <= 8; ++i) Buttons[i]->setVisible(false);
  db::Recordset* rs = fornitori->recordset();
  for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
    const QString descr = rs->Field(QStringLiteral("descr")).str();
    if (descr.trimmed().isEmpty()) continue;
    // A row outside the slots 1 to 4 has no button.
    const double indice = RoundHalfEven(Val(rs->Field(QStringLiteral("codice")).str()) + 4);
    if (indice < 5 || indice > 8) continue;
    g.indice = qint16(indice);
    Buttons[g.indice]->setText(descr.left(11));
    Buttons[g.indice]->setVisible(true);
  }
}

QString Main::TerminalWindowFor(const QString& tipo_terminale) {
  static const std::map<QString, QString> windows = {
      {QString(), QStringLiteral("cnfpv")},
      {QStringLiteral("PDT"), QStringLiteral("cnfpv2")},
      {QStringLiteral("PDC"), QStringLiteral("cnfpv7")},
      {QStringLiteral("PDM"), QStringLiteral("cnfpv3")},
      {QStringLiteral("CIP"), QStringLiteral("cnfpv4")},
      {QStringLiteral("IT7"), QStringLiteral("cnfpv5")},
      {QStringLiteral("SIS"), QStringLiteral("cnfpv6")},
      {QStringLiteral("PD6"), QStringLiteral("cnfpv8")},
      {QStringLiteral("630"), QStringLiteral("cnfpv9")}};
  auto it = windows.find(tipo_terminale.trimmed());
  return it == windows.end() ? QString() : it->second;
}

bool Main::RefreshOnMainDatabase(db::DataControl* control, const QString& source) {
  try {
    control->DatabaseName = G().percorso_db;
    control->RecordSource = source;
    control->Refresh();
    return true;
  } catch (const db::DbError& e) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! ") + e.message());
    return false;
  }
}

bool Main::LastLoadUnfinished() {
  try {
    const std::shared_ptr<db::Database> main = variatil->database();
    return main && data::LoadUnderWay(*main);
  } catch (const db::DbError&) {
    return false;  // unreadable: the grid shows the table as it is
  }
}

void Main::Toolbar1_ButtonClick(const QString& key) {
  const SharedValues& g = G();
  // Only the supplier buttons need the programs: the other commands work without them.
  std::array<QString, 5> programs;
  const bool programsRead =
      RefreshOnMainDatabase(fornitori, QStringLiteral("SELECT * FROM fornitori"));
  if (programsRead) {
    db::Recordset* rs = fornitori->recordset();
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
      const Variant program = rs->Field(QStringLiteral("programma"));
      const double slot = RoundHalfEven(Val(rs->Field(QStringLiteral("codice")).str()));
      if (!program.isNull() && slot >= 0 && slot <= 4) programs[size_t(slot)] = program.str();
    }
  }

  if (key == QLatin1String("usci")) {
    mnuesci_Click();
  } else if (key == QLatin1String("lis")) {
    if (!RefreshOnMainDatabase(variatil, QStringLiteral("SELECT * FROM articoli"))) return;
    if (variatil->recordset()->RecordCount() == 0) {
      OpenWindow(QStringLiteral("cnf01"));
    } else if (LastLoadUnfinished()) {
      // The table holds part of a load: the loader, to run it again, not the grid.
      OpenWindow(QStringLiteral("cnf01"),
                 QStringLiteral("ATTENZIONE: l'ultima elaborazione dei listini non è terminata, "
                                "i dati del confronto sono incompleti. Ripetere l'elaborazione."));
    } else {
      scadenze->setVisible(true);
      pb1->SetValue(pb1->Min());
      pb1->SetVisible(true);
      scadenze->repaint();
      pb1->repaint();
      OpenWindow(QStringLiteral("cnf02"));
    }
  } else if (key == QLatin1String("For")) {
    OpenWindow(QStringLiteral("for03"));
  } else if (key == QLatin1String("impOrd")) {
    if (g.codutente == 0) {
      ui::MsgInformation(QStringLiteral("ATTENZIONE !!!. Utente non selezionato"));
      return;
    }
    const QString window = TerminalWindowFor(g.tipo_terminale);
    if (!window.isEmpty()) OpenWindow(window);
  } else if (key.startsWith(QLatin1String("far"))) {
    const int slot = key.mid(3).toInt() - 4;
    if (programsRead && slot >= 1 && slot <= 4) common::StartProgram(programs[slot]);
  }
}

void Main::mnuesci_Click() { Unload(); }

void Main::Form_Unload() {
  sys::ProcessList& list = *ListKillProcess1;
  list.Refresh();
  const int n = list.Count();
  for (int i = 1; i <= n; ++i) {
    if (list.Count() >= 100) continue;  // a long list stops nothing
    if (!list.Select(i)) continue;
    for (const QString& name : kOrderingPrograms) {
      if (list.SelectedName().contains(name, Qt::CaseInsensitive)) {
        list.SetPidToKill(list.SelectedPid());
        list.Kill();
      }
    }
  }
}

}  // namespace vx::shell
