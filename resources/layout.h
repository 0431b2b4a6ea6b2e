// The window layout: design-time bounds, control sizes, fonts, and the layout defaults that
// apply when the settings file supplies none.
#pragma once

namespace layout {

// Form resource bounds, kept when showing stops before the layout is applied.
inline constexpr int kDesignLeft = 194;
inline constexpr int kDesignTop = 103;
inline constexpr int kDesignWidth = 580;
inline constexpr int kDesignHeight = 468;

// Defaults of the persisted layout.
inline constexpr int kDefaultLeft = 50;
inline constexpr int kDefaultTop = 50;
inline constexpr int kDefaultWidth = 500;
inline constexpr int kDefaultHeight = 350;
inline constexpr int kDefaultPanelWidth = 200;
inline constexpr int kDefaultColumnWidths[5] = {120, 80, 50, 50, 50};

// Controls.
inline constexpr int kPanel1DesignWidth = 160;
inline constexpr int kPanel2Height = 19;
inline constexpr int kEdit1Height = 20;
inline constexpr int kBevelWidth = 1;
inline constexpr int kSplitterWidth = 3;
inline constexpr int kSplitterMinSize = 30;
inline constexpr int kStatusBarHeight = 19;
inline constexpr int kTreeIndent = 19;
inline constexpr int kGridColumns = 5;
inline constexpr int kGridInitialRows = 5;
inline constexpr int kGridInitialColumnWidth = 64;
inline constexpr int kGridRowHeight = 24;
inline constexpr int kGridLineWidth = 0;
inline constexpr int kGridTextInset = 2;
// Column-resize grab zone around a border, in pixels left and right of it.
inline constexpr int kGrabLeft = 3;
inline constexpr int kGrabRight = 4;

// Fonts: face names are code-page 932; heights are character heights (negative lfHeight).
inline constexpr char kFormFontFace[] = "ＭＳ Ｐゴシック";
inline constexpr int kFormFontHeight = 12;
inline constexpr char kGridFontFace[] = "ＭＳ ゴシック";
inline constexpr int kGridFontHeight = 13;

}  // namespace layout
