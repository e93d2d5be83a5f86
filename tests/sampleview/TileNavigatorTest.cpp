// Where the arrow and page keys lead, on a flow of known tiles:
//
//   row 0 (y 0):    0 [0..100]   1 [110..150]   2 [160..400]
//   row 1 (y 90):   3 [0..300]   4 [310..390]
//   row 2 (y 180):  5 [0..60]    6 [70..130]    7 [140..200]  8 [210..420]
//   row 3 (y 270):  9 [0..100]
#include "sampleview/TileNavigator.h"

#include <gtest/gtest.h>

namespace {

QRect Tile(int left, int right, int row) {
    return QRect(QPoint(left, row * 90), QPoint(right, row * 90 + 81));
}

const TileNavigator Flow({Tile(0, 100, 0), Tile(110, 150, 0), Tile(160, 400, 0), Tile(0, 300, 1),
                          Tile(310, 390, 1), Tile(0, 60, 2), Tile(70, 130, 2), Tile(140, 200, 2),
                          Tile(210, 420, 2), Tile(0, 100, 3)});

} // namespace

TEST(TileNavigator, LeftAndRightStayInTheRow) {
    EXPECT_EQ(Flow.Right(0), 1);
    EXPECT_EQ(Flow.Right(2), 2); // the row's end
    EXPECT_EQ(Flow.Left(3), 3);  // the row's start
    EXPECT_EQ(Flow.Left(8), 7);
    EXPECT_EQ(Flow.Right(9), 9);
}

TEST(TileNavigator, UpAndDownGoToTheNearestTileByCentre) {
    EXPECT_EQ(Flow.Down(0), 3); // centre 50: 3 (150) is nearer than 4 (350)
    EXPECT_EQ(Flow.Down(2), 4); // centre 280: 4 (350) beats 3 (150)
    EXPECT_EQ(Flow.Down(3), 7); // centre 150: 7 (170) beats 6 (100)
    EXPECT_EQ(Flow.Up(8), 4);   // centre 315: 4 (350)
    EXPECT_EQ(Flow.Up(5), 3);   // the only tile of the row above
    EXPECT_EQ(Flow.Down(8), 9);
    EXPECT_EQ(Flow.Down(9), 9); // the last row
    EXPECT_EQ(Flow.Up(1), 1);   // the first row
}

TEST(TileNavigator, HomeEndAndPages) {
    EXPECT_EQ(Flow.First(), 0);
    EXPECT_EQ(Flow.Last(), 9);
    // A page of 200 pixels is two rows.
    EXPECT_EQ(Flow.PageDown(0, 200), 5);
    EXPECT_EQ(Flow.PageDown(4, 200), 9);
    EXPECT_EQ(Flow.PageDown(9, 200), 9);
    EXPECT_EQ(Flow.PageUp(9, 200), 3);
    EXPECT_EQ(Flow.PageUp(1, 200), 0); // from the first row, the first tile
    // A page smaller than a row still moves one row.
    EXPECT_EQ(Flow.PageDown(0, 10), 3);
    EXPECT_EQ(Flow.PageDown(5, 10000), 9); // the last row, then the last tile
}

TEST(TileNavigator, AnEmptyFlowAndAStartOutsideIt) {
    const TileNavigator empty(std::vector<QRect>{});
    EXPECT_EQ(empty.First(), -1);
    EXPECT_EQ(empty.Last(), -1);
    EXPECT_EQ(empty.Down(-1), -1);
    EXPECT_EQ(Flow.Down(-1), 0); // no tile focused yet: the first
}
