#include "objects/PropertyMap.h"

#include "app/NumberText.h"

int GetIntProperty(const PropertyMap& properties, const std::string& key) {
  auto found = properties.find(key);
  int value = 0;
  if (found == properties.end() || !ParseLeadingInt(found->second, value)) return 0;
  return value;
}

double GetDoubleProperty(const PropertyMap& properties, const std::string& key) {
  auto found = properties.find(key);
  double value = 0.0;
  if (found == properties.end() || !ParseLeadingDouble(found->second, value)) return 0.0;
  return value;
}

void SetProperty(PropertyMap& properties, const std::string& key, const std::string& value) {
  properties[key] = value;
}

double GetDoubleProperty(const PropertyMap& properties, const std::string& key, double fallback) {
  double value = GetDoubleProperty(properties, key);
  return value == 0.0 ? fallback : value;
}

double GetDoublePropertyIntTested(const PropertyMap& properties, const std::string& key,
                                  double fallback) {
  if (GetIntProperty(properties, key) == 0) return fallback;
  // "1e999" reads as 1 but is no finite number.
  return GetDoubleProperty(properties, key, fallback);
}
