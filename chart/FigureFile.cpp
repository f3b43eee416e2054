#include "FigureFile.h"

#include <QBuffer>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

#include "CourseChart.h"
#include "WholeFile.h"

namespace {
constexpr int kMinWidth = 200, kMinHeight = 150, kMaxSide = 8000;

enum class Format { Png, Svg, Unknown };

Format FormatOf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".png") return Format::Png;
  if (extension == ".svg") return Format::Svg;
  return Format::Unknown;
}

void Draw(QGraphicsScene& scene, QPaintDevice& device, int width, int height) {
  QPainter painter(&device);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  const QRectF area(0, 0, width, height);
  scene.render(&painter, area, area);
}

QByteArray PngBytes(QGraphicsScene& scene, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  Draw(scene, image, width, height);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) bytes.clear();
  return bytes;
}

// QSvgGenerator opens a group for every change of the painter's state, whether anything is drawn
// in it or not: in a figure of many items most groups are empty, and they were a third of a file.
QByteArray WithoutEmptyGroups(const QByteArray& svg) {
  const QRegularExpression empty("<g [^>]*>\\s*</g>\\s*");
  return QString::fromUtf8(svg).remove(empty).toUtf8();
}

QByteArray SvgBytes(QGraphicsScene& scene, int width, int height) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize({width, height});
  svg.setViewBox(QRect(0, 0, width, height));
  svg.setResolution(96);  // a CSS pixel, so that viewers show it at width x height
  svg.setTitle("BCM Orvel course");
  Draw(scene, svg, width, height);
  return WithoutEmptyGroups(bytes);
}
}  // namespace

std::string ChartShapeProblem(const std::string& path, int width, int height) {
  if (FormatOf(path) == Format::Unknown) {
    return path + ": a chart is written as .png or .svg";
  }
  if (width < kMinWidth || height < kMinHeight || width > kMaxSide || height > kMaxSide) {
    return "chart size " + std::to_string(width) + "x" + std::to_string(height) +
           " is outside 200x150 to 8000x8000";
  }
  return "";
}

std::string ChartFileProblem(const std::string& path, int width, int height) {
  if (std::string shape = ChartShapeProblem(path, width, height); !shape.empty()) return shape;
  const std::string problem = runtime::WholeFileProblem(path);
  return problem.empty() ? "" : path + ": " + problem;
}

bool WriteFigureFile(QGraphicsScene& scene, const std::string& path, int width, int height,
                     std::string& error) {
  const QByteArray bytes = FormatOf(path) == Format::Svg ? SvgBytes(scene, width, height)
                                                         : PngBytes(scene, width, height);
  if (bytes.isEmpty()) {
    error = path + ": the chart could not be encoded";
    return false;
  }
  if (runtime::WriteWholeFile(
          path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
          error)) {
    return true;
  }
  error = path + ": " + error;
  return false;
}
