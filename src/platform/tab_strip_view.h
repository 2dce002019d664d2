// The drawn tab strip: mirrors the core's tab model and reports each tab's rectangle.
#pragma once

#include <string>

#include "platform/types.h"

namespace wendrel {

class ITabStripView {
 public:
  ITabStripView() = default;
  ITabStripView(const ITabStripView&) = delete;
  ITabStripView& operator=(const ITabStripView&) = delete;
  virtual ~ITabStripView() = default;

  // Indices are 1-based, as the program's tabs are.
  virtual void InsertTab(int index) = 0;
  virtual void RemoveTab(int index) = 0;
  virtual void SetCaption(int index, const std::string& caption) = 0;
  virtual void SetToolTip(int index, const std::string& tip) = 0;
  // Marks the tab as selected without raising any click notice.
  virtual void SetSelected(int index) = 0;
  virtual void SetMultiRow(bool multiRow) = 0;
  // The tab's rectangle within the tab strip, in twips.
  virtual TabRect TabRectangle(int index) = 0;
};

}  // namespace wendrel
