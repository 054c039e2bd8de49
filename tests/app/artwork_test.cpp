// The built-in pictures: sizes, the picture table, and that pieces, kings and
// squares are told apart at a glance.
#include <QImage>
#include <QtTest>

#include "app/mainwindow/artwork.h"

using namespace m8;

class ArtworkTest : public QObject {
  Q_OBJECT
 private slots:
  void referencePictureSizes() {
    ReferencePictures pics;
    struct Set {
      PieceStyle style;
      int square, icon;
    };
    for (Set s : {Set{PieceStyle::Small, 38, 32}, Set{PieceStyle::Medium, 54, 48}, Set{PieceStyle::Big, 70, 64}}) {
      for (SquareContent c : {SquareContent::Empty, SquareContent::BlackMan, SquareContent::WhiteMan,
                              SquareContent::BlackKing, SquareContent::WhiteKing}) {
        for (bool dark : {true, false}) {
          const QPixmap& p = pics.at(PictureIndex(s.style, c, dark));
          QCOMPARE(p.size(), QSize(s.square, s.square));
        }
        if (c != SquareContent::Empty) QCOMPARE(pics.at(IconIndex(s.style, c)).size(), QSize(s.icon, s.icon));
      }
    }
    QCOMPARE(pics.at(11).size(), QSize(80, 82));
    QVERIFY(pics.at(0).isNull());
    QVERIFY(pics.at(61).isNull());
  }

  void pictureTable() {
    // The numbers the board drawing and the input handlers share.
    QCOMPARE(PictureIndex(PieceStyle::Small, SquareContent::Empty, true), 1);
    QCOMPARE(PictureIndex(PieceStyle::Small, SquareContent::WhiteMan, false), 15);
    QCOMPARE(PictureIndex(PieceStyle::Medium, SquareContent::BlackKing, true), 33);
    QCOMPARE(PictureIndex(PieceStyle::Medium, SquareContent::WhiteKing, false), 43);
    QCOMPARE(PictureIndex(PieceStyle::Big, SquareContent::BlackMan, false), 29);
    QCOMPARE(PictureIndex(PieceStyle::Custom, SquareContent::WhiteMan, true), 51);
    QCOMPARE(PictureIndex(PieceStyle::Custom, SquareContent::BlackKing, false), 57);
    QCOMPARE(PictureIndex(PieceStyle::None, SquareContent::Empty, true), 0);
    QCOMPARE(IconIndex(PieceStyle::Small, SquareContent::WhiteMan), 7);
    QCOMPARE(IconIndex(PieceStyle::Small, SquareContent::BlackKing), 10);
    QCOMPARE(IconIndex(PieceStyle::Custom, SquareContent::BlackMan), 53);
    QCOMPARE(StyleFromSizeCode(1), PieceStyle::Big);
    QCOMPARE(StyleFromSizeCode(5), PieceStyle::None);
    QVERIFY(IsEmptySquarePicture(47));
    QVERIFY(!IsEmptySquarePicture(36));
  }

  void piecesAreClear() {
    const int s = 54;
    const QImage darkEmpty = PaintSquare(s, true, SquareContent::Empty).toImage();
    const QImage lightEmpty = PaintSquare(s, false, SquareContent::Empty).toImage();
    QVERIFY(lightEmpty.pixelColor(s / 2, s / 2).lightness() > darkEmpty.pixelColor(s / 2, s / 2).lightness() + 60);
    const QImage white = PaintSquare(s, true, SquareContent::WhiteMan).toImage();
    const QImage black = PaintSquare(s, true, SquareContent::BlackMan).toImage();
    QVERIFY(white.pixelColor(s / 2, s / 3).lightness() > 180);
    QVERIFY(black.pixelColor(s / 2, s / 3).lightness() < 80);
    // The corners keep the square's colour.
    QCOMPARE(white.pixelColor(0, 0), darkEmpty.pixelColor(0, 0));
    // A king differs from a man by the gold crown on its face.
    auto golden = [](const QImage& img) {
      int n = 0;
      for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
          const QColor c = img.pixelColor(x, y);
          if (c.red() > 180 && c.green() > 120 && c.blue() < 90) ++n;
        }
      return n;
    };
    for (auto [man, king] : {std::pair{SquareContent::WhiteMan, SquareContent::WhiteKing},
                             std::pair{SquareContent::BlackMan, SquareContent::BlackKing}}) {
      QCOMPARE(golden(PaintSquare(s, true, man).toImage()), 0);
      QVERIFY(golden(PaintSquare(s, true, king).toImage()) > 40);
    }
    // Icons are pieces on a transparent ground.
    const QImage icon = PaintPieceIcon(32, SquareContent::BlackKing).toImage();
    QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
    QVERIFY(icon.pixelColor(16, 14).alpha() > 200);
  }

  void dragPointerHoldsThePieceAtItsCentre() {
    ReferencePictures pics;
    const QCursor c = PieceCursor(pics.at(IconIndex(PieceStyle::Medium, SquareContent::WhiteKing)));
    QCOMPARE(c.hotSpot(), QPoint(24, 24));
    QCOMPARE(c.pixmap().size(), QSize(48, 48));
    QCOMPARE(PieceCursor(QPixmap()).shape(), Qt::ClosedHandCursor);
  }

  void toolbarIconsDiffer() {
    const QStringList keys = {"New Game", "New Variant", "Open", "Save", "Compute", "Cancel", "First",
                              "Back", "Forward", "Last", "Draw", "Resign", "Hint", "ComputerPlayer",
                              "PlayerPlayer", "ComputerComputer", "Options", "Analyze", "TurnBoard"};
    QSet<QByteArray> seen;
    for (const QString& k : keys) {
      const QImage img = ToolbarIcon(k).pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32);
      QVERIFY2(!img.isNull(), qPrintable(k));
      QByteArray bytes(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
      QVERIFY2(!seen.contains(bytes), qPrintable(k));
      seen.insert(bytes);
    }
  }

  void walnutIconsAreTransparentAroundThePiece() {
    // The icons are what the pointer carries while a piece is dragged: only
    // the piece may show, never a square behind it.
    for (const char* icon : {"icon_wm.png", "icon_bm.png", "icon_wk.png", "icon_bk.png"}) {
      const QString path = QStringLiteral(M8_DATA_DIR "/skins/Walnut/") + icon;
      QImage img(path);
      QVERIFY2(!img.isNull(), qPrintable(path));
      QVERIFY2(img.hasAlphaChannel(), qPrintable(path));
      const int e = img.width() - 1;
      for (QPoint corner : {QPoint(0, 0), QPoint(e, 0), QPoint(0, e), QPoint(e, e)})
        QCOMPARE(img.pixelColor(corner).alpha(), 0);
      QCOMPARE(img.pixelColor(img.width() / 2, img.height() / 2).alpha(), 255);
    }
  }
};

QTEST_MAIN(ArtworkTest)
#include "artwork_test.moc"
