#include "tests/support/TestMaps.h"

#include "platform/DecodedImage.h"

namespace {

std::string Attribute(const std::string& text) {
  std::string escaped;
  for (char c : text)
    escaped += c == '"' ? std::string("&quot;") : c == '&' ? "&amp;" : std::string(1, c);
  return escaped;
}

std::string Number(float value) {
  std::string text = std::to_string(value);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

}  // namespace

std::string GridMap(const std::vector<std::string>& rows, const std::string& traps) {
  CDecodedImage::Filled(64, 64, 0xff303030)->SavePng("ground.png");
  const std::size_t width = rows.empty() ? 0 : rows[0].size();
  std::string cells;
  for (const std::string& row : rows) {
    for (std::size_t x = 0; x < width; ++x) {
      if (!cells.empty()) cells += ',';
      cells += x < row.size() && row[x] != '.' ? '1' : '0';
    }
  }
  const std::string w = std::to_string(width);
  const std::string h = std::to_string(rows.size());
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\"" +
         w + "\" height=\"" + h +
         "\" tilewidth=\"64\" tileheight=\"64\">\n"
         "<tileset firstgid=\"1\" name=\"ground\" tilewidth=\"64\" tileheight=\"64\">"
         "<image source=\"ground.png\" width=\"64\" height=\"64\"/></tileset>\n"
         "<layer name=\"RunPlane\" width=\"" +
         w + "\" height=\"" + h + "\"><data encoding=\"csv\">" + cells +
         "</data></layer>\n<objectgroup name=\"Traps\">" + traps + "</objectgroup>\n</map>\n";
}

std::string MapObject(const std::string& name, const std::string& type, float x, float y, int width,
                      int height, const std::map<std::string, std::string>& properties) {
  static int id = 0;
  std::string text = "<object id=\"" + std::to_string(++id) + "\" name=\"" + Attribute(name) +
                     "\" type=\"" + Attribute(type) + "\" x=\"" + Number(x) + "\" y=\"" +
                     Number(y) + "\" width=\"" + std::to_string(width) + "\" height=\"" +
                     std::to_string(height) + "\">";
  if (!properties.empty()) {
    text += "<properties>";
    for (const auto& [key, value] : properties)
      text += "<property name=\"" + Attribute(key) + "\" value=\"" + Attribute(value) + "\"/>";
    text += "</properties>";
  }
  return text + "</object>";
}

std::string PolylineObject(const std::string& name, float x, float y,
                           const std::vector<std::pair<float, float>>& points) {
  std::string text = MapObject(name, "", x, y, 0, 0);
  if (points.empty()) return text;
  text.erase(text.size() - std::string("</object>").size());
  text += "<polyline points=\"";
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i) text += ' ';
    text += Number(points[i].first);
    text += ',';
    text += Number(points[i].second);
  }
  return text + "\"/></object>";
}
