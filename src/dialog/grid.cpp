#include "dialog/grid.h"

#include <algorithm>
#include <stdexcept>

#include "platform/types.h"

namespace wendrel {

void Grid::SetRows(int rows) {
  rows_ = std::max(rows, 0);
  cells_.resize(static_cast<size_t>(rows_), std::vector<std::string>(static_cast<size_t>(cols_)));
  if (row_ >= rows_) row_ = std::max(rows_ - 1, 0);
}

void Grid::SetCols(int cols) {
  cols_ = std::max(cols, 0);
  for (auto& row : cells_) row.resize(static_cast<size_t>(cols_));
  colWidths_.resize(static_cast<size_t>(cols_), 0);
  colAlignment_.resize(static_cast<size_t>(cols_), 0);
  if (col_ >= cols_) col_ = std::max(cols_ - 1, 0);
}

void Grid::SetRow(int row) {
  if (row < 0 || row >= rows_) throw std::out_of_range("Subscript out of range");
  row_ = row;
}

void Grid::SetCol(int col) {
  if (col < 0 || col >= cols_) throw std::out_of_range("Subscript out of range");
  col_ = col;
}

const std::string& Grid::Text() const { return Cell(row_, col_); }

void Grid::SetText(const std::string& text) {
  Cell(row_, col_);
  cells_[static_cast<size_t>(row_)][static_cast<size_t>(col_)] = text;
}

const std::string& Grid::Cell(int row, int col) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) throw std::out_of_range("Subscript out of range");
  return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void SetCellText(Grid& grid, std::int32_t row, std::int32_t col, const std::string& text) {
  grid.SetRow(row);
  grid.SetCol(col);
  grid.SetText(text);
}

const std::string& CellText(Grid& grid, std::int32_t row, std::int32_t col) {
  grid.SetRow(row);
  grid.SetCol(col);
  return grid.Text();
}

void SetColWidthPercent(Grid& grid, std::int32_t col, std::int32_t percent) {
  grid.SetColWidth(col, RoundHalfEven(static_cast<double>(grid.Width() - 200) * percent / 100.0));
}

void SetColAlignment(Grid& grid, std::int32_t col, const std::string& code) {
  grid.SetColAlignment(col, std::stoi(code));
}

}  // namespace wendrel
