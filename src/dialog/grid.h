// The dialog's grids as plain models: rows and columns of text read and written through a
// current cell, a header row, column widths and alignment. Backends only draw them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wendrel {

class Grid {
 public:
  explicit Grid(std::int32_t width) : width_(width) {}

  std::int32_t Width() const { return width_; }
  int Rows() const { return rows_; }
  int Cols() const { return cols_; }
  int FixedRows() const { return fixedRows_; }
  int FixedCols() const { return fixedCols_; }
  int Row() const { return row_; }
  int Col() const { return col_; }

  // Growing keeps every cell; shrinking drops the cells outside.
  void SetRows(int rows);
  void SetCols(int cols);
  void SetFixedRows(int fixedRows) { fixedRows_ = fixedRows; }
  void SetFixedCols(int fixedCols) { fixedCols_ = fixedCols; }
  // A row or column outside the grid throws std::out_of_range.
  void SetRow(int row);
  void SetCol(int col);

  const std::string& Text() const;
  void SetText(const std::string& text);
  // Reads a cell without moving the current cell.
  const std::string& Cell(int row, int col) const;

  std::int32_t ColWidth(int col) const { return colWidths_.at(static_cast<size_t>(col)); }
  void SetColWidth(int col, std::int32_t width) { colWidths_.at(static_cast<size_t>(col)) = width; }
  int ColAlignment(int col) const { return colAlignment_.at(static_cast<size_t>(col)); }
  void SetColAlignment(int col, int alignment) { colAlignment_.at(static_cast<size_t>(col)) = alignment; }

 private:
  std::int32_t width_;
  int rows_ = 0;
  int cols_ = 0;
  int fixedRows_ = 0;
  int fixedCols_ = 0;
  int row_ = 0;
  int col_ = 0;
  std::vector<std::vector<std::string>> cells_;
  std::vector<std::int32_t> colWidths_;
  std::vector<int> colAlignment_;
};

void SetCellText(Grid& grid, std::int32_t row, std::int32_t col, const std::string& text);
// Reads a cell through the current cell, which moves there.
const std::string& CellText(Grid& grid, std::int32_t row, std::int32_t col);
void SetColWidthPercent(Grid& grid, std::int32_t col, std::int32_t percent);
void SetColAlignment(Grid& grid, std::int32_t col, const std::string& code);

}  // namespace wendrel
