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

// Room for `n` more bytes after the `used` ones; where they go.
unsigned char* Room(std::vector<unsigned char>& out, std::size_t used, std::size_t n) {
  if (used + n > out.size()) out.resize(std::max(out.size() * 2, used + n + 64));
  return out.data() + used;
}

template <typename T>
std::size_t Put(unsigned char* at, Tag tag, T value) {
  at[0] = tag;
  std::memcpy(at + 1, &value, sizeof(T));
  return 1 + sizeof(T);
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

std::size_t PutNull(std::vector<unsigned char>& out, std::size_t used) {
  *Room(out, used, 1) = kNull;
  return 1;
}

std::size_t PutInteger(std::vector<unsigned char>& out, std::size_t used, qint64 v) {
  unsigned char* at = Room(out, used, 9);
  if (Fits<qint8>(v)) return Put(at, kInt8, qint8(v));
  if (Fits<qint16>(v)) return Put(at, kInt16, qint16(v));
  if (Fits<qint32>(v)) return Put(at, kInt32, qint32(v));
  return Put(at, kInt64, v);
}

std::size_t PutReal(std::vector<unsigned char>& out, std::size_t used, double d) {
  const float f = static_cast<float>(d);
  unsigned char* at = Room(out, used, 9);
  return static_cast<double>(f) == d ? Put(at, kFloat, f) : Put(at, kDouble, d);
}

std::size_t PutText(std::vector<unsigned char>& out, std::size_t used, const void* text,
                    std::size_t n) {
  unsigned char* at = Room(out, used, n + 5);
  std::size_t head;
  if (n <= 0xFF) {
    at[0] = kText;
    at[1] = static_cast<unsigned char>(n);
    head = 2;
  } else {
    head = Put(at, kLongText, quint32(n));
  }
  if (n > 0) std::memcpy(at + head, text, n);
  return head + n;
}

// Writes the column's value, as StoredValue reads it, after the `used` bytes of `out`;
// returns the bytes written. One call reaches the column; its parts are read from the value
// (the connection is used from one thread only).
std::size_t PutColumn(std::vector<unsigned char>& out, std::size_t used, sqlite3_stmt* stmt,
                      int column) {
  sqlite3_value* value = sqlite3_column_value(stmt, column);
  switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
      return PutNull(out, used);
    case SQLITE_INTEGER:
      return PutInteger(out, used, sqlite3_value_int64(value));
    case SQLITE_FLOAT:
      return PutReal(out, used, sqlite3_value_double(value));
    default: {
      // Text, and a blob read as its text.
      const unsigned char* text = sqlite3_value_text(value);
      return PutText(out, used, text, std::size_t(sqlite3_value_bytes(value)));
    }
  }
}

// Writes a stored value (Null, Integer, Double or Text) as PutColumn writes the column that
// holds it.
std::size_t PutStored(std::vector<unsigned char>& out, std::size_t used, const Variant& value) {
  switch (value.type()) {
    case Variant::Type::Integer:
      return PutInteger(out, used, value.toLong());
    case Variant::Type::Double:
      return PutReal(out, used, value.toDouble());
    case Variant::Type::Text: {
      const QByteArray utf8 = value.str().toUtf8();
      return PutText(out, used, utf8.constData(), std::size_t(utf8.size()));
    }
    default:
      return PutNull(out, used);
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

template <typename PutField>
void RowStore::WriteRow(long row, PutField put) {
  const unsigned char* const start = HasValues(row) ? Start(row) : nullptr;
  const unsigned char* kept = start;
  std::size_t used = 0;
  for (int k = 0; k < fields_; ++k) {
    const std::size_t size = kept ? ValueSize(kept) : 0;
    if (const std::size_t written = put(k, used)) {
      used += written;
    } else if (kept) {
      std::memcpy(Room(scratch_, used, size), kept, size);
      used += size;
    } else {
      used += PutNull(scratch_, used);
    }
    if (kept) kept += size;
  }
  // The row's values left behind: `kept` walked them all.
  if (start) garbage_ += std::size_t(kept - start);
  offsets_[row] = Place(scratch_.data(), used);
  if (garbage_ > (256u << 10) && garbage_ * 2 > bytes_) Compact();
}

void RowStore::Write(long row, sqlite3_stmt* stmt, const std::vector<int>& columns) {
  WriteRow(row, [&](int k, std::size_t used) -> std::size_t {
    return columns[k] >= 0 ? PutColumn(scratch_, used, stmt, columns[k]) : 0;
  });
}

void RowStore::Write(long row, const std::vector<const Variant*>& values) {
  WriteRow(row, [&](int k, std::size_t used) -> std::size_t {
    return values[k] ? PutStored(scratch_, used, *values[k]) : 0;
  });
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

Variant RowStore::Value(long row, quint32 offset, JetType type) const {
  // The common cases straight from the bytes; the rest as TypedFromStorage types them.
  const unsigned char* p = Start(row) + offset;
  const JetKind kind = type.kind;
  switch (*p) {
    case kNull:
      return Variant::null();
    case kInt8:
    case kInt16:
    case kInt32:
    case kInt64:
      if (kind == JetKind::Long || kind == JetKind::Short || kind == JetKind::Byte ||
          kind == JetKind::Unknown) {
        return Value(row, offset);
      }
      break;
    case kFloat:
    case kDouble: {
      const double d = *p == kFloat ? double(Get<float>(p + 1)) : Get<double>(p + 1);
      if (kind == JetKind::Double || kind == JetKind::Currency || kind == JetKind::Unknown) {
        return Variant(d);
      }
      if (kind == JetKind::Single) return Variant(static_cast<float>(d));
      break;
    }
    default:
      if (type.isText() || kind == JetKind::Unknown) return Value(row, offset);
  }
  return TypedFromStorage(Value(row, offset), type);
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
