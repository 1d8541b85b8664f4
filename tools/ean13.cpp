#include "ean13.h"

namespace vx::tools {

int Ean13CheckDigit(const QString& first12) {
  int sum = 0;
  for (int i = 0; i < 12 && i < first12.size(); ++i) {
    const int d = first12[i].digitValue();
    sum += (i % 2 == 0) ? d : 3 * d;
  }
  return (10 - sum % 10) % 10;
}

QString Ean13(const QString& first12) {
  return first12 + QString::number(Ean13CheckDigit(first12));
}

bool IsValidEan13(const QString& ean) {
  if (ean.size() != 13) return false;
  for (const QChar c : ean) {
    if (!c.isDigit()) return false;
  }
  return Ean13CheckDigit(ean.left(12)) == ean[12].digitValue();
}

}  // namespace vx::tools
