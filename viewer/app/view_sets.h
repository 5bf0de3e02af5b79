#pragma once
// The splitter's decisions: which three views each screen kind shows, the
// order in which a switch changes the rows, the rows' heights and when a new
// layout reaches every view.  The window side (panes, view windows) is the
// ViewSurface port; tests use a fake.

#include <array>
#include <cstdint>
#include <optional>

#include "app/screen_decision.h"
#include "views/layout/display_layout.h"

namespace app {

// The 19 views, in their order of creation.
enum class ViewSlot : int32_t {
  Caption,
  Blank,
  Play,
  Error4,
  Error5,
  Error6,
  Error7,
  Error8,
  Error9,
  Error10,
  PlayController,
  ErrorController4,
  ErrorController5,
  ErrorController6,
  ErrorController7,
  ErrorController8,
  ErrorController9,
  ErrorController10,
  BlankController,
};
inline constexpr int32_t kViewCount = 19;

enum class Row : int32_t { Caption = 0, Display = 1, Controller = 2 };

// A view hidden in its pane carries this id plus its set's kind; the shown
// one the pane's first-view id.
inline constexpr uint32_t kFirstViewId = 0xE900;
inline constexpr uint32_t kHiddenViewIdBase = 0xE901;

struct ViewSet {
  ViewSlot display;
  ViewSlot controller;
  ViewSlot caption;
  friend bool operator==(const ViewSet&, const ViewSet&) = default;
};

// The set of a kind; kinds without a set of their own (0 and anything out
// of range) get the default set, which shares the Abnormal views.
[[nodiscard]] ViewSet ViewSetOf(int32_t kind);
// True for kinds 1 to 10, which have a set of their own.
[[nodiscard]] bool HasOwnSet(int32_t kind);
// A switch away from a set is allowed to these kinds (every set: all).
[[nodiscard]] bool SwitchAllowed(int32_t from, int32_t to);
// The kind whose id a hidden view carries: the highest kind whose set holds it.
[[nodiscard]] int32_t HighestKindOf(ViewSlot slot);

struct RowHeights {
  int32_t caption = 0;
  int32_t display = 0;
  friend bool operator==(const RowHeights&, const RowHeights&) = default;
};

// Caption and display rows for a splitter client height; the controller row
// keeps the rest.  Nothing for a client height of 0 or less.
[[nodiscard]] std::optional<RowHeights> ComputeRowHeights(int32_t clientHeight,
                                                          const views::DisplayLayout& layout);

// What the switcher does to the windows.
class ViewSurface {
 public:
  virtual ~ViewSurface() = default;
  // False for a view whose window is missing: every step skips it.
  [[nodiscard]] virtual bool Exists(ViewSlot view) const = 0;
  virtual void SetLayout(ViewSlot view, const views::DisplayLayout& layout) = 0;
  // Make it the frame's active view and call its ActivatePane.
  virtual void Activate(Row row, ViewSlot view) = 0;
  virtual void Hide(ViewSlot view, uint32_t controlId) = 0;
  virtual void ShowCloseButton(ViewSlot caption, bool show) = 0;
  [[nodiscard]] virtual int32_t ClientHeight() const = 0;
  [[nodiscard]] virtual RowHeights CurrentRows() const = 0;
  // Sets the rows and recalculates the layout.
  virtual void SetRows(const RowHeights& rows) = 0;
};

class ViewSwitcher {
 public:
  explicit ViewSwitcher(ViewSurface& surface) : surface_(surface) { layout_.zoom = 1.0; }

  // At creation: every view hidden under the id of its highest kind.
  void HideAll();
  // True when switched (with these sets always).
  bool Switch(int32_t kind);
  void Relayout(const views::DisplayLayout& layout);
  // After a size change of the splitter, and after a relayout that changed
  // the display.
  void UpdateRows();

  [[nodiscard]] int32_t CurrentKind() const { return current_; }
  [[nodiscard]] ViewSet Shown() const { return ViewSetOf(current_); }
  [[nodiscard]] const views::DisplayLayout& Layout() const { return layout_; }

 private:
  ViewSurface& surface_;
  int32_t current_ = 0;
  views::DisplayLayout layout_{};
};

}  // namespace app
