// Dialog units to pixels, the way Windows lays out a dialog template from its font.
#include "wizard/qt/dialog_units.h"

#include <QFont>
#include <QFontDatabase>
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

QRect DialogUnits::Rect(int x, int y, int width, int height) const { return QRect(X(x), Y(y), X(width), Y(height)); }

QSize DialogUnits::Size(int width, int height) const { return QSize(X(width), Y(height)); }

// The template's font, 8 pt MS Sans Serif, is not on Linux. Liberation Sans at 12 pixels gives the
// template's proportions with every label and button text inside its rectangle (at 11 pixels the
// longest labels are clipped); DejaVu Sans, wider, fits at 11 pixels where Liberation is missing.
QFont DialogFont() {
  const bool liberation = QFontDatabase::hasFamily(QStringLiteral("Liberation Sans"));
  QFont font(liberation ? QStringLiteral("Liberation Sans") : QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(liberation ? 12 : 11);
  return font;
}
