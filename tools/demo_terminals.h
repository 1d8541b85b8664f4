// Sample downloads of the handheld terminals, for trying "Ordine" on a data drive: what each
// terminal type's download tool would leave, with codes from the drive's own catalogues, one
// code no catalogue carries and the quantity forms the type's layout allows.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace vx::tools {

// The terminal codes of the store settings that have an import window ("" is the default
// terminal).
const QStringList& TerminalCodes();

// Writes the sample download of terminal type `code` afresh on the data drive `drive` under
// root (the Wi-Fi type: the rows of `ordine` in "C:\brunelvatto\dati.mdb"), replacing what an
// earlier call left; for PDC and CIP also the stand-ins of the download tool that write it
// again when started. Returns a line per thing written; SetupError for an unknown code or a
// drive whose catalogues hold no code.
QStringList WriteTerminalSample(const QString& root, QChar drive, const QString& code);

// Sets store 1's terminal type (`utenti.ncr`) to code and writes its sample download.
QStringList SetUpTerminal(const QString& root, QChar drive, const QString& code);

}  // namespace vx::tools
