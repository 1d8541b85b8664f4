// Finding rows in a record set: FindFirst/FindNext on a Jet criteria text, and Seek on an
// index of a table-type set.
#include <sqlite3.h>

#include <algorithm>

#include "platform/db/jet_tokens.h"
#include "platform/db/jet_translate.h"
#include "platform/db/recordset.h"
#include "platform/db/recordset_impl.h"

namespace vx::db {

bool Recordset::FindFirst(const QString& criteria) { return Find(criteria, 0); }

bool Recordset::FindNext(const QString& criteria) {
  return Find(criteria, d_->bof ? 0 : d_->eof ? d_->count : d_->pos + 1);
}

// The fast way, for a set whose rows come from one table: the criteria run as a WHERE on the
// table (through its indexes), with the set's field names turned into the table's column
// names and the literals bound, so that criteria of one shape share a prepared statement.
// The same statement reads the values of the row found. The positions of all matches are
// kept while nothing changes, for the FindNext calls that follow.
// Returns false when the criteria cannot run on the table (a field that is no column).
// `found` is the first match from position `from` on, with its values, when the statement
// ran; -2 when it ran and nothing matched; -1 when the kept positions were used.
bool Recordset::MatchingPositions(const QString& criteria, long from, long& found) {
  Impl& d = *d_;
  found = -1;
  if (!d.updatable) return false;
  d.Look();
  const qint64 changes = sqlite3_total_changes64(db_->handle());
  if (criteria == d.foundCriteria && changes == d.foundChanges &&
      d.generation == d.foundGeneration && d.count == d.foundCount) {
    return true;
  }
  std::vector<long>& positions = d.foundPositions;
  positions.clear();
  d.foundCriteria.clear();

  std::vector<Variant> literals;
  const QString key = jet::LiteralShape(criteria, literals);
  CriteriaShape uncached;
  CriteriaShape* shape = nullptr;
  if (auto it = d.shapes.find(key); it != d.shapes.end()) {
    shape = &it->second;
  } else {
    std::vector<Variant> translated;
    bool mappable = true;
    jet::ExprOptions options;
    options.literals = &translated;
    options.columnType = [&](const QString& name) {
      const int k = FieldIndex(name);
      return k < 0 ? JetType{} : d.fields[k].type;
    };
    options.mapName = [&](const QString& name) -> QString {
      const int k = FieldIndex(name);
      if (k < 0) return QString();
      if (d.fields[k].origin.isEmpty()) mappable = false;
      return jet::QuoteName(d.fields[k].origin);
    };
    const QString where = jet::TranslateDml(jet::Tokenize(criteria), options);
    CriteriaShape made;
    made.mappable = mappable;
    if (mappable) {
      try {
        made.select.stmt = db_->PrepareNative(d.head + QStringLiteral(" WHERE ") + where);
      } catch (const DbError& e) {
        if (e.kind() != DbErrorKind::Other) throw;  // the file's state, not the criteria's
        d.RequireColumns(*db_);                     // nor the criteria's, when a field is gone
        throw DbError(QStringLiteral("Criterio non valido '%1': %2").arg(criteria, e.message()));
      }
    }
    if (translated.size() == literals.size()) {
      if (d.shapes.size() >= 64) d.shapes.clear();
      shape = &d.shapes.emplace(key, std::move(made)).first->second;
    } else {
      uncached = std::move(made);  // a text the shape reading does not follow: not kept
      shape = &uncached;
      literals = translated;
    }
  }
  if (!shape->mappable) return false;

  Statement& select = shape->select.stmt;
  found = -2;
  for (size_t i = 0; i < literals.size(); ++i) select.Bind(static_cast<int>(i) + 1, literals[i]);
  try {
    const std::unordered_map<qint64, long>& positionOf = d.Positions();
    while (select.Step()) {
      const auto it = positionOf.find(sqlite3_column_int64(select.handle(), 0));
      if (it == positionOf.end()) continue;
      const long p = it->second;
      positions.push_back(p);
      if (p >= from && (found < 0 || p < found) && !d.deleted[p]) {
        found = p;
        d.Store(p, shape->select);
      }
    }
  } catch (const DbError& e) {
    select.Reset();
    // SQLite prepares the statement again after a schema change: a field gone says so.
    if (e.kind() == DbErrorKind::Other) d.RequireColumns(*db_);
    throw;
  } catch (...) {
    select.Reset();
    throw;
  }
  select.Reset();
  std::sort(positions.begin(), positions.end());
  d.foundCriteria = criteria;
  d.foundChanges = changes;
  d.foundGeneration = d.generation;
  d.foundCount = d.count;
  return true;
}

bool Recordset::Find(const QString& criteria, long from) {
  CancelUpdate();
  Impl& d = *d_;
  noMatch_ = true;
  long found = -1;
  if (MatchingPositions(criteria, from, found)) {
    const std::vector<long>& positions = d.foundPositions;
    if (found >= 0) {
      d.SetCurrent(found);
      noMatch_ = false;
      return true;
    }
    if (found == -2) return false;
    for (auto it = std::lower_bound(positions.begin(), positions.end(), from);
         it != positions.end(); ++it) {
      if (Load(*it, 1)) {
        d.SetCurrent(*it);
        noMatch_ = false;
        return true;
      }
    }
    return false;
  }
  // Row by row: the criteria evaluated by SQLite on each row's values, bound as parameters
  // (text fields compared without regard to case, as their columns are).
  std::vector<int> used;
  jet::ExprOptions options;
  options.columnType = [&](const QString& name) {
    const int k = FieldIndex(name);
    return k < 0 ? JetType{} : d.fields[k].type;
  };
  options.mapName = [&](const QString& name) -> QString {
    const int k = FieldIndex(name);
    if (k < 0) return QString();
    used.push_back(k);
    const QString mark = QLatin1Char('?') + QString::number(k + 1);
    return d.fields[k].type.isText() ? QStringLiteral("(%1 COLLATE NOCASE)").arg(mark) : mark;
  };
  const QString expr = jet::TranslateDml(jet::Tokenize(criteria), options);
  Statement test;
  try {
    test = db_->PrepareNative(QStringLiteral("SELECT CASE WHEN (%1) THEN 1 ELSE 0 END").arg(expr));
  } catch (const DbError& e) {
    if (e.kind() != DbErrorKind::Other) throw;  // the file's state, not the criteria's text
    throw DbError(QStringLiteral("Criterio non valido '%1': %2").arg(criteria, e.message()));
  }
  d.Look();
  std::vector<Variant> row;
  for (long i = std::max(from, 0L); i < d.count; ++i) {
    if (!Load(i, 1)) continue;
    d.RowValues(i, row);
    test.Reset();
    for (int k : used) test.Bind(k + 1, row[k]);
    if (test.Step() && sqlite3_column_int(test.handle(), 0) == 1) {
      d.SetCurrent(i);
      noMatch_ = false;
      return true;
    }
  }
  return false;
}

void Recordset::SetIndex(const QString& indexName) {
  Impl& d = *d_;
  if (d.type != RecordsetType::Table) {
    throw DbError(QStringLiteral("Index vale solo per le tabelle, non per '%1'").arg(source_));
  }
  const QString wanted = indexName.trimmed();
  QStringList columns;
  if (wanted.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) == 0) {
    Statement pk = db_->PrepareNative(
        QStringLiteral("SELECT name FROM pragma_table_info(?1) WHERE pk > 0 ORDER BY pk"));
    pk.Bind(1, Variant(d.base));
    while (pk.Step()) columns << pk.Column(0).str();
  } else {
    QString found;
    {
      Statement list = db_->PrepareNative(QStringLiteral("SELECT name FROM pragma_index_list(?1)"));
      list.Bind(1, Variant(d.base));
      const QString scoped = d.base + QLatin1Char('$') + wanted;
      while (list.Step()) {
        const QString name = list.Column(0).str();
        if (name.compare(scoped, Qt::CaseInsensitive) == 0 ||
            (found.isEmpty() && name.compare(wanted, Qt::CaseInsensitive) == 0)) {
          found = name;
        }
      }
    }
    if (!found.isEmpty()) {
      Statement info = db_->PrepareNative(
          QStringLiteral("SELECT name FROM pragma_index_info(?1) ORDER BY seqno"));
      info.Bind(1, Variant(found));
      while (info.Step()) columns << info.Column(0).str();
    }
  }
  if (columns.isEmpty()) {
    throw DbError(QStringLiteral("L'indice '%1' non esiste nella tabella '%2' del database '%3'")
                      .arg(wanted, d.base, db_->path()));
  }
  d.indexColumns = columns;

  // The set walks the table in the index's order from now on (MoveNext after a Seek goes to
  // the next key), every row of the table included.
  QStringList order;
  for (const QString& c : columns) order << jet::QuoteName(c);
  const qint64 current =
      !d.bof && !d.eof && d.pos >= 0 && d.pos < d.count ? d.rowids[d.pos] : qint64{-1};
  d.Look();
  d.rowids.clear();
  d.deleted.clear();
  d.deletedAt.clear();
  d.readAt.clear();
  d.gone.clear();
  d.rows = RowStore(static_cast<int>(d.fields.size()));
  d.positionOf.clear();
  d.positionsKnown = false;
  d.count = 0;
  d.deletedCount = 0;
  d.pos = -1;
  d.bof = d.eof = true;  // a read that fails below leaves an empty set, not a place in it
  d.foundCriteria.clear();
  {
    RowRead rows{
        db_->PrepareNative(d.head + QStringLiteral(" ORDER BY ") + order.join(QLatin1String(", "))),
        {}};
    while (rows.stmt.Step()) {
      d.Append(sqlite3_column_int64(rows.stmt.handle(), 0));
      d.Store(d.count - 1, rows);
    }
  }
  const auto it = d.Positions().find(current);
  if (it != d.positionOf.end() && Load(it->second, 1)) {
    d.SetCurrent(it->second);
  } else {
    MoveFirst();
  }
}

bool Recordset::Seek(const QString& op, const Variant& key) {
  Impl& d = *d_;
  if (d.type != RecordsetType::Table) {
    throw DbError(QStringLiteral("Seek vale solo per le tabelle, non per '%1'").arg(source_));
  }
  if (d.indexColumns.isEmpty()) {
    throw DbError(QStringLiteral("Seek senza indice sulla tabella '%1'").arg(d.base));
  }
  if (op.trimmed() != QLatin1String("=")) {
    throw DbError(QStringLiteral("Seek '%1' non supportato: solo \"=\"").arg(op));
  }
  CancelUpdate();
  d.Look();
  noMatch_ = true;
  const QString column = d.indexColumns.first();
  QStringList order;
  for (const QString& c : d.indexColumns) order << jet::QuoteName(c);
  // The key as the column holds it; a key the column could not hold matches no row.
  Variant stored;
  try {
    stored =
        ConformForWrite(key, JetTypeFromDeclared(db_->ColumnType(d.base, column)), column, false);
  } catch (const DbError&) {
    return false;
  }
  qint64 rowid = 0;
  {
    Statement seek = db_->PrepareNative(
        QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?1 ORDER BY %3 LIMIT 1")
            .arg(jet::QuoteName(d.base), jet::QuoteName(column), order.join(QLatin1String(", "))));
    seek.Bind(1, stored);
    if (!seek.Step()) return false;
    rowid = sqlite3_column_int64(seek.handle(), 0);
  }
  // A table-type set sees every row of its table, those added since it was opened too.
  auto it = d.Positions().find(rowid);
  if (it == d.positionOf.end()) {
    d.Append(rowid);
    it = d.positionOf.find(rowid);
  }
  if (!Load(it->second, 1)) return false;
  d.SetCurrent(it->second);
  noMatch_ = false;
  return true;
}

}  // namespace vx::db
