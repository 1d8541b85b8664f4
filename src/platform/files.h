// Files as the stored data has them: text in Windows-1252 with CR LF line ends, and the
// random-access file of fixed-length records.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace vx::fs {

QByteArray ToCp1252(const QString& text);
QString FromCp1252(const QByteArray& bytes);

// The lines of Windows-1252 text (CR LF, CR or LF; a DOS end mark ends it), each without its
// line end; `ended`, when given, tells whether the last line had one (true for no lines).
QStringList TextLines(const QByteArray& bytes, bool* ended = nullptr);
// The bytes of a file, whole; nullopt when it can't be read.
std::optional<QByteArray> ReadFileBytes(const QString& path);
// Reads the lines of a Windows-1252 text file (CR LF or LF); nullopt when it can't be read.
std::optional<QStringList> ReadTextLines(const QString& path);
// Writes (or, with append, adds to) a text file, each line ending in CR LF.
bool WriteTextLines(const QString& path, const QStringList& lines, bool append = false);
// Creates the file empty or empties it.
bool TruncateFile(const QString& path);

// A random-access file of records of recordLength bytes, numbered from 1.
class RecordFile {
 public:
  RecordFile(QString path, int recordLength) : path_(std::move(path)), length_(recordLength) {}
  // The record's bytes, exactly recordLength of them; a record past the end of the file is
  // read as zero bytes (nothing is created by reading).
  QByteArray Read(int record) const;
  // Writes the record (padded with NUL or cut to the record length), creating the file.
  // On failure, error (when given) gets the system's reason.
  bool Write(int record, const QByteArray& bytes, QString* error = nullptr) const;

 private:
  QString path_;
  int length_;
};

}  // namespace vx::fs
