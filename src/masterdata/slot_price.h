// The calculated price of one supplier slot of the article card, as the card's boxes show it:
// the price its lookup writes, the price its recalculation writes, and the price a stored
// row's slot shows once the card has loaded that row. Boxes hold texts and each step reads
// its operands back from them, so these work on texts too.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "platform/variant.h"

namespace vx::masterdata {

// A value written into a box: its text as the program shows numbers (a single with 7
// significant digits, a double with 15); Null and Empty give the empty box.
QString BoxText(const Variant& v);

// The price the slot lookup writes: list price a and percentage q (box texts) give
// a + a x (q / 100); then, when the factor's leading number is above 0 and its text reads as a
// number by the regional rules, that price (read back from its text) is multiplied ("M") or
// divided (any other action) by it. An empty or unreadable a or q counts as 0.
QString LookupPriceText(const QString& listPrice, const QString& percentage, const QString& factor,
                        const QString& action);

// The price the recalculation writes: the factor's leading number f, the percentage p in
// single precision; (a op f) + (a op f) x p / 100 with op the action's multiply or divide.
// With f = 0, "M" gives "0" and any other action keeps `current`.
QString RecalculatedPriceText(const QString& listPrice, const QString& percentage,
                              const QString& factor, const QString& action, const QString& current);

// A price box's number: the regional reading of its text, 0 when empty or unreadable.
double PriceValue(const QString& text);

// One slot of a stored `eanconv` row: its alternative EAN, factor and action columns.
struct StoredSlot {
  Variant alternative = Variant::null();
  Variant factor = Variant::null();
  Variant action = Variant::null();
};

// What the slot's supplier lists for an EAN: its list price and the supplier's percentage.
struct Listing {
  Variant listPrice;
  Variant percentage;
};

// Looks an alternative EAN up in the slot's supplier database; nullopt when not found.
using ListingLookup = std::function<std::optional<Listing>(const QString& ean)>;

// The price box of slot 1..4 once the card has loaded a row: a Null alternative skips the
// slot; otherwise the factor and the action are set (each recalculating the empty slot), an
// alternative that is not the empty text is looked up, and slot 1's factor, when it reads as
// 0, becomes "1" and recalculates.
QString LoadedPriceText(int slot, const StoredSlot& stored, const ListingLookup& lookup);

}  // namespace vx::masterdata
