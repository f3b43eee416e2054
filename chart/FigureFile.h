#pragma once

#include <string>

class QGraphicsScene;

// Draws the scene's rectangle (0, 0, width, height) to path as PNG or SVG, by its extension,
// written whole. The path and size are those ChartFileProblem accepts. false with a one-line
// reason when it cannot.
bool WriteFigureFile(QGraphicsScene& scene, const std::string& path, int width, int height,
                     std::string& error);
