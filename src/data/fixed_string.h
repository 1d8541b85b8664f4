// A text of exactly N characters, as the program's fixed-width values hold it: assigning a
// shorter text pads it with blanks on the right, a longer one keeps its first N characters.
#pragma once

#include <QString>

namespace vx {

template <int N>
class FixedString {
  static_assert(N > 0);

 public:
  static constexpr int width = N;

  FixedString() : s_(N, QLatin1Char(' ')) {}
  FixedString(const QString& text) : s_(Fit(text)) {}
  FixedString(const char* text) : s_(Fit(QString::fromUtf8(text))) {}

  FixedString& operator=(const QString& text) {
    s_ = Fit(text);
    return *this;
  }
  FixedString& operator=(const char* text) { return *this = QString::fromUtf8(text); }

  const QString& str() const { return s_; }
  operator const QString&() const { return s_; }

  bool operator==(const FixedString& other) const { return s_ == other.s_; }
  bool operator==(const QString& other) const { return s_ == other; }

 private:
  static QString Fit(const QString& text) {
    return text.size() >= N ? text.left(N) : text + QString(N - text.size(), QLatin1Char(' '));
  }
  QString s_;
};

}  // namespace vx
