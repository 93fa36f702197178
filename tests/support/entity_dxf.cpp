#include "support/entity_dxf.h"

#include <gmock/gmock.h>

#include <cmath>
#include <cstdio>
#include <sstream>

#include "host/journal.h"
#include "support/frame_text.h"

namespace drawport::testing {
namespace {

std::string number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// Keeps the first three and the last two points of a long polyline line.
std::string abridged(const std::string& line) {
  std::vector<std::string> tokens;
  std::istringstream words(line);
  for (std::string word; words >> word;) tokens.push_back(word);
  std::vector<size_t> points;
  for (size_t i = 0; i < tokens.size(); ++i)
    if (tokens[i][0] == '(') points.push_back(i);
  if (points.size() <= 8) return line;
  std::string text;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const bool isPoint = tokens[i][0] == '(';
    if (isPoint && i > points[2] && i < points[points.size() - 2]) {
      if (i == points[3]) text += " ..." + std::to_string(points.size());
      continue;
    }
    text += (text.empty() ? "" : " ") + tokens[i];
  }
  return text;
}

}  // namespace

Group::Group(int code, double value) : code(std::to_string(code)), value(number(value)) {}

std::string groups(std::initializer_list<Group> groups) {
  std::string text;
  for (const Group& group : groups) text += group.code + "\n" + group.value + "\n";
  return text;
}

std::string entity(const std::string& name, std::initializer_list<Group> entityGroups) {
  return "  0\n" + name + "\n" + groups(entityGroups);
}

std::string headerSection(const std::string& variables) {
  return "  0\nSECTION\n  2\nHEADER\n" + variables + "  0\nENDSEC\n";
}

std::string headerPoint(const std::string& name, double x, double y) {
  return "  9\n" + name + "\n 10\n" + number(x) + "\n 20\n" + number(y) + "\n 30\n0.0\n";
}

std::string ucsHeader(double x, double y) {
  return headerSection(headerPoint("$UCSXDIR", x, y) + headerPoint("$UCSYDIR", -y, x));
}

std::string layer(const std::string& name, int colour) {
  return "  0\nLAYER\n  2\n" + name + "\n 70\n0\n 62\n" + std::to_string(colour) + "\n  6\nCONTINUOUS\n";
}

std::string layerWithoutColour(const std::string& name) { return "  0\nLAYER\n  2\n" + name + "\n 70\n0\n"; }

std::string layerTables(const std::string& layers) {
  return "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n1\n" + layers + "  0\nENDTAB\n  0\nENDSEC\n";
}

std::string polyline(const std::vector<Vertex>& vertices, std::initializer_list<Group> polylineGroups) {
  std::string text = "  0\nPOLYLINE\n" + groups(polylineGroups) + " 66\n1\n";
  for (const Vertex& v : vertices)
    text += "  0\nVERTEX\n  8\n0\n 10\n" + number(v.x) + "\n 20\n" + number(v.y) + "\n 30\n" + number(v.z) + "\n";
  return text + "  0\nSEQEND\n";
}

std::vector<Vertex> numberedVertices(int count) {
  std::vector<Vertex> vertices;
  for (int i = 1; i <= count; ++i) vertices.push_back({double(i), 2.0 * i, double(i)});
  return vertices;
}

std::string roundNumbers(const std::string& text) {
  auto isDigit = [&](size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
  auto skipDigits = [&](size_t i) {
    while (isDigit(i)) ++i;
    return i;
  };
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const bool negative = text[i] == '-' && isDigit(i + 1);
    if (!negative && !isDigit(i)) {
      out += text[i++];
      continue;
    }
    // -?\d+(\.\d+)?(e[-+]?\d+)?
    size_t end = skipDigits(negative ? i + 1 : i);
    if (end < text.size() && text[end] == '.' && isDigit(end + 1)) end = skipDigits(end + 1);
    if (end < text.size() && text[end] == 'e') {
      const size_t sign = end + 1 < text.size() && (text[end + 1] == '-' || text[end + 1] == '+') ? end + 2 : end + 1;
      if (isDigit(sign)) end = skipDigits(sign);
    }
    double value = std::round(std::stod(text.substr(i, end - i)) * 1e9) / 1e9;
    if (value == 0) value = 0;  // no "-0"
    out += orvhost::formatNumber(value);
    i = end;
  }
  return out;
}

std::string roundedObjects(const orvhost::Frame& frame) {
  std::string text;
  for (const orvhost::FrameObject& object : frame.objects())
    text += abridged(roundNumbers(renderObject(frame, object))) + "\n";
  return text;
}

double generationDegrees(bool olderGeneration, double angle) {
  return olderGeneration ? angle * 360 * 0.15915494309189535 : angle * 360 / 6.283185307179586;
}

double generationPointRadius(bool olderGeneration, double width, double height) {
  return olderGeneration ? std::sqrt(width * width + height * height) * 0.0001
                         : std::sqrt(width * width + height * height) / 10000.0;
}

int countLines(const std::string& journalText, const std::string& prefix) {
  int count = 0;
  std::istringstream lines(journalText);
  for (std::string line; std::getline(lines, line);)
    if (line.compare(0, prefix.size(), prefix) == 0) ++count;
  return count;
}

void EntityTest::restart() {
  session().end();
  EXPECT_THAT(host().violations(), ::testing::IsEmpty()) << "the add-on broke the host's rules";
  start();
}

void PrintTo(const DrawingCase& c, std::ostream* os) { *os << c.what; }

std::string EntityTest::imported(const std::string& dxf, const std::string& flags) {
  const orvhost::MacroOutcome outcome = importText(dxf, flags);
  EXPECT_EQ(outcome.result, true) << messages();
  EXPECT_EQ(messages(), "");
  return drawn();
}

}  // namespace drawport::testing
