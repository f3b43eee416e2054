#pragma once

// A rectangle of screen pixels.
struct ScreenRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const ScreenRect&) const = default;
};

// Where a window that wants `wanted` goes on a screen whose free area is `available`: where it
// wants if it fits there, else moved the least to fit, and cut to the free area when larger.
ScreenRect PlaceWindow(const ScreenRect& wanted, const ScreenRect& available);
