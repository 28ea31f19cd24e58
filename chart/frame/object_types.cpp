#include "object_types.h"

namespace lmc32 {

int ObjectTypeSize(int type) {
    struct Entry {
        int type;
        int size;
    };
    static constexpr Entry kSizes[] = {
        {ObjectType::Curve, 624},     {ObjectType::Group, 3720},   {ObjectType::Legend, 17776},
        {ObjectType::Line, 144},      {ObjectType::Arrow, 176},    {ObjectType::Axis, 304},
        {ObjectType::Labels, 568},    {ObjectType::Text, 2384},    {ObjectType::Arc, 208},
        {ObjectType::PieChart, 728},  {ObjectType::Metafile, 344}, {ObjectType::Ellipse, 144},
        {ObjectType::Bitmap, 312},    {ObjectType::Polygon, 144},  {ObjectType::Rect, 144},
        {ObjectType::Pie, 208},       {ObjectType::DataCursor, 192}, {ObjectType::ContourData, 160},
    };
    for (const Entry& e : kSizes)
        if (e.type == type) return e.size;
    return 0;
}

int ObjectSize(int type, int legendItems, int pieSlices) {
    int size = ObjectTypeSize(type);
    if (type == ObjectType::Legend && legendItems > 2) size += 88 * (legendItems - 2);
    if (type == ObjectType::PieChart && pieSlices > 3) size += 144 * (pieSlices - 3);
    return size;
}

int ObjectTypeNameId(int type) { return type < 100 ? 192 + type : 124 + type; }

}  // namespace lmc32
