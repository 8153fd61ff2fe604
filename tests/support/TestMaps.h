#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

// Small maps for tests, of 64-pixel tiles drawn from ASCII rows: '.' is air,
// anything else solid ground. `traps` is the XML of the objects of the
// "Traps" group. Writes the tileset picture "ground.png" into the working
// directory, where the map is to be written too.
std::string GridMap(const std::vector<std::string>& rows, const std::string& traps);

// One map object; a rectangle of the given size at (x, y).
std::string MapObject(const std::string& name, const std::string& type, float x, float y, int width,
                      int height, const std::map<std::string, std::string>& properties = {});

// A map object with a polyline, points relative to (x, y); no points gives
// a plain point object.
std::string PolylineObject(const std::string& name, float x, float y,
                           const std::vector<std::pair<float, float>>& points);
