#include "masterdata/slot_price.h"

#include "common/cost_conversion.h"
#include "platform/conv.h"

namespace vx::masterdata {

namespace {

double Regional(const QString& text) { return ParseRegional(text).value_or(0); }

}  // namespace

QString BoxText(const Variant& v) { return v.isNull() || v.isEmpty() ? QString() : v.str(); }

QString LookupPriceText(const QString& listPrice, const QString& percentage, const QString& factor,
                        const QString& action) {
  const double a = Regional(listPrice);
  const double q = Regional(percentage);
  const QString price = NumberText(a + a * (q / 100));
  if (Val(factor) <= 0) return price;
  // A factor that starts with a number but is none ("2x") leaves the price unconverted.
  const std::optional<double> k = ParseRegional(factor);
  if (!k) return price;
  return NumberText(common::ConvertCost(Regional(price), *k, action));
}

QString RecalculatedPriceText(const QString& listPrice, const QString& percentage,
                              const QString& factor, const QString& action,
                              const QString& current) {
  const double a = listPrice.isEmpty() ? 0 : Regional(listPrice);
  const float p = percentage.isEmpty() ? 0.0f : static_cast<float>(Regional(percentage));
  const double f = Val(factor);
  if (f == 0) return action == QLatin1String("M") ? QStringLiteral("0") : current;
  const double c = common::ConvertCost(a, f, action);
  return NumberText(c + (c * p) / 100);
}

double PriceValue(const QString& text) { return Regional(text); }

QString LoadedPriceText(int slot, const StoredSlot& stored, const ListingLookup& lookup) {
  QString listPrice, percentage, factor, action, price;
  // Each box's change event runs only when its text changes.
  auto setFactor = [&](const QString& text) {
    if (text == factor) return;
    factor = text;
    price = RecalculatedPriceText(listPrice, percentage, factor, action, price);
  };
  auto setAction = [&](const QString& text) {
    if (text == action) return;
    action = text;
    price = RecalculatedPriceText(listPrice, percentage, factor, action, price);
  };
  if (!stored.alternative.isNull()) {
    if (!stored.factor.isNull()) setFactor(BoxText(stored.factor));
    if (!stored.action.isNull()) setAction(BoxText(stored.action));
    const QString alternative = BoxText(stored.alternative);
    if (!alternative.isEmpty() && lookup) {
      if (const std::optional<Listing> found = lookup(alternative)) {
        percentage = BoxText(found->percentage);
        listPrice = BoxText(found->listPrice);
        price = LookupPriceText(listPrice, percentage, factor, action);
      }
    }
  }
  if (slot == 1 && Val(factor) == 0) setFactor(QStringLiteral("1"));
  return price;
}

}  // namespace vx::masterdata
