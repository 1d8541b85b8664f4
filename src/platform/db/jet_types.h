// Jet column types over SQLite storage: what a declared type means, how a value is conformed
// before it is written, and how a stored value reads back.
//
// Storage: text as text; whole numbers as integers; single, double and currency as reals;
// dates as real day numbers; yes/no as -1/0.
#pragma once

#include <QString>
#include <optional>

#include "platform/variant.h"

struct sqlite3_stmt;
struct sqlite3_value;

namespace vx::db {

enum class JetKind {
  Unknown,
  Text,
  Memo,
  Byte,
  Short,
  Long,
  Single,
  Double,
  Currency,
  Date,
  YesNo
};

struct JetType {
  JetKind kind = JetKind::Unknown;
  int size = 0;  // characters of a text column
  bool isText() const { return kind == JetKind::Text || kind == JetKind::Memo; }
};

// "TEXT(13)" -> {Text, 13}; "SINGLE" -> {Single}; "" or a word of no Jet type -> {Unknown}.
JetType JetTypeFromDeclared(const QString& declared);

// The value as the column stores it (Null, Integer, Double or Text); DbError naming the
// field and the value when it cannot be stored. With `checkWidth` false a text longer than
// the column passes (for search keys).
Variant ConformForWrite(const Variant& value, JetType type, const QString& field,
                        bool checkWidth = true);

// A stored value (as ConformForWrite or SQLite gives it) typed by the column: Date for dates,
// Single for single, Boolean for yes/no, Integer for whole numbers, Text for text.
Variant TypedFromStorage(const Variant& stored, JetType type);

// SQLite values <-> Variant. Binding writes dates as day numbers and booleans as -1/0.
Variant StoredValue(sqlite3_stmt* stmt, int column);
Variant StoredValue(sqlite3_value* value);
void BindVariant(sqlite3_stmt* stmt, int index, const Variant& value);

// SQLite's affinity of a column of the declared type.
enum class Affinity { Blob, Text, Numeric, Integer, Real };
Affinity AffinityOf(const QString& declared);

// The value a column of that affinity gives back once `value` is bound (as BindVariant binds
// it) and written into it; nullopt where SQLite may turn it into something not worked out
// here (text into a number column, a number into a text column, no finite number).
std::optional<Variant> StoredAfterWrite(const Variant& value, Affinity affinity);

}  // namespace vx::db
