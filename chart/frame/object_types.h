// The object types a graph's list holds: record sizes and names.
#pragma once

namespace lmc32 {

namespace ObjectType {
inline constexpr int Curve = 1, Group = 2, Legend = 3, Line = 4, Arrow = 5, Axis = 10, Labels = 11, Text = 12,
                     Arc = 13, PieChart = 20, Metafile = 21, Ellipse = 22, Bitmap = 23, Polygon = 24, Rect = 25,
                     Pie = 26, DataCursor = 27, ContourData = 30;
}

inline constexpr int kTempObjectHandle = 32001;
inline constexpr int kObjectSlotGrowth = 20;

// Record size of a type; 0 for a type this library does not know.
int ObjectTypeSize(int type);

// A present object's size: legends and pie charts grow beyond 2 items and
// 3 slices.
int ObjectSize(int type, int legendItems, int pieSlices);

// String table entry of the type's name: 192 + type, 124 + type from 100.
int ObjectTypeNameId(int type);

}  // namespace lmc32
