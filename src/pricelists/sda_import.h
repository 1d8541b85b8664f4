// The SDA price list: sheet "foglio1" of a workbook in C:\sda\ rebuilds C:\sda\dati.mdb
// (articles, EANs and groups emptied first; the list note kept in `listini`), the list
// price less 5 %; then C:\sda\listino.txt corrects the price of the articles it names.
#pragma once

#include <QString>
#include <optional>

#include "pricelists/import_frame.h"

namespace vx::pricelists {

ImportResult ImportSda(const ImportRequest& request, ImportDisplay* display);

// A price less a percentage, rounded to 4 decimals (halves to even), as a single.
float Discounted(float price, double percent);

// One line of listino.txt: the article code (positions 55-60) and its price less the
// discount (116-122 in the Italian reading, less Val of 133-137 per cent).
struct SdaPriceLine {
  qint32 code = 0;
  float price = 0;
};
// nullopt with an empty *why when the line is not a price line (no digit at position 55);
// nullopt with the reason when it is one but its code or price does not read.
std::optional<SdaPriceLine> ReadSdaPriceLine(const QString& line, QString* why);

}  // namespace vx::pricelists
