// The values shared by every window of the program: the login state, the store settings
// copies, the store record and the working values that one window leaves for another.
// One state object, reached through G(). Whole numbers keep the widths the windows expect
// (16-bit as qint16, 32-bit as qint32); fixed-width texts pad and cut on assignment.
#pragma once

#include <QString>

#include "data/fixed_string.h"
#include "data/store_record.h"

namespace vx::common {

struct SharedValues {
  // Login and store.
  FixedString<1> drive;
  QString percorso_db;
  QString percorso_client;
  QString file_sup;
  QString file_log;
  QString nome_processo;
  QString percorso_processo;
  qint16 codutente = 0;
  FixedString<30> ragione_sociale;
  qint32 codcommesso = 0;
  FixedString<10> password_attesa;
  qint16 codope = 0;
  qint16 anno = 0;
  FixedString<2> codlis = "01";
  QString tipo_terminale;
  qint16 codstampante = 0;

  // Store settings copied by the main window's load, edited by the store settings window.
  qint16 fbiz = 0;
  qint16 trxbilplu = 0;
  qint16 affil = 0;
  qint16 dimeti = 0;
  FixedString<1> calpv;
  qint32 nrpos = 0;
  FixedString<1> tipocassa;
  FixedString<1> fileuni;

  // Record 1 of the store record file as the main window's load read it.
  data::rec_negozio rec_negozio;

  // Working values.
  FixedString<13> ean_corrente;
  qint32 codice_fornitore = 0;
  FixedString<45> descrizione_fornitore;
  FixedString<1> azione_conv;
  QString sql_select;
  QString sql_where;
  QString sql_order;
  QString sql_filtro;
  QString select_confronto;
  QString order_confronto;
  qint32 numero_ordine = 0;
  qint16 pagina = 0;
  qint32 nrec = 0;
  qint16 stampa_y1 = 0;
  qint16 stampa_x1 = 0;
  qint16 stampa_y2 = 0;
  qint16 stampa_x2 = 0;
  qint16 riga_stampa = 0;
  qint16 indice = 0;
  QString file_terminale;
  float quantita = 0;
  QString codice_letto;

  // Working values of the price-list imports.
  qint32 codart = 0;
  qint16 imballo = 0;
  qint32 codrep = 0;
  FixedString<2> iva;
  qint32 data_inizio = 0;
  qint32 data_fine = 0;
  FixedString<50> descrizione;
  FixedString<30> gruppo;
  FixedString<30> sottogruppo;
  QString nome_stampante;

  // Back to the values of program start.
  void Reset() { *this = SharedValues(); }
};

// The process's one set of shared values.
SharedValues& G();

}  // namespace vx::common
