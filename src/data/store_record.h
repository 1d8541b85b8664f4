// Record 1 of the store record file tolmodati.txt at the root of the data drive: a
// random-access file of 256-byte records holding four fixed-width text fields of one byte
// per character (Windows-1252).
#pragma once

#include <QString>

#include "data/fixed_string.h"

namespace vx::data {

struct rec_negozio {
  FixedString<128> riservato_1;   // offset 0, never set by the program
  FixedString<2> riservato_2;     // offset 128, never set by the program
  FixedString<30> nome_negozio;   // offset 130, the store name
  FixedString<2> codice_negozio;  // offset 160, the store number as text ("1 ")
};

inline constexpr int kStoreRecordLength = 256;

// Reads record 1. A missing or short file gives blank name and code fields; the reserved
// fields keep their bytes exactly (NULs included) so that they are written back unchanged.
rec_negozio ReadStoreRecord(const QString& path);

// Writes record 1 from the four fields, creating the file when missing. The bytes of the
// record past the fields (162 to 255) and every other record keep what the file held.
// Returns false when the file cannot be written; error (when given) then gets the reason.
bool WriteStoreRecord(const QString& path, const rec_negozio& record, QString* error = nullptr);

// The store number as field 4 holds it: the number without a leading blank, left-aligned
// in two characters (1 gives "1 ").
QString StoreCodeText(int code);

}  // namespace vx::data
