// The values of a record set's rows, kept compactly: a row is its fields' stored values one
// after another, each a tag byte and as few bytes as hold it (whole numbers in 1, 2, 4 or 8
// bytes, a real that a float holds exactly in 4, text as UTF-8 with its length). Rows are
// appended; a row read again is appended anew, and the space of the rows left behind is
// reclaimed once it outweighs the rest.
#pragma once

#include <QtGlobal>
#include <cstdint>
#include <vector>

#include "platform/db/jet_types.h"
#include "platform/variant.h"

struct sqlite3_stmt;

namespace vx::db {

class RowStore {
 public:
  explicit RowStore(int fieldCount = 0) : fields_(fieldCount) {}

  long rows() const { return long(offsets_.size()); }
  // A row without values yet; returns its index.
  long AddRow() {
    offsets_.push_back(kNone);
    return long(offsets_.size()) - 1;
  }
  bool HasValues(long row) const { return offsets_[row] != kNone; }

  // Sets row `row` to the values of the statement's current row: field k from column
  // columns[k], or, where that is -1, the row's value kept so far (Null when none).
  void Write(long row, sqlite3_stmt* stmt, const std::vector<int>& columns);
  // Sets row `row` to the stored values (Null, Integer, Double or Text) given: field k from
  // *values[k], or, where that is null, the row's value kept so far (Null when none).
  void Write(long row, const std::vector<const Variant*>& values);

  // Where each field of the row starts, from the row's start; the row must have values.
  void FieldOffsets(long row, std::vector<quint32>& out) const;
  // The stored value (Null, Integer, Double or Text, as SQLite gave it) at `offset` of the
  // row's fields.
  Variant Value(long row, quint32 offset) const;
  // The same value typed by the field's column, as TypedFromStorage types it.
  Variant Value(long row, quint32 offset, JetType type) const;

  // Bytes the values take, those of rows left behind included.
  std::size_t bytes() const { return bytes_; }

 private:
  static constexpr quint64 kNone = ~quint64{0};
  static std::size_t ValueSize(const unsigned char* p);
  const unsigned char* Start(long row) const {
    return blocks_[offsets_[row] >> 32].data() + (offsets_[row] & 0xFFFFFFFFu);
  }
  std::size_t RowSize(const unsigned char* start) const;
  // Sets the row's values field by field: `put(k, used)` writes field k after the `used`
  // bytes of scratch_ and returns its size, or 0 to keep the row's value.
  template <typename PutField>
  void WriteRow(long row, PutField put);
  // Appends `size` bytes as a row's values; returns where they went.
  quint64 Place(const unsigned char* values, std::size_t size);
  void Compact();

  int fields_;
  std::vector<std::vector<unsigned char>> blocks_;
  std::vector<quint64> offsets_;  // block << 32 | offset in the block; kNone without values
  std::vector<unsigned char> scratch_;
  std::size_t bytes_ = 0, garbage_ = 0;
};

}  // namespace vx::db
