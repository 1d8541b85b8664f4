#include "platform/db/row_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace vx::db {

namespace {

enum Tag : unsigned char {
  kNull,
  kInt8,
  kInt16,
  kInt32,
  kInt64,
  kFloat,
  kDouble,
  kText,
  kLongText
};

template <typename T>
void Put(std::vector<unsigned char>& out, Tag tag, T value) {
  out.push_back(tag);
  const std::size_t at = out.size();
  out.resize(at + sizeof(T));
  std::memcpy(out.data() + at, &value, sizeof(T));
}

template <typename T>
T Get(const unsigned char* p) {
  T value;
  std::memcpy(&value, p, sizeof(T));
  return value;
}

template <typename Small>
bool Fits(qint64 v) {
  return v >= std::numeric_limits<Small>::min() && v <= std::numeric_limits<Small>::max();
}

void PutColumn(std::vector<unsigned char>& out, sqlite3_stmt* stmt, int column) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
      out.push_back(kNull);
      return;
    case SQLITE_INTEGER: {
      const qint64 v = sqlite3_column_int64(stmt, column);
      if (Fits<qint8>(v)) return Put(out, kInt8, qint8(v));
      if (Fits<qint16>(v)) return Put(out, kInt16, qint16(v));
      if (Fits<qint32>(v)) return Put(out, kInt32, qint32(v));
      return Put(out, kInt64, v);
    }
    case SQLITE_FLOAT: {
      const double d = sqlite3_column_double(stmt, column);
      const float f = static_cast<float>(d);
      if (static_cast<double>(f) == d) return Put(out, kFloat, f);
      return Put(out, kDouble, d);
    }
    default: {
      // Text, and a blob read as its text, as StoredValue reads them.
      const unsigned char* text = sqlite3_column_text(stmt, column);
      const int n = sqlite3_column_bytes(stmt, column);
      if (n <= 0xFF) {
        out.push_back(kText);
        out.push_back(static_cast<unsigned char>(n));
      } else {
        Put(out, kLongText, quint32(n));
      }
      if (n > 0) out.insert(out.end(), text, text + n);
    }
  }
}

}  // namespace

std::size_t RowStore::ValueSize(const unsigned char* p) {
  switch (*p) {
    case kNull:
      return 1;
    case kInt8:
      return 2;
    case kInt16:
      return 3;
    case kInt32:
    case kFloat:
      return 5;
    case kInt64:
    case kDouble:
      return 9;
    case kText:
      return 2 + p[1];
    default:
      return 5 + Get<quint32>(p + 1);
  }
}

std::size_t RowStore::RowSize(const unsigned char* start) const {
  const unsigned char* p = start;
  for (int k = 0; k < fields_; ++k) p += ValueSize(p);
  return std::size_t(p - start);
}

quint64 RowStore::Place(const unsigned char* values, std::size_t size) {
  constexpr std::size_t kBlock = 256u << 10;
  if (blocks_.empty() || blocks_.back().size() + size > blocks_.back().capacity()) {
    blocks_.emplace_back().reserve(std::max(kBlock, size));
  }
  std::vector<unsigned char>& block = blocks_.back();
  const quint64 at = quint64(blocks_.size() - 1) << 32 | block.size();
  block.insert(block.end(), values, values + size);
  bytes_ += size;
  return at;
}

void RowStore::Write(long row, sqlite3_stmt* stmt, const std::vector<int>& columns) {
  const unsigned char* kept = HasValues(row) ? Start(row) : nullptr;
  scratch_.clear();
  for (int k = 0; k < fields_; ++k) {
    const std::size_t size = kept ? ValueSize(kept) : 0;
    if (columns[k] >= 0) {
      PutColumn(scratch_, stmt, columns[k]);
    } else if (kept) {
      scratch_.insert(scratch_.end(), kept, kept + size);
    } else {
      scratch_.push_back(kNull);
    }
    if (kept) kept += size;
  }
  if (HasValues(row)) garbage_ += RowSize(Start(row));
  offsets_[row] = Place(scratch_.data(), scratch_.size());
  if (garbage_ > (256u << 10) && garbage_ * 2 > bytes_) Compact();
}

void RowStore::FieldOffsets(long row, std::vector<quint32>& out) const {
  out.resize(fields_);
  const unsigned char* start = Start(row);
  const unsigned char* p = start;
  for (int k = 0; k < fields_; ++k) {
    out[k] = quint32(p - start);
    p += ValueSize(p);
  }
}

Variant RowStore::Value(long row, quint32 offset) const {
  const unsigned char* p = Start(row) + offset;
  switch (*p) {
    case kNull:
      return Variant::null();
    case kInt8:
      return Variant(qint64(Get<qint8>(p + 1)));
    case kInt16:
      return Variant(qint64(Get<qint16>(p + 1)));
    case kInt32:
      return Variant(qint64(Get<qint32>(p + 1)));
    case kInt64:
      return Variant(Get<qint64>(p + 1));
    case kFloat:
      return Variant(double(Get<float>(p + 1)));
    case kDouble:
      return Variant(Get<double>(p + 1));
    case kText:
      return Variant(QString::fromUtf8(reinterpret_cast<const char*>(p + 2), p[1]));
    default:
      return Variant(
          QString::fromUtf8(reinterpret_cast<const char*>(p + 5), qsizetype(Get<quint32>(p + 1))));
  }
}

void RowStore::Compact() {
  std::vector<std::vector<unsigned char>> old;
  old.swap(blocks_);
  bytes_ = garbage_ = 0;
  for (quint64& offset : offsets_) {
    if (offset == kNone) continue;
    const unsigned char* start = old[offset >> 32].data() + (offset & 0xFFFFFFFFu);
    offset = Place(start, RowSize(start));
  }
}

}  // namespace vx::db
