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

// The largest input file read, by its kind.
inline constexpr qint64 kMaxPriceListBytes = qint64(256) << 20;  // price lists and workbooks
inline constexpr qint64 kMaxDownloadBytes = qint64(16) << 20;    // terminal downloads
inline constexpr qint64 kMaxBatchBytes = qint64(1) << 20;        // batch files

// Why a file (a Windows or a host path; links followed) is not read as an input of at most
// maxBytes, as the words that follow "Il file <nome>" ("non esiste", "è un dispositivo, non un
// file normale", "supera i 16 MB ammessi ..."); "" for a regular file of at most maxBytes.
// Nothing is opened.
QString InputFileRefusal(const QString& path, qint64 maxBytes);
// True for a regular file, or a link to one.
bool IsRegularFile(const QString& path);

// The lines of Windows-1252 text (CR LF, CR or LF) up to its first DOS end mark, each without
// its line end; `ended`, when given, tells whether the last line had one (true for no lines).
// An input's text is checked with DamagedTextReason first.
QStringList TextLines(const QByteArray& bytes, bool* ended = nullptr);
// Why the text is damaged, as the words that follow "Il file <nome>": a DOS end mark (0x1A)
// that something other than blanks, line ends and end marks follows; "" when it is whole.
QString DamagedTextReason(const QByteArray& bytes);
// The bytes of an input file, whole; nullopt when it is refused (InputFileRefusal) or can't be
// read, with why, when given, in the same words.
std::optional<QByteArray> ReadFileBytes(const QString& path, qint64 maxBytes,
                                        QString* why = nullptr);
// The lines of an input Windows-1252 text file; nullopt, with why, also when it is damaged.
std::optional<QStringList> ReadTextLines(const QString& path, qint64 maxBytes = kMaxPriceListBytes,
                                         QString* why = nullptr);
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
