// Dialog units to pixels, the way Windows lays out a dialog template from its font.
#include "wizard/qt/dialog_units.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <cmath>
#include <cstdint>

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = std::abs(static_cast<std::int64_t>(c)) / 2;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t magnitude = (std::abs(product) + half) / std::abs(static_cast<std::int64_t>(c));
  return static_cast<int>(negative ? -magnitude : magnitude);
}

DialogUnits DialogUnits::FromFont(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return DialogUnits(static_cast<int>(std::lround(letters / 52.0)), metrics.height());
}

int DialogUnits::X(int dialogUnits) const { return MulDiv(dialogUnits, baseX_, 4); }

int DialogUnits::Y(int dialogUnits) const { return MulDiv(dialogUnits, baseY_, 8); }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  return QRect(X(x), Y(y), X(width), Y(height));
}

QSize DialogUnits::Size(int width, int height) const { return QSize(X(width), Y(height)); }
