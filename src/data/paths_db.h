// The fixed paths of the program's own files, built from the data drive letter.
#pragma once

#include <QString>

namespace vx::data {

// Each takes the data drive as a letter ("C"); only its first character counts.
QString MainDatabasePath(const QString& drive);       // C:\Programmi\tolmo\dizizOrezav.mdb
QString ProgramFolder(const QString& drive);          // C:\Programmi\tolmo
QString StoreFolder(const QString& drive);            // C:\pelko
QString StoreDatabasePath(const QString& drive);      // C:\pelko\client.mdb
QString RootStoreDatabasePath(const QString& drive);  // C:\client.mdb (provisioning copy)
QString StoreRecordFilePath(const QString& drive);    // C:\tolmodati.txt
QString LogFilePath(const QString& drive);            // C:\programmi\tolmo\log_tolmo.txt

}  // namespace vx::data
