#pragma once

#include "Bitmap.h"

// source scaled to exactly width x height, aspect ratio not kept: each target pixel is the mean
// of the source pixels it covers.
Bitmap Stretch(const Bitmap& source, int width, int height);
