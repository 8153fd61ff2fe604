#pragma once

#include <memory>
#include <string>

class CMovableObject;

// The level object for a map object's type (compared exactly); any type
// the table does not know, the empty one included, gives a plain
// CMovableObject, which other code finds by type or name as a marker.
std::unique_ptr<CMovableObject> CreateObjectOfType(const std::string& type);
