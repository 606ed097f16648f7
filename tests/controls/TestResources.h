// Resource ids of the bitmaps linked into the controls tests.
#pragma once

#define IDB_TEST_SHAPE_CORNERS 201
#define IDB_TEST_SHAPE_WHITE 202
#define IDB_TEST_OVERLAY 210
#define IDB_TEST_OVERLAY_SMALL 211
#define IDB_TEST_NORMAL 220
#define IDB_TEST_HOVER 221
#define IDB_TEST_PRESSED 222
