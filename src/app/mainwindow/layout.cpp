#include "app/mainwindow/layout.h"

#include <cmath>
#include <initializer_list>

namespace m8 {

LayoutSize ChooseLayout(int code, int custom) {
  switch (code) {
    case 0: return LayoutSize::Small;
    case 2: return LayoutSize::Medium;
    case 3: return LayoutSize::Big;
    case 4: return custom == 0 ? LayoutSize::Small : custom == 1 ? LayoutSize::Big : LayoutSize::Medium;
    default: return LayoutSize::None;
  }
}

LayoutSize FittingLayout(LayoutSize wanted, int tpp, int width, int height) {
  if (wanted == LayoutSize::None) return wanted;
  auto fits = [&](LayoutSize s) {
    const BoardGeometry& b = BoardGeometryFor(s, tpp);
    return TwipsToPixels(b.windowWidth, tpp) <= width && TwipsToPixels(b.windowHeight, tpp) <= height;
  };
  for (LayoutSize s : {LayoutSize::Big, LayoutSize::Medium, LayoutSize::Small})
    if (s <= wanted && fits(s)) return s;
  return LayoutSize::Small;
}

int BuiltinSizeCode(LayoutSize size) {
  switch (size) {
    case LayoutSize::Small: return 0;
    case LayoutSize::Medium: return 2;
    case LayoutSize::Big: return 3;
    default: return -1;
  }
}

int TwipsToPixels(int twips, int tpp) {
  if (tpp <= 0) tpp = 15;
  return static_cast<int>(std::lround(static_cast<double>(twips) / tpp));
}

int TwipsPerPixelFromDpi(double dpi) {
  if (!(dpi > 1)) return 15;
  return static_cast<int>(std::lround(1440.0 / dpi));
}

namespace {

// Index: 0 Small 12, 1 Small other, 2 Medium 12, 3 Medium other, 4 Big 12,
// 5 Big other.
int Slot(LayoutSize size, int tpp) {
  int base = size == LayoutSize::Small ? 0 : size == LayoutSize::Medium ? 2 : 4;
  return base + (tpp == 12 ? 0 : 1);
}

constexpr BoardGeometry kBoard[6] = {
    {10260, 7200, 458, 456, 384, 474, 8755, 4935},    {11080, 8200, 568, 571, 374, 474, 9360, 5540},
    {11760, 8700, 648, 648, 384, 484, 10255, 6435},   {13100, 10000, 808, 811, 373, 473, 11280, 7455},
    {13500, 10390, 838, 839, 388, 483, 11860, 7970},  {15000, 12100, 1048, 1051, 373, 473, 13260, 9385},
};

// Columns of the main table and the extra-pieces table, one row per layout.
constexpr PanelGeometry kPanel[6] = {
    {1365, 2810, 4540, 6700, 8020, 4300, 3883, 4300, 9940, 7180, 4540, 5140, 6700, 7300, 7540, 4630, 4595, 7510,
     4595, 4630, 5095, 855, 4630, 4195, 4750, 3955, 5665, 3430, 4670, 5770, 6270, 6570, 7070, 4970},
    {1425, 3760, 5400, 7560, 8880, 5160, 4800, 5160, 10800, 8040, 5400, 6000, 7560, 8160, 8400, 5400, 5525, 8280,
     5525, 5400, 6025, 855, 5530, 5055, 5650, 4815, 6565, 4290, 5400, 6500, 7000, 7300, 7800, 5920},
    {1365, 4310, 6040, 8200, 9520, 5800, 5383, 5800, 11440, 8680, 6040, 6640, 8200, 8800, 9040, 6130, 6095, 9010,
     6095, 6130, 6595, 855, 6130, 5695, 6250, 5455, 7165, 4930, 6130, 7230, 7730, 8030, 8530, 6470},
    {1425, 5590, 7320, 9480, 10800, 7080, 6683, 7080, 12720, 9960, 7320, 7920, 9480, 10080, 10320, 7320, 7395,
     10200, 7395, 7320, 7895, 855, 7380, 6975, 7500, 6735, 8465, 6210, 7320, 8420, 8920, 9220, 9720, 7770},
    {1440, 5815, 7740, 9900, 11220, 7500, 6853, 7500, 13140, 10380, 7740, 8340, 9900, 10500, 10740, 7735, 7570,
     10615, 7570, 7735, 8070, 930, 7690, 7240, 7810, 7000, 8725, 6440, 7750, 8850, 9350, 9650, 10150, 7945},
    {1380, 7535, 9240, 11400, 12720, 9000, 8553, 9000, 14640, 11880, 9240, 9840, 11400, 12000, 12240, 9285, 9245,
     12130, 9245, 9285, 9745, 930, 9345, 8895, 9465, 8695, 10415, 8190, 9285, 10385, 10885, 11185, 11685, 9645},
};

// letterX = mul*k + add; numberX = mul*k + add + N*n + T*t + Z*z.
constexpr CoordinateGeometry kCoord[6] = {
    {456, 97, 4173, 455, 97, -45, 0, 455, 4245, 456, 4036, 4126},
    {570, 37, 5103, 570, 37, -45, 0, 570, 5210, 569, 4936, 5036},
    {648, 5, 5733, 648, -40, 0, 45, 645, 5880, 648, 5566, 5666},
    {809, -85, 7023, 809, -85, -55, 0, 800, 7240, 809, 6856, 6956},
    {844, -100, 7288, 844, -160, 0, 45, 840, 7525, 840, 7104, 7204},
    {1049, -200, 8953, 1049, -200, 0, 0, 1040, 9300, 1049, 8776, 8876},
};

}  // namespace

const BoardGeometry& BoardGeometryFor(LayoutSize size, int tpp) { return kBoard[Slot(size, tpp)]; }
const PanelGeometry& PanelGeometryFor(LayoutSize size, int tpp) { return kPanel[Slot(size, tpp)]; }
const CoordinateGeometry& CoordinateGeometryFor(LayoutSize size, int tpp) { return kCoord[Slot(size, tpp)]; }

int SquareLeft(const BoardGeometry& g, int k) { return g.x0 + g.squarePitch * (k % 8); }
int SquareTop(const BoardGeometry& g, int k) { return g.y0 + g.squarePitch * (k / 8); }

int LetterX(const CoordinateGeometry& c, int k) { return c.letterXMul * k + c.letterXAdd; }

int BottomNumberX(const CoordinateGeometry& c, int k, bool turned, bool piecesOnWhite) {
  const int t = turned ? 1 : 0, n = 1 - t, z = piecesOnWhite ? 1 : 0;
  return c.numberXMul * k + c.numberXAdd + c.numberXN * n + c.numberXT * t + c.numberXZ * z;
}

int RowY(const CoordinateGeometry& c, int k) { return c.rowYAdd - c.rowYMul * k; }

int LeftDigitX(int tpp) { return tpp == 12 ? 194 : 164; }

int LeftNumberX(int number, int tpp) {
  if (number < 10) return 180;
  return tpp == 12 ? 84 : 69;
}

}  // namespace m8
