// Dialog units to pixels, the way Windows lays out a dialog template from its font.
#pragma once

#include <QRect>
#include <QSize>

class QFont;

class DialogUnits {
 public:
  DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}
  // Base units of `font`: the average width of the 52 Latin letters and the font's height.
  static DialogUnits FromFont(const QFont& font);

  int BaseX() const { return baseX_; }
  int BaseY() const { return baseY_; }

  int X(int dialogUnits) const;
  int Y(int dialogUnits) const;
  QRect Rect(int x, int y, int width, int height) const;
  QSize Size(int width, int height) const;

 private:
  int baseX_;
  int baseY_;
};

// a * b / c rounded half away from zero, as Windows' MulDiv rounds.
int MulDiv(int a, int b, int c);

// The font the lab edition lays its dialog templates out with, standing in for the templates' own.
QFont DialogFont();
