// The Corvalia price-list text files of the demo drive, made from the demo CORVALIA
// catalogue: the same codes and EANs with new prices, a few new articles, and lines of
// every kind the import passes over, so that a new user can try the text import.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace vx::tools {

// The lines of the three files, as they are written (without their line ends).
struct CorvaliaTexts {
  QStringList a, b, t;
};

// One fixed-column line of each type (the fields cut or padded to their columns).
QString CorvaliaLineB(const QString& code, const QString& description, qint64 hundredths);
QString CorvaliaLineT(const QString& code, QChar separator, const QString& barcode);
QString CorvaliaLineA(const QString& code, const QString& vat, const QString& unit, int pack);

// The files' lines for the catalogue of `catalogueHost` (a supplier database).
CorvaliaTexts MakeCorvaliaTexts(const QString& catalogueHost, unsigned seed);

// Writes A<mmdd>.TXT, B<mmdd>.TXT and T<mmdd>.TXT (Windows-1252, CR LF) into the host folder,
// made when missing; SetupError when one can't be written. Returns a line that says what was
// written.
QString WriteDemoCorvaliaFiles(const QString& folderHost, const QString& catalogueHost,
                               const QDate& today, unsigned seed);

}  // namespace vx::tools
