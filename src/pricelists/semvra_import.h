// The SEMVRA price list and promotions, in C:\semvra\dati.mdb.
//
// The price list (sheet "foglio1") adds or edits articles and links their EANs; the first
// SEMVRA list of a window opening empties articles, EANs and groups first, so a food and a
// non-food list ("NO_FOOD" in the file name) imported one after the other both stay.
// The promotions (sheet "foglio 1") write the offer price and days of known articles only;
// the days come from rows 2 and 3 and are kept for later promotions of the opening.
#pragma once

#include <QString>
#include <optional>

#include "pricelists/import_frame.h"
#include "pricelists/importers.h"

namespace vx::pricelists {

ImportResult ImportSemvra(const ImportRequest& request, ImportDisplay* display,
                          OpeningMarks& marks);
// Runs always to row 3000 (the window puts "3000" in its box).
ImportResult ImportSemvraPromotions(const ImportRequest& request, ImportDisplay* display,
                                    OpeningMarks& marks);

// The kind of list: "S" when "NO_FOOD" starts at one of the positions 1 to 50 of the file
// name, else "F".
QString SemvraKind(const QString& fileName);
// The three-blank rule: a description that begins with three blanks loses them and is cut
// or blank-padded to 50 characters; any other stays as it is.
QString SemvraDescription(const QString& text);
// The colon rule: the 10 characters (fewer when the text ends) from two places after the
// last ":" among the first 30 characters; nullopt without one.
std::optional<QString> TextAfterColon(const QString& text);

}  // namespace vx::pricelists
