#pragma once

#include <string>

// Qt Charts draws only inside a QApplication, on its thread. The window has one; for a program
// without one (orvel-batch) the first chart creates one on the offscreen platform, which needs no
// display. false, with the reason, when charts cannot be drawn here.
bool EnsureChartApplication(std::string& error);
