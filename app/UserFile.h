#pragma once

#include <tinyxml.h>

#include <functional>
#include <string>

// An XML file the game writes for the player (profile, statistics,
// options), as reading it found it.
struct UserXmlFile {
  enum class State { Missing, Damaged, Read };

  State state = State::Missing;
  TiXmlDocument document;
  bool byteOrderMark = false;
  std::string bytes;    // the file as it is on disk
  std::string problem;  // why it counts as damaged
};

// Missing covers a missing folder too. Anything that exists and cannot be
// read or parsed (a directory, bad XML, no root) is damaged.
void ReadUserXmlFile(const std::string& path, UserXmlFile& file);

// The bytes TinyXML's printer makes of the document, as the file holds them.
std::string PrintXmlDocument(const TiXmlDocument& document, bool byteOrderMark);

// Moves a damaged file aside as "<path>.damaged-<UTC time>" (a name no
// earlier copy has), so the player's data is never silently overwritten.
// False, with errno set, when it cannot be moved; `kept` is the new name.
bool KeepDamagedFile(const std::string& path, std::string& kept);

// Creates the file's folder and replaces the file atomically. False, with the
// reason in `error`, when either fails.
bool WriteUserFile(const std::string& path, const std::string& bytes, std::string& error);

// How ReadUserFile found a file.
enum class UserFileResult {
  Missing,
  Read,
  DamagedMoved,    // reported and moved aside: a new file may be written
  DamagedInPlace,  // reported, could not be moved: must not be written over
};

// Reads a file the game keeps for the player and hands its document to
// `parse`, which says (with a reason) whether it is what it should be.
// Damaged files are reported as "The <what> <path> is damaged (<reason>)"
// and moved aside with KeepDamagedFile.
UserFileResult ReadUserFile(
    const std::string& path, const std::string& what,
    const std::function<bool(const TiXmlDocument& document, std::string& problem)>& parse);
