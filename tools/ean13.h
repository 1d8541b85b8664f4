// EAN-13 codes for generated data.
#pragma once

#include <QString>

namespace vx::tools {

// The check digit of the first 12 digits of an EAN-13.
int Ean13CheckDigit(const QString& first12);
// The 12 digits followed by their check digit.
QString Ean13(const QString& first12);
// True for 13 digits whose last is the check digit of the others.
bool IsValidEan13(const QString& ean);

}  // namespace vx::tools
