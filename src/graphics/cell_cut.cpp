#include "graphics/blitter.h"

bool CutCell(const BitmapFile* file, int32_t width, int32_t height, int32_t cx, int32_t cy,
             int32_t mode, CellCut* cut) {
    if (file == nullptr || file->pixels == nullptr || cut == nullptr) return false;
    if (file->infoHeader.biBitCount != 8) return false;
    const int64_t fileWidth = file->infoHeader.biWidth;
    const int64_t fileHeight = file->infoHeader.biHeight;
    if (fileWidth <= 0 || fileHeight <= 0 || width <= 0 || height <= 0) return false;

    int64_t column = cx;
    int64_t row = cy;
    if (mode == 0) {
        column = static_cast<int64_t>(cx) * (width + 1) + 1;
        row = static_cast<int64_t>(cy) * (height + 1) + 1;
    }
    // Intersect [column, column + width) x [row, row + height) with the file.
    const int64_t left = column < 0 ? 0 : column;
    const int64_t top = row < 0 ? 0 : row;
    const int64_t right = column + width < fileWidth ? column + width : fileWidth;
    const int64_t bottom = row + height < fileHeight ? row + height : fileHeight;
    if (left >= right || top >= bottom) return false;

    cut->sourceColumn = static_cast<int32_t>(left);
    cut->sourceRow = static_cast<int32_t>(top);
    cut->column = static_cast<int32_t>(left - column);
    cut->row = static_cast<int32_t>(top - row);
    cut->columns = static_cast<int32_t>(right - left);
    cut->rows = static_cast<int32_t>(bottom - top);
    return true;
}
