#pragma once

#include "Layout.h"

// The main window as stored: every property and control, in creation order.
const FormLayout& MainWindowLayout();
