#include "app/view_sets.h"

#include <algorithm>

namespace app {
namespace {

constexpr std::array<int32_t, 11> kAllowedKinds{0, 1, 2, 3, 4, 5, 10, 6, 7, 8, 9};

ViewSlot ErrorView(int32_t kind) {
  return static_cast<ViewSlot>(static_cast<int32_t>(ViewSlot::Error4) + kind - 4);
}

ViewSlot ErrorController(int32_t kind) {
  return static_cast<ViewSlot>(static_cast<int32_t>(ViewSlot::ErrorController4) + kind - 4);
}

}  // namespace

bool HasOwnSet(int32_t kind) { return kind >= 1 && kind <= 10; }

ViewSet ViewSetOf(int32_t kind) {
  switch (kind) {
    case 1:
      return {ViewSlot::Blank, ViewSlot::BlankController, ViewSlot::Caption};
    case 2:
      return {ViewSlot::Play, ViewSlot::PlayController, ViewSlot::Caption};
    case 3:
      return {ViewSlot::Play, ViewSlot::BlankController, ViewSlot::Caption};
    default:
      if (HasOwnSet(kind)) return {ErrorView(kind), ErrorController(kind), ViewSlot::Caption};
      return {ErrorView(8), ErrorController(8), ViewSlot::Caption};
  }
}

bool SwitchAllowed(int32_t from, int32_t to) {
  // Every set carries the same list; a kind outside it is never switched to.
  (void)from;
  return std::find(kAllowedKinds.begin(), kAllowedKinds.end(), to) != kAllowedKinds.end();
}

int32_t HighestKindOf(ViewSlot slot) {
  for (int32_t kind = 10; kind >= 1; --kind) {
    const ViewSet set = ViewSetOf(kind);
    if (set.display == slot || set.controller == slot || set.caption == slot) return kind;
  }
  return 0;
}

std::optional<RowHeights> ComputeRowHeights(int32_t clientHeight, const views::DisplayLayout& layout) {
  if (clientHeight <= 0) return std::nullopt;
  const int32_t bar = views::ScaleToDisplay(200, layout);
  const int32_t caption = views::ScaleToDisplay(70, layout);
  // Both are small positive numbers for any real display; compare in 64
  // bits so an absurd display cannot overflow the sum.
  if (static_cast<int64_t>(clientHeight) >= static_cast<int64_t>(bar) + caption) {
    RowHeights rows;
    rows.caption = layout.fullScreen != 0 ? caption : 0;
    rows.display = clientHeight - rows.caption - bar;
    return rows;
  }
  return RowHeights{0, clientHeight};
}

void ViewSwitcher::HideAll() {
  for (int32_t i = 0; i < kViewCount; ++i) {
    const auto slot = static_cast<ViewSlot>(i);
    if (surface_.Exists(slot))
      surface_.Hide(slot, kHiddenViewIdBase + static_cast<uint32_t>(HighestKindOf(slot)));
  }
}

bool ViewSwitcher::Switch(int32_t kind) {
  if (!SwitchAllowed(current_, kind)) return false;
  const ViewSet old = ViewSetOf(current_);
  const ViewSet next = ViewSetOf(kind);
  for (ViewSlot view : {next.display, next.controller, next.caption}) {
    if (surface_.Exists(view)) surface_.SetLayout(view, layout_);
  }
  const std::array<std::pair<Row, std::pair<ViewSlot, ViewSlot>>, 3> rows{{
      {Row::Caption, {old.caption, next.caption}},
      {Row::Display, {old.display, next.display}},
      {Row::Controller, {old.controller, next.controller}},
  }};
  for (const auto& [row, views] : rows) {
    const auto [before, after] = views;
    if (surface_.Exists(after)) surface_.Activate(row, after);
    // A view in both sets stays on screen: Play to PlayBarHidden keeps the picture.
    if (before != after && surface_.Exists(before)) {
      surface_.Hide(before, kHiddenViewIdBase + static_cast<uint32_t>(current_));
    }
  }
  if (surface_.Exists(next.caption)) {
    const bool bare = kind == static_cast<int32_t>(ScreenKind::Blank) ||
                      kind == static_cast<int32_t>(ScreenKind::PlayBarHidden);
    surface_.ShowCloseButton(next.caption, !bare);
  }
  current_ = kind;
  return true;
}

void ViewSwitcher::Relayout(const views::DisplayLayout& layout) {
  const bool changed = views::PlacementChanged(layout_, layout);
  layout_ = layout;
  if (changed) {
    UpdateRows();
    for (int32_t kind = 1; kind <= 10; ++kind) {
      const ViewSet set = ViewSetOf(kind);
      for (ViewSlot view : {set.display, set.controller, set.caption}) {
        if (surface_.Exists(view)) surface_.SetLayout(view, layout_);
      }
    }
    return;
  }
  const ViewSet shown = Shown();
  for (ViewSlot view : {shown.display, shown.controller, shown.caption}) {
    if (surface_.Exists(view)) surface_.SetLayout(view, layout_);
  }
}

void ViewSwitcher::UpdateRows() {
  const auto rows = ComputeRowHeights(surface_.ClientHeight(), layout_);
  if (!rows || *rows == surface_.CurrentRows()) return;
  surface_.SetRows(*rows);
}

}  // namespace app
