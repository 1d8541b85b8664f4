// Jet LIKE patterns ("*", "?", "#", "[list]", "[!list]") in SQLite terms.
#pragma once

#include <QString>

namespace vx::db::jet {

struct LikePattern {
  // True: `text` is an SQLite LIKE pattern, with `escaped` telling whether it needs
  // ESCAPE '\' (a literal %, _ or \). False: `text` is an anchored regular expression for
  // the REGEXP operator (digits and character lists, which LIKE cannot express).
  bool like = true;
  bool escaped = false;
  QString text;
};

// With `regexpOnly` the pattern always becomes a regular expression (for patterns known only
// when the statement runs).
LikePattern TranslateLikePattern(const QString& jetPattern, bool regexpOnly = false);

}  // namespace vx::db::jet
