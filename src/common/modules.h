// The shared procedures that windows of several subsystems call: stopping the processes of
// an executable name, the trailing backslash of a folder path, a file's detail columns, and
// an installed printer's position by its device name.
#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "platform/variant.h"

namespace vx::common {

// Stops (SIGTERM) every process of the current user whose executable file name ends with
// name, without regard to case; an empty name stops nothing. Nothing is reported.
void mod_termina_processo(const QString& name);

// The path itself when it ends with "\", else the path followed by "\"; "" gives "\".
QString mod_aggiungi_barra(const Variant& path);

// The detail columns (title, text) of the item of the folder (a Windows path) whose name
// equals name without regard to case: "Nome", "Dimensione", "Tipo", "Ultima modifica"
// (dd/mm/yyyy hh:mm), ... so that the fourth entry is the modification date. Empty when the
// folder does not exist or holds no such item.
std::vector<std::pair<QString, QString>> mod_dettagli_file(const QString& folder,
                                                           const QString& name);

// Position from 0 of the first installed printer whose device name equals deviceName
// without regard to case; 0 when none does.
qint32 mod_indice_stampante(const QString& deviceName);

}  // namespace vx::common
