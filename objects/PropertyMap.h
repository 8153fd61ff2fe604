#pragma once

#include <map>
#include <string>

// The string properties a level designer gave a map object, by name.
using PropertyMap = std::map<std::string, std::string>;

// 0 when the key is absent or its value does not start with an integer
// ("0.5" gives 0).
int GetIntProperty(const PropertyMap& properties, const std::string& key);

// 0.0 when the key is absent or its value does not start with a finite
// number: designers type these, and "nan" or "inf" would poison positions
// and timers.
double GetDoubleProperty(const PropertyMap& properties, const std::string& key);

void SetProperty(PropertyMap& properties, const std::string& key, const std::string& value);

// A setting with a default: the default when the property reads as 0 (so a
// setting cannot be set to 0), otherwise its full value.
double GetDoubleProperty(const PropertyMap& properties, const std::string& key, double fallback);
// As above, but the test for 0 reads the property as an integer, so values
// below 1 (such as 0.5) give the default too.
double GetDoublePropertyIntTested(const PropertyMap& properties, const std::string& key,
                                  double fallback);
