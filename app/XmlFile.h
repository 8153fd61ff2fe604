#pragma once

#include <string>

class TiXmlDocument;

// Reads a small XML data file (hit boxes, tunables, requirements, saves)
// into `document`, guarding the XML parser against what it handles badly:
// files above `maxBytes`, directories, truncated UTF-8 sequences (it reads
// past the end of the text on them) and absurd nesting. False when the file
// cannot be read or is not well-formed; `error` (when given) then says why.
// A document without a root element counts as not well-formed.
bool LoadXmlFile(const std::string& path, TiXmlDocument& document, std::string* error = nullptr,
                 std::size_t maxBytes = 16u << 20);

// Reads a whole regular file of at most `maxBytes` into `text`.
bool ReadSmallFile(const std::string& path, std::string& text, std::string* error = nullptr,
                   std::size_t maxBytes = 16u << 20);

// The same checks for text in memory.
bool ParseXmlText(const std::string& text, TiXmlDocument& document, std::string* error = nullptr);
