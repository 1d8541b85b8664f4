// The detail columns of a file as a folder view lists them: name, size, type, date of the
// last change, and the other dates and attributes the file system gives.
#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace vx::sys {

// (column title, text) pairs, in column order, every column listed (a folder has no size
// text, a file system without creation times none for "Data creazione"): "Nome",
// "Dimensione", "Tipo", "Ultima modifica" (dd/mm/yyyy hh:mm), "Data creazione",
// "Ultimo accesso", "Attributi". The item is the first entry of the host folder whose name
// equals name without regard to case; no such item, or no such folder, gives nothing.
std::vector<std::pair<QString, QString>> FileDetails(const QString& hostFolder,
                                                     const QString& name);

}  // namespace vx::sys
