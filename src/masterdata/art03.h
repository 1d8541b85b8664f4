// The article card of the EAN conversion table: one `eanconv` row (a slot and an EAN) with
// the article as the slot's supplier lists it and, for each of the four supplier slots, the
// alternative EAN, the factor and action, the list price, the percentage and the calculated
// price. It saves the row ("Conferma"), deletes it ("Elimina"), reopens empty ("Inserimento")
// and writes the calculated prices into the comparison table's costs ("Aggiorna").
//
// The card keeps the slot and the EAN it loaded: the list window may change the shared current
// slot and EAN while the card is open, but the card saves under its own slot and deletes the
// row it shows.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "masterdata/slot_price.h"
#include "platform/ui/form.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace vx::db {
class DataControl;
class DbError;
}  // namespace vx::db

namespace vx::ui {
class TextBox;
}

namespace vx::masterdata {

class art03 : public ui::Form {
  Q_OBJECT
 public:
  art03();

  // Supplier band.
  ui::TextBox* codforw = nullptr;
  ui::TextBox* desfow = nullptr;
  ui::TextBox* percpw = nullptr;
  // Article band.
  QGroupBox* Frame3 = nullptr;  // "Codice Ean"
  ui::TextBox* eanw = nullptr;
  QGroupBox* Frame4 = nullptr;  // "Descrizione"
  ui::TextBox* desarw = nullptr;
  ui::TextBox* umw = nullptr;
  ui::TextBox* imbw = nullptr;
  ui::TextBox* ivaw = nullptr;
  ui::TextBox* prezzow = nullptr;
  // "Codice alternativo del fornitore": one frame per slot; the arrays are indexed 1 to 4.
  QGroupBox* Frame1 = nullptr;
  std::array<QGroupBox*, 5> Frame2{};
  std::array<ui::TextBox*, 5> eanaltw{};
  std::array<ui::TextBox*, 5> przca{};
  std::array<ui::TextBox*, 5> perc{};
  std::array<ui::TextBox*, 5> MoDi{};
  std::array<ui::TextBox*, 5> fatconvw{};
  std::array<ui::TextBox*, 5> przc{};
  ui::TextBox* des1w = nullptr;
  ui::TextBox* des2w = nullptr;
  ui::TextBox* des3w = nullptr;
  ui::TextBox* des4w = nullptr;
  QGroupBox* Frame5 = nullptr;  // "Sostituire  il codice Ean con il seguente"
  ui::TextBox* eansostiw = nullptr;
  QPushButton* Command1 = nullptr;   // "Conferma"
  QPushButton* Command3 = nullptr;   // "Elimina"
  QPushButton* Command2 = nullptr;   // "Inserimento"
  QPushButton* Command4 = nullptr;   // "Aggiorna"
  QPushButton* Cmdann = nullptr;     // closes the card
  db::DataControl* Data1 = nullptr;  // the `eanconv` row
  db::DataControl* Data2 = nullptr;  // a `fornitori` row
  db::DataControl* Data3 = nullptr;  // the article lookup in a supplier's database

  // The path of the supplier database of the last lookup.
  QString percorso_fornitore;

  // The description box of slot n (1 to 4).
  ui::TextBox* DesBox(int n) const;
  // The slot and EAN (13 characters) the card loaded.
  qint32 CardSlot() const { return slot_; }
  const QString& CardEan() const { return ean_; }

  // The card's procedures.
  void dear();
  void dearb(const QString& ean, qint16 slot);
  void chiaro();
  void calc_prezzo(qint16 codforb);
  void conferma();

  // Event procedures.
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Cmdann_Click();
  void eanw_Change();
  void eanw_KeyPress(int& keyAscii);
  void eanaltw_KeyPress(int index, int& keyAscii);
  void fatconvw_Change(int index);
  void fatconvw_KeyPress(int index, int& keyAscii);
  void MoDi_Change(int index);
  void MoDi_DblClick(int index);
  void MoDi_KeyPress(int index, int& keyAscii);

 protected:
  void Form_Load() override;
  void Form_Unload() override;

 private:
  enum class Lookup { Found, NotFound, Failed };
  struct SupplierRow {
    QString descr;
    Variant perce;
    QString percorso;
  };

  void BuildControls();
  // The `fornitori` row of a slot through Data2; nullopt when there is none.
  std::optional<SupplierRow> ReadSupplier(qint32 slot);
  // Opens Data3 on a supplier database with the EAN lookup; true when it found a row.
  bool LookUpArticle(const QString& percorso, const QString& ean);
  Lookup SlotLookup(const QString& ean, qint16 slot);
  // The checked save; with costs, the comparison row's costs are written in the same
  // transaction. False when a check or the database refused it (the card then stays).
  bool Save(bool withCosts);
  // What a slot's supplier lists for an EAN, read without touching the boxes.
  std::optional<Listing> ListingOf(int slot, const QString& ean);
  void RefreshList();
  void ReportDbError(const db::DbError& e);

  qint32 slot_ = 0;
  QString ean_;
  // While the card loads, the failures already told: the load looks a catalogue up once for
  // each slot that names it, and one that cannot be read is told once.
  std::optional<QStringList> toldOnLoad_;
};

}  // namespace vx::masterdata
