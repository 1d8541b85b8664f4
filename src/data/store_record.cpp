#include "data/store_record.h"

#include <QByteArray>

#include "platform/files.h"

namespace vx::data {

namespace {

constexpr int kOffsetReserved1 = 0;
constexpr int kOffsetReserved2 = 128;
constexpr int kOffsetName = 130;
constexpr int kOffsetCode = 160;
constexpr int kFieldsLength = 162;

QString Field(const QByteArray& record, int offset, int width, bool nulAsBlank) {
  QByteArray bytes = record.mid(offset, width);
  if (nulAsBlank) bytes.replace('\0', ' ');
  return fs::FromCp1252(bytes);
}

void Put(QByteArray& record, int offset, int width, const QString& text) {
  QByteArray bytes = fs::ToCp1252(text).left(width);
  if (bytes.size() < width) bytes.append(QByteArray(width - bytes.size(), ' '));
  record.replace(offset, width, bytes);
}

}  // namespace

rec_negozio ReadStoreRecord(const QString& path) {
  const QByteArray record = fs::RecordFile(path, kStoreRecordLength).Read(1);
  rec_negozio r;
  r.riservato_1 = Field(record, kOffsetReserved1, 128, false);
  r.riservato_2 = Field(record, kOffsetReserved2, 2, false);
  r.nome_negozio = Field(record, kOffsetName, 30, true);
  r.codice_negozio = Field(record, kOffsetCode, 2, true);
  return r;
}

bool WriteStoreRecord(const QString& path, const rec_negozio& r, QString* error) {
  const fs::RecordFile file(path, kStoreRecordLength);
  QByteArray record = file.Read(1);
  record.resize(kStoreRecordLength, '\0');
  Put(record, kOffsetReserved1, 128, r.riservato_1);
  Put(record, kOffsetReserved2, 2, r.riservato_2);
  Put(record, kOffsetName, 30, r.nome_negozio);
  Put(record, kOffsetCode, 2, r.codice_negozio);
  static_assert(kOffsetCode + 2 == kFieldsLength);
  return file.Write(1, record, error);
}

QString StoreCodeText(int code) { return FixedString<2>(QString::number(code)).str(); }

}  // namespace vx::data
